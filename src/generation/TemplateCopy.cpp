#include "generation/TemplateCopy.h"

#include "app/base/DebugConsole.h"
#include "app/base/TextCatalog.h"
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

/// The files the manifest `<templateName>.files` of `bundle` lists (one path
/// relative to the template folder a line) that the template folder lacks,
/// or that are not plain files there. Nothing when the bundle has no manifest.
QStringList filesMissingFromTemplate(const QString &templateName, const QString &templateFolder,
                                     const ResourceBundle &bundle)
{
    const QString manifestPath = bundle.path(templateName, QStringLiteral("files"));
    QByteArray manifest;
    if (manifestPath.isEmpty() || !fileops::readRegularFile(nativePath(manifestPath), manifest))
        return {};
    QStringList missing;
    for (const QByteArray &line : manifest.split('\n')) {
        const QString relative = QString::fromUtf8(line).trimmed();
        if (relative.isEmpty())
            continue;
        if (fileops::entryKind(nativePath(childPath(templateFolder, relative))) != fileops::EntryKind::file)
            missing << relative;
    }
    return missing;
}

} // namespace

QString chooseTemplate(const ProjectDetailsModel &details)
{
    return details.isUIKitProject() ? uiKitTemplate() : QStringLiteral("SwiftUIBaseSetup");
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
    if (topLevel.isEmpty()) {
        debugConsole(QStringLiteral("The template ") + templateName
                     + QStringLiteral(" is missing from the application's resources (") + bundle.root()
                     + QStringLiteral(")"));
        return false;
    }
    const QStringList missing = filesMissingFromTemplate(templateName, topLevel, bundle);
    if (!missing.isEmpty()) {
        debugConsole(QStringLiteral("The template ") + templateName
                     + QStringLiteral(" in the application's resources lacks ") + missing.join(QStringLiteral(", ")));
        complete = false;
    }
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
            debugConsole(QStringLiteral("The folder ") + templateName + target.suffix + QStringLiteral(" of the template ")
                         + templateName + QStringLiteral(" is missing from the application's resources"));
            complete = false;
            continue;
        }
        const QString destination = childPath(projectRoot, details.projectName + target.suffix);
        complete = copyDirectoryContents(source, destination, target.excluding) && complete;
    }
    return complete;
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
    QString error;
    if (!fileops::listDirectory(sourcePath, entries, &error)) {
        debugConsole(error);
        return false;
    }
    const QByteArray destinationPath = nativePath(destination);
    bool complete = true;
    for (const fileops::DirectoryEntry &entry : entries) {
        if (excluding.contains(fileops::displayPath(entry.name)))
            continue;
        if (!fileops::copyItem(sourcePath + '/' + entry.name, destinationPath + '/' + entry.name, &error)) {
            debugConsole(error);
            complete = false;
        }
    }
    return complete;
}

} // namespace plinth
