#include "catalogs/ProjectUIDetection.h"

#include "app/base/TextCatalog.h"

#include <QDirIterator>
#include <QFile>

#include <algorithm>

namespace plinth {

std::optional<QString> detectProjectUI(const QString &projectFolder, const QString &projectName)
{
    const QString appDelegate = QStringLiteral("AppDelegate.swift");
    const QString appFile = projectName + QStringLiteral("App.swift");
    // Links are neither listed nor followed, so the walk stays inside the
    // project and a link cycle cannot trap it; only plain files are listed (a
    // pipe named like the app file would block the read).
    QDirIterator walk(projectFolder, QDir::Files | QDir::Hidden | QDir::NoSymLinks, QDirIterator::Subdirectories);
    while (walk.hasNext()) {
        const QString path = walk.next();
        if (!path.endsWith(appDelegate) && !path.endsWith(appFile))
            continue;
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly))
            return std::nullopt;
        const QString source = QString::fromUtf8(file.readAll());
        for (const char *kind : {key::swiftUi, key::uiKit}) {
            if (source.contains(text(kind)))
                return text(kind);
        }
        return std::nullopt;
    }
    return std::nullopt;
}

bool isObjectiveCOnlyProject(const QString &projectFolder)
{
    static const QStringList notTheProjects{QStringLiteral("Pods"),   QStringLiteral("Carthage"),
                                            QStringLiteral("vendor"), QStringLiteral(".git"),
                                            QStringLiteral("build"),  QStringLiteral("DerivedData"),
                                            QStringLiteral(".build")};
    bool objectiveC = false;
    QDirIterator walk(projectFolder, QDir::Files | QDir::Hidden | QDir::NoSymLinks, QDirIterator::Subdirectories);
    while (walk.hasNext()) {
        const QString path = walk.next();
        const QStringList components = path.mid(projectFolder.size()).split(QLatin1Char('/'), Qt::SkipEmptyParts);
        if (std::any_of(components.cbegin(), components.cend() - 1,
                        [](const QString &component) { return notTheProjects.contains(component); }))
            continue;
        if (path.endsWith(QLatin1String(".swift")))
            return false;
        if (path.endsWith(QLatin1String(".m")) || path.endsWith(QLatin1String(".mm")))
            objectiveC = true;
    }
    return objectiveC;
}

std::optional<QString> detectProjectUI(const ProjectDetailsModel &details)
{
    return detectProjectUI(details.projectRoot(), details.projectName);
}

} // namespace plinth
