#include "generation/LibraryRoutes.h"

#include "generation/PodInstallation.h"
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

DependencyManager defaultDependencyManager(const ProjectDetailsModel &details)
{
    if (details.projectType != ProjectType::existing
        || QFileInfo::exists(details.projectRoot() + QStringLiteral("/Podfile")))
        return DependencyManager::cocoaPods;
    return DependencyManager::swiftPackageManager;
}

bool secretsComeAsPackages(const ProjectDetailsModel &details)
{
    return details.doesIncludeArkana && details.projectType == ProjectType::new_
           && details.dependencyManager == DependencyManager::swiftPackageManager;
}

QStringList secretsPackageNames(const ProjectDetailsModel &details)
{
    const QString secrets = swiftModuleName(details.projectName) + QStringLiteral("Secrets");
    return {secrets, secrets + QStringLiteral("Interfaces")};
}

} // namespace plinth
