#include "catalogs/PodfileReader.h"

#include <QRegularExpression>

namespace plinth {

QStringList podNames(const QString &podfileText)
{
    static const QString startMarker = QStringLiteral("# Default pods");
    static const QString endMarker = QStringLiteral("post_install");

    const qsizetype start = podfileText.indexOf(startMarker);
    const qsizetype end = podfileText.indexOf(endMarker);
    if (start < 0 || end < 0)
        return {};
    const qsizetype blockStart = start + startMarker.size();
    if (end <= blockStart)
        return {};

    static const QRegularExpression podPattern(QStringLiteral("\\bpod\\s+'([^']+)'"),
                                               QRegularExpression::UseUnicodePropertiesOption);
    if (!podPattern.isValid())
        return {};

    QStringList names;
    const QString block = podfileText.mid(blockStart, end - blockStart);
    for (auto it = podPattern.globalMatch(block); it.hasNext();)
        names << it.next().captured(1);
    return names;
}

} // namespace plinth
