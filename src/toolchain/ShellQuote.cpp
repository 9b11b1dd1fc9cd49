#include "toolchain/ShellQuote.h"

#include <algorithm>

namespace plinth {

namespace {

bool isPlainCharacter(QChar c)
{
    if (c.unicode() >= 0x80)
        return false;
    return c.isLetterOrNumber() || QStringView(u"_@+:,./-").contains(c);
}

} // namespace

QString shellQuoted(const QString &value)
{
    QString quoted = value;
    quoted.replace(QLatin1Char('\''), QStringLiteral("'\\''"));
    return QLatin1Char('\'') + quoted + QLatin1Char('\'');
}

QString shellArgument(const QString &value)
{
    if (!value.isEmpty() && std::all_of(value.cbegin(), value.cend(), isPlainCharacter))
        return value;
    return shellQuoted(value);
}

} // namespace plinth
