#include "catalogs/PodfileReader.h"

#include "app/TextCatalog.h"

#include <QRegularExpression>

#include <algorithm>

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

QList<ListItem> podfilePods(const QString &podfileText, const QList<ListItem> &catalog, bool isUIKitProject)
{
    QStringList names;
    for (const QString &name : podNames(podfileText)) {
        if (!name.contains(QLatin1String("Secrets")) && !names.contains(name))
            names << name;
    }

    QList<ListItem> pods;
    for (const ListItem &entry : catalog) {
        if (names.contains(entry.title))
            pods.append(entry);
    }
    const qsizetype fromCatalog = pods.size();
    for (const QString &name : names) {
        const bool inCatalog = std::any_of(pods.cbegin(), pods.cbegin() + fromCatalog,
                                           [&name](const ListItem &entry) { return entry.title == name; });
        if (inCatalog)
            continue;
        ListItem pod;
        pod.title = name;
        pod.description = text(key::descriptionNotFoundForPod, name);
        pod.podType = PodType::preset;
        pod.interface = isUIKitProject ? UIInterface::UIKit : UIInterface::swiftUi;
        pods.append(pod);
    }
    return pods;
}

} // namespace plinth
