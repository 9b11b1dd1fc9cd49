#include "generation/TemplateCopy.h"

#include "app/DebugConsole.h"
#include "app/TextCatalog.h"
#include "generation/SafeFileOperations.h"

#include <vector>

namespace plinth {

namespace {

using fileops::nativePath;

QString uiKitTemplate()
{
    return QStringLiteral("UIKitBaseSetup");
}

QString childPath(const QString &folder, const QString &name)
{
    return folder.endsWith(QLatin1Char('/')) ? folder + name : folder + QLatin1Char('/') + name;
}

} // namespace

QString chooseTemplate(const ProjectDetailsModel &details)
{
    return details.isUIKitProject() ? uiKitTemplate() : QStringLiteral("SwiftUIBaseSetup");
}

QString chooseTemplate()
{
    return chooseTemplate(currentProjectDetails());
}

QString templateResourceURL(const QString &name, const ResourceBundle &bundle)
{
    const qsizetype slash = name.lastIndexOf(QLatin1Char('/'));
    const QString found = slash < 0 ? bundle.path(name) : bundle.path(name.mid(slash + 1), {}, name.left(slash));
    if (!found.isEmpty())
        return found;
    return bundle.path(uiKitTemplate(), {}, name);
}

QString templateResourceURL(const QString &name)
{
    return templateResourceURL(name, ResourceBundle::main());
}

bool copyTemplate(const QString &templateName, const QString &projectRoot, const ProjectDetailsModel &details,
                  const ResourceBundle &bundle)
{
    bool complete = true;
    const QString topLevel = templateResourceURL(templateName, bundle);
    if (topLevel.isEmpty())
        complete = false;
    else
        complete = copyTopLevelFiles(topLevel, projectRoot) && complete;

    QStringList appExclusions;
    if (!details.doesIncludeAWS)
        appExclusions << text(key::awss3);
    if (!details.doesIncludeBLE)
        appExclusions << text(key::ble);

    const struct
    {
        QString suffix;
        QStringList excluding;
    } targets[] = {
        {QString(), appExclusions},
        {QStringLiteral("Tests"), {}},
        {QStringLiteral("UITests"), {}},
    };
    for (const auto &target : targets) {
        const QString source = templateResourceURL(templateName + QLatin1Char('/') + templateName + target.suffix, bundle);
        if (source.isEmpty()) {
            complete = false;
            continue;
        }
        const QString destination = childPath(projectRoot, details.projectName + target.suffix);
        complete = copyDirectoryContents(source, destination, target.excluding) && complete;
    }
    return complete;
}

bool copyTemplate(const QString &templateName, const QString &projectRoot)
{
    return copyTemplate(templateName, projectRoot, currentProjectDetails(), ResourceBundle::main());
}

bool copyTopLevelFiles(const QString &source, const QString &destination)
{
    QString error;
    if (!fileops::makePath(nativePath(destination), &error)) {
        debugConsole(error);
        return false;
    }
    std::vector<fileops::DirectoryEntry> entries;
    if (!fileops::listDirectory(nativePath(source), entries, &error)) {
        debugConsole(error);
        return false;
    }
    bool complete = true;
    for (const fileops::DirectoryEntry &entry : entries)
        complete = copyTopLevelItem(childPath(source, fileops::displayPath(entry.name)), destination) && complete;
    return complete;
}

bool copyTopLevelItem(const QString &item, const QString &destination)
{
    const QByteArray source = nativePath(item);
    const auto kind = fileops::entryKind(source);
    const QString name = item.mid(item.lastIndexOf(QLatin1Char('/')) + 1);
    if (kind == fileops::EntryKind::unknown || kind == fileops::EntryKind::directory
        || name == QLatin1String("Podfile") || name == QLatin1String("Podfile.lock"))
        return true;
    QString error;
    if (!fileops::copyItem(source, nativePath(childPath(destination, name)), &error)) {
        debugConsole(error);
        return false;
    }
    return true;
}

bool copyDirectoryContents(const QString &source, const QString &destination, const QStringList &excluding)
{
    const QByteArray sourcePath = nativePath(source);
    if (fileops::entryKind(sourcePath) == fileops::EntryKind::unknown) {
        debugConsole(QStringLiteral("Source directory does not exist at ") + source);
        return false;
    }
    std::vector<fileops::DirectoryEntry> entries;
    if (!fileops::listDirectory(sourcePath, entries))
        return false;
    const QByteArray destinationPath = nativePath(destination);
    bool complete = true;
    for (const fileops::DirectoryEntry &entry : entries) {
        if (excluding.contains(fileops::displayPath(entry.name)))
            continue;
        complete = fileops::copyItem(sourcePath + '/' + entry.name, destinationPath + '/' + entry.name) && complete;
    }
    return complete;
}

} // namespace plinth
