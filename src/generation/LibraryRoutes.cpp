#include "generation/LibraryRoutes.h"

#include "generation/PodInstallation.h"
#include "generation/SecretsMerge.h"
#include "generation/Utf8TextFile.h"
#include "project/ProjectNameRules.h"

#include <QFileInfo>

#include <algorithm>

namespace plinth {

LibraryRoutes libraryRoutes(const ProjectDetailsModel &details, const LibraryPackages &catalog)
{
    LibraryRoutes routes;
    const bool packages = details.dependencyManager == DependencyManager::swiftPackageManager;
    const auto take = [&](const QString &pod) {
        const std::optional<LibraryPackage> package = packages ? catalog.forPod(pod) : std::nullopt;
        if (!package)
            return false;
        const bool listed = std::any_of(routes.packages.cbegin(), routes.packages.cend(),
                                        [&](const LibraryPackage &taken) { return taken.name == package->name; });
        if (!listed)
            routes.packages << *package;
        return true;
    };
    for (const QString &pod : podList(details)) {
        if (!take(pod))
            routes.pods << pod;
    }
    routes.awsPod = details.doesIncludeAWS && !take(QString::fromLatin1(awsPodName));
    routes.secretsPackages = secretsComeAsPackages(details);
    routes.secretsPods = details.doesIncludeArkana && !routes.secretsPackages;
    return routes;
}

namespace {

// The setting `key` of an existing project's own .arkana.yml.
std::optional<QString> projectArkanaSetting(const ProjectDetailsModel &details, const QString &key)
{
    if (details.projectType != ProjectType::existing)
        return std::nullopt;
    const std::optional<QString> text = readUtf8File(details.projectRoot() + QStringLiteral("/.arkana.yml"));
    return text ? arkanaSetting(*text, key) : std::nullopt;
}

} // namespace

bool secretsComeAsPackages(const ProjectDetailsModel &details)
{
    if (!details.doesIncludeArkana || details.dependencyManager != DependencyManager::swiftPackageManager)
        return false;
    if (details.projectType != ProjectType::existing
        || !QFileInfo::exists(details.projectRoot() + QStringLiteral("/.arkana.yml")))
        return details.projectType != ProjectType::none;
    return projectArkanaSetting(details, QStringLiteral("package_manager")) == QStringLiteral("spm");
}

QList<LocalPackage> arkanaSecretsPackages(const ProjectDetailsModel &details)
{
    QString folder = projectArkanaSetting(details, QStringLiteral("result_path")).value_or(QStringLiteral("Dependencies"));
    while (folder.endsWith(QLatin1Char('/')))
        folder.chop(1);
    const QString name = projectArkanaSetting(details, QStringLiteral("import_name"))
                             .value_or(swiftModuleName(details.projectName) + QStringLiteral("Secrets"));
    const QString interfaces = name + QStringLiteral("Interfaces");
    return {{folder + QLatin1Char('/') + name, name}, {folder + QLatin1Char('/') + interfaces, interfaces}};
}

} // namespace plinth
