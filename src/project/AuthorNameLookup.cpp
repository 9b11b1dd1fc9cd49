#include "project/AuthorNameLookup.h"

#include "toolchain/CommandRunner.h"
#include "toolchain/ShellQuote.h"

#include <QRegularExpression>

#ifdef Q_OS_UNIX
#include <pwd.h>
#include <unistd.h>

#include <vector>
#endif

namespace plinth {

namespace {

// Line breaks, tabs and other control characters have no place in a name
// that ends up in generated file headers.
QString withoutControlCharacters(const QString &name)
{
    QString cleaned;
    cleaned.reserve(name.size());
    for (const QChar c : name) {
        if (c.category() != QChar::Other_Control)
            cleaned.append(c);
    }
    return cleaned.simplified();
}

// The rest of finger's "Name:" line, or an empty text without one.
QString nameFromFingerOutput(const QString &output)
{
    static const QRegularExpression nameLine(QStringLiteral("(?:^|\\s)Name:[ \\t]*([^\\r\\n]*)"),
                                             QRegularExpression::MultilineOption);
    const QRegularExpressionMatch match = nameLine.match(output);
    return match.hasMatch() ? withoutControlCharacters(match.captured(1)) : QString();
}

} // namespace

QString accountFullName()
{
#ifdef Q_OS_UNIX
    const long size = sysconf(_SC_GETPW_R_SIZE_MAX);
    std::vector<char> buffer(size > 0 ? static_cast<size_t>(size) : 16384);
    passwd entry{};
    passwd *found = nullptr;
    if (getpwuid_r(geteuid(), &entry, buffer.data(), buffer.size(), &found) != 0 || !found || !found->pw_gecos)
        return {};
    return withoutControlCharacters(QString::fromLocal8Bit(found->pw_gecos).section(QLatin1Char(','), 0, 0));
#else
    return {};
#endif
}

QString lookupAuthorName(const CommandRunner &runner)
{
    // Only the "Name:" field of finger's own output is taken; its complaints
    // (and the shell's, where there is no finger) go nowhere. "-m" matches the
    // login name only, not other users' real names.
    const QString login = currentLoginName();
    if (!login.isEmpty()) {
        const QString command = QStringLiteral("finger -m ") + shellArgument(login) + QStringLiteral(" 2>/dev/null");
        const QString name = nameFromFingerOutput(runner.executeCommand(command));
        if (!name.isEmpty())
            return name;
    }
    return accountFullName();
}

} // namespace plinth
