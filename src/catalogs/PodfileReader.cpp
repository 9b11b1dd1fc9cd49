#include "catalogs/PodfileReader.h"

#include "app/base/ResourceBundle.h"
#include "app/base/TextCatalog.h"
#include "toolchain/CommandRunner.h"
#include "toolchain/ResourceScript.h"
#include "toolchain/ShellQuote.h"

#include <algorithm>

namespace plinth {

QString podfileListCommand(const QString &scriptPath, const QString &podfilePath, const QString &target)
{
    return QStringLiteral("ruby ") + shellArgument(scriptPath) + QStringLiteral(" list ") + shellArgument(podfilePath)
           + QLatin1Char(' ') + shellArgument(target);
}

PodfileListing parsePodfileListing(const ScriptResult &result)
{
    PodfileListing listing;
    if (result.exitCode != 0) {
        listing.error = result.output.trimmed();
        if (listing.error.isEmpty())
            listing.error = QStringLiteral("PodfileEditor.rb ended with status %1").arg(result.exitCode);
        return listing;
    }
    listing.read = true;
    for (const QString &line : result.output.split(QLatin1Char('\n'))) {
        const QStringList fields = line.split(QLatin1Char('\t'));
        if (fields.size() != 3 || fields.at(0).isEmpty()
            || (fields.at(1) != QLatin1String("own") && fields.at(1) != QLatin1String("inherited")))
            continue;
        listing.pods.append({fields.at(0), fields.at(1) == QLatin1String("own"), fields.at(2).trimmed()});
    }
    return listing;
}

PodfileListing listPodfilePods(const QString &podfilePath, const QString &target, const ResourceBundle &bundle,
                               const CommandRunner &runner)
{
    const QString script = scriptPath(bundle, ResourceScript::podfileEditor);
    if (script.isEmpty()) {
        PodfileListing missing;
        missing.error = QStringLiteral("PodfileEditor.rb is missing from the application's resources");
        return missing;
    }
    return parsePodfileListing(runner.executeScripts(podfileListCommand(script, podfilePath, target), TimeLimit::probe));
}

QList<ListItem> podfilePods(const QList<PodfilePod> &declared, const QList<ListItem> &catalog, bool isUIKitProject)
{
    QList<PodfilePod> pods;
    for (const PodfilePod &pod : declared) {
        const bool listed = std::any_of(pods.cbegin(), pods.cend(),
                                        [&pod](const PodfilePod &entry) { return entry.name == pod.name; });
        if (!pod.name.contains(QLatin1String("Secrets")) && !listed)
            pods << pod;
    }
    // "pod 'Alamofire', '~> 5.8'" shows "'~> 5.8'": what the Podfile asks of
    // the pod besides its name.
    // A pod the target only inherits stays whatever the screen says.
    const auto withOptions = [](QString description, const PodfilePod &pod) {
        const qsizetype comma = pod.declaration.indexOf(QLatin1Char(','));
        if (comma >= 0)
            description += QStringLiteral(" (") + pod.declaration.mid(comma + 1).trimmed() + QLatin1Char(')');
        if (!pod.own)
            description += QLatin1Char(' ') + text(key::podDeclaredOutsideTarget);
        return description;
    };

    QList<ListItem> items;
    for (const ListItem &entry : catalog) {
        const auto pod = std::find_if(pods.cbegin(), pods.cend(),
                                      [&entry](const PodfilePod &p) { return p.name == entry.title; });
        if (pod == pods.cend())
            continue;
        ListItem item = entry;
        item.description = withOptions(item.description, *pod);
        items.append(item);
    }
    for (const PodfilePod &pod : pods) {
        const bool inCatalog = std::any_of(catalog.cbegin(), catalog.cend(),
                                           [&pod](const ListItem &entry) { return entry.title == pod.name; });
        if (inCatalog)
            continue;
        ListItem item;
        item.title = pod.name;
        item.description = withOptions(text(key::descriptionNotFoundForPod, pod.name), pod);
        item.podType = PodType::preset;
        item.interface = isUIKitProject ? UIInterface::UIKit : UIInterface::swiftUi;
        items.append(item);
    }
    return items;
}

} // namespace plinth
