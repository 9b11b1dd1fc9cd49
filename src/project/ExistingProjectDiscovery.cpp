#include "project/ExistingProjectDiscovery.h"

#include "app/base/DebugConsole.h"

#include <QDir>
#include <QDirIterator>
#include <QFileInfo>

#include <cerrno>
#include <cstring>
#include <dirent.h>

namespace plinth {

namespace {

/// Why `folder` cannot be listed, in the system's words; empty when it can.
QString listingError(const QString &folder)
{
    DIR *directory = ::opendir(QFile::encodeName(folder).constData());
    if (!directory)
        return QString::fromLocal8Bit(std::strerror(errno));
    ::closedir(directory);
    return {};
}

} // namespace

ProjectPackage findProjectPackage(const QString &folder)
{
    ProjectPackage package;
    package.folder = QDir::cleanPath(folder);
    package.error = listingError(package.folder);
    if (!package.error.isEmpty()) {
        debugConsole(QStringLiteral("Error reading directory contents: ") + package.error);
        return package;
    }
    const QString extension = QStringLiteral(".xcodeproj");
    QDirIterator entries(package.folder, QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
    while (entries.hasNext()) {
        entries.next();
        const QString name = entries.fileName();
        if (name.size() > extension.size() && name.endsWith(extension)) {
            package.found = true;
            package.projectName = name.chopped(extension.size());
            package.projectPath = QFileInfo(package.folder).path();
            return package;
        }
    }
    return package;
}

DependencyManager defaultDependencyManager(const ProjectDetailsModel &details)
{
    if (details.projectType != ProjectType::existing
        || QFileInfo::exists(details.projectRoot() + QStringLiteral("/Podfile")))
        return DependencyManager::cocoaPods;
    return DependencyManager::swiftPackageManager;
}

} // namespace plinth
