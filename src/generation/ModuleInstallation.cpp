#include "generation/ModuleInstallation.h"

#include "app/DebugConsole.h"
#include "app/ResourceBundle.h"
#include "generation/SafeFileOperations.h"
#include "generation/TemplateCopy.h"
#include "generation/TemplateInstantiation.h"
#include "toolchain/CommandRunner.h"
#include "toolchain/ResourceScript.h"
#include "toolchain/ShellQuote.h"

#include <QTemporaryDir>

namespace plinth {

namespace {

using fileops::nativePath;
using Outcome = GenerationStep::Outcome;

QString missingTemplateLine(const QString &templateName)
{
    return QStringLiteral("The template ") + templateName + QStringLiteral(" is missing from the application's resources");
}

GenerationStep arkanaStep(Outcome outcome, const QString &detail = {})
{
    return {GenerationStepKind::arkanaFiles, {}, outcome, detail};
}

bool sameFileContents(const QString &first, const QString &second)
{
    QByteArray a;
    QByteArray b;
    return fileops::readRegularFile(nativePath(first), a) && fileops::readRegularFile(nativePath(second), b) && a == b;
}

/// True when the items at `first` and `second` hold the same tree: the same
/// names, kinds and file contents, and links with the same targets.
bool sameTree(const QByteArray &first, const QByteArray &second)
{
    const fileops::EntryKind kind = fileops::entryKind(first);
    if (kind != fileops::entryKind(second))
        return false;
    switch (kind) {
    case fileops::EntryKind::file: {
        QByteArray a;
        QByteArray b;
        return fileops::readRegularFile(first, a) && fileops::readRegularFile(second, b) && a == b;
    }
    case fileops::EntryKind::symlink:
        return QFile::symLinkTarget(QFile::decodeName(first)) == QFile::symLinkTarget(QFile::decodeName(second));
    case fileops::EntryKind::directory: {
        std::vector<fileops::DirectoryEntry> a;
        std::vector<fileops::DirectoryEntry> b;
        if (!fileops::listDirectory(first, a) || !fileops::listDirectory(second, b) || a.size() != b.size())
            return false;
        for (size_t i = 0; i < a.size(); ++i) {
            if (a[i].name != b[i].name || !sameTree(first + '/' + a[i].name, second + '/' + b[i].name))
                return false;
        }
        return true;
    }
    default:
        return false;
    }
}

/// Keeps the item at `path` as "<path>.backup" ("<path>.backup2", ... when
/// taken) and says where in `backup`. A backup holding the same already is
/// enough: the item is then removed and no second copy made, so reruns do not
/// pile up backups of one content. True when nothing was there or it worked.
bool keepAsBackup(const QString &path, QString *backup, QString *error)
{
    const QByteArray item = nativePath(path);
    if (fileops::entryKind(item) == fileops::EntryKind::unknown)
        return true;
    for (int number = 1;; ++number) {
        const QString candidate = path + QStringLiteral(".backup") + (number == 1 ? QString() : QString::number(number));
        const QByteArray kept = nativePath(candidate);
        if (fileops::entryKind(kept) == fileops::EntryKind::unknown) {
            *backup = candidate;
            return fileops::renameWithoutReplacing(item, kept, error);
        }
        if (sameTree(kept, item))
            return fileops::removeItem(item, error);
    }
}

GenerationStep copyModule(const ProjectDetailsModel &details, const QString &templateDirectory,
                          const QString &templateName, const ListItem &module)
{
    const auto failed = [&](const QString &line) {
        debugConsole(line);
        return GenerationStep{GenerationStepKind::moduleCopy, module.title, Outcome::failed, line};
    };
    const QString source = moduleSourcePath(templateDirectory, templateName, module.directoryName);
    if (module.directoryName.isEmpty() || fileops::entryKind(nativePath(source)) == fileops::EntryKind::unknown)
        return failed(QStringLiteral("Directory does not exist at path: ") + source);
    const QString destination = moduleDestinationPath(details, module.directoryName);
    // Something of the project's own at the module's place (its own folder
    // of that name, or a copy the user changed) stays exactly where it is:
    // the project's references point at it, and moving it away would break
    // the build. Only an unchanged copy from an earlier run is replaced.
    const QByteArray existing = nativePath(destination);
    if (fileops::entryKind(existing) != fileops::EntryKind::unknown && !sameTree(nativePath(source), existing))
        return failed(destination + QStringLiteral(" already exists and differs from the module ") + module.title
                      + QStringLiteral("; it was left as it is. Rename or remove it to add the module."));
    const QString folder = destination.left(destination.lastIndexOf(QLatin1Char('/')));
    QString error;
    if (!fileops::makePath(nativePath(folder), &error) || !duplicateDirectoryFromBundle(source, destination, &error))
        return failed(QStringLiteral("Failed to copy ") + module.directoryName + QStringLiteral(": ") + error);
    return {GenerationStepKind::moduleCopy, module.title, Outcome::done, {}};
}

} // namespace

bool duplicateDirectoryFromBundle(const QString &from, const QString &to, QString *error)
{
    const QByteArray target = nativePath(to);
    if (fileops::entryKind(target) == fileops::EntryKind::unknown) {
        if (fileops::copyItem(nativePath(from), target, error))
            return true;
        // Half a copy (a full disk, a folder turned read-only) is taken away
        // again, so that a later run does not find a changed module there.
        fileops::removeItem(target);
        return false;
    }
    // The new copy is made beside the old item and swapped in by renames, so
    // that a failure at any point leaves the old item as it was.
    const QByteArray fresh = target + ".plinth-new";
    const QByteArray old = target + ".plinth-old";
    if (!fileops::removeItem(fresh, error) || !fileops::removeItem(old, error))
        return false;
    if (!fileops::copyItem(nativePath(from), fresh, error)) {
        fileops::removeItem(fresh);
        return false;
    }
    if (!fileops::renameWithoutReplacing(target, old, error)) {
        fileops::removeItem(fresh);
        return false;
    }
    if (!fileops::renameWithoutReplacing(fresh, target, error)) {
        fileops::renameWithoutReplacing(old, target);
        fileops::removeItem(fresh);
        return false;
    }
    return fileops::removeItem(old, error);
}

QString moduleSourcePath(const QString &templateDirectory, const QString &templateName, const QString &directoryName)
{
    return templateDirectory + QLatin1Char('/') + templateName + QLatin1Char('/') + directoryName;
}

QString moduleDestinationPath(const ProjectDetailsModel &details, const QString &directoryName)
{
    return details.projectRoot() + QLatin1Char('/') + details.projectName + QLatin1Char('/') + directoryName;
}

QString xcodeProjectPath(const ProjectDetailsModel &details)
{
    return details.projectRoot() + QLatin1Char('/') + details.projectName + QStringLiteral(".xcodeproj");
}

QString moduleGroupPath(const QString &directoryName)
{
    if (!directoryName.contains(QLatin1Char('.')))
        return directoryName;
    const qsizetype slash = directoryName.lastIndexOf(QLatin1Char('/'));
    return slash < 0 ? QString() : directoryName.left(slash);
}

QString addModuleCommand(const QString &scriptPath, const ProjectDetailsModel &details, const ListItem &module)
{
    const QString group = moduleGroupPath(module.directoryName);
    return QStringLiteral("ruby ") + shellArgument(scriptPath) + QStringLiteral(" -p ")
           + shellArgument(xcodeProjectPath(details)) + QStringLiteral(" -d ")
           + shellArgument(moduleDestinationPath(details, module.directoryName)) + QStringLiteral(" -t ")
           + shellArgument(details.projectName) + QStringLiteral(" -g ")
           + shellArgument(group.isEmpty() ? details.projectName : details.projectName + QLatin1Char('/') + group);
}

GenerationStep copyArkanaFiles(const ProjectDetailsModel &details, const ResourceBundle &bundle)
{
    if (!details.doesIncludeArkana)
        return arkanaStep(Outcome::skipped);
    const QString templateName = chooseTemplate(details);
    const QString templateDirectory = templateResourceURL(templateName, bundle);
    if (templateDirectory.isEmpty()) {
        debugConsole(missingTemplateLine(templateName));
        return arkanaStep(Outcome::failed, missingTemplateLine(templateName));
    }
    const QString root = details.projectRoot();
    const auto failed = [](const QString &line) {
        debugConsole(line);
        return arkanaStep(Outcome::failed, line);
    };
    // The files are made for the project first, in a folder of their own in
    // the project root (so that moving them in is a rename), and compared with
    // what the project has: a file that is already what would be written is
    // left alone, and only a file that differs is kept as a backup.
    QTemporaryDir staging(root + QStringLiteral("/.plinth-arkana-XXXXXX"));
    if (!staging.isValid())
        return failed(QStringLiteral("Cannot write into ") + root + QStringLiteral(": ") + staging.errorString());
    const QStringList names{QStringLiteral("Gemfile"), QStringLiteral(".arkana.yml"), QStringLiteral(".env")};
    QString error;
    for (const QString &name : names) {
        if (!duplicateDirectoryFromBundle(templateDirectory + QLatin1Char('/') + name, staging.filePath(name), &error))
            return failed(error);
    }
    // Only these files are rewritten: the walk opens nothing of the project.
    ConsoleCapture walkLines(ConsoleCapture::Threads::creatingThreadOnly);
    const InstantiationResult walk =
        instantiateTemplate(staging.path(), templateName, details, InstantiationScope::existing(names));
    if (!walk.succeeded())
        return arkanaStep(Outcome::failed, walkLines.lines().join(QLatin1Char('\n')));
    for (const QString &name : names) {
        const QString destination = root + QLatin1Char('/') + name;
        if (sameFileContents(staging.filePath(name), destination))
            continue;
        QString backup;
        if (!keepAsBackup(destination, &backup, &error))
            return failed(error);
        if (!fileops::renameWithoutReplacing(nativePath(staging.filePath(name)), nativePath(destination), &error)) {
            // The project's own file goes back to its place.
            if (!backup.isEmpty())
                fileops::renameWithoutReplacing(nativePath(backup), nativePath(destination));
            return failed(error);
        }
        if (!backup.isEmpty())
            debugConsole(QStringLiteral("Kept the project's own ") + name + QStringLiteral(" as ") + backup);
    }
    return arkanaStep(Outcome::done);
}

void installModules(const ProjectDetailsModel &details, const ResourceBundle &bundle, const StepRecorder &record)
{
    const QString templateName = chooseTemplate(details);
    const QString templateDirectory = templateResourceURL(templateName, bundle);
    if (templateDirectory.isEmpty()) {
        const QString line = missingTemplateLine(templateName);
        debugConsole(line);
        record(arkanaStep(details.doesIncludeArkana ? Outcome::failed : Outcome::skipped,
                          details.doesIncludeArkana ? line : QString()));
        for (const ListItem &module : details.userSelectedModules)
            record({GenerationStepKind::moduleCopy, module.title, Outcome::failed, line});
        return;
    }
    record(copyArkanaFiles(details, bundle));
    for (const ListItem &module : details.userSelectedModules)
        record(copyModule(details, templateDirectory, templateName, module));
}

void addModulesToTarget(const ProjectDetailsModel &details, const ResourceBundle &bundle, const CommandRunner &runner,
                        const StepRecorder &record)
{
    if (details.userSelectedModules.isEmpty())
        return;
    const QString script = scriptPath(bundle, ResourceScript::addModulesInTarget);
    if (script.isEmpty()) {
        const QString line = QStringLiteral("AddModulesInTarget.rb is missing from the application's resources");
        debugConsole(line);
        for (const ListItem &module : details.userSelectedModules)
            record({GenerationStepKind::moduleTarget, module.title, Outcome::failed, line});
        return;
    }
    for (const ListItem &module : details.userSelectedModules) {
        const ScriptResult result = runner.executeScripts(addModuleCommand(script, details, module));
        debugConsole((result.exitCode == 0 ? QStringLiteral("Module successfully added.. ")
                                           : QStringLiteral("Module could not be added.. "))
                     + QStringLiteral("ScriptResult(output: %1, exitCode: %2)")
                           .arg(debugForm(result.output))
                           .arg(result.exitCode));
        if (result.exitCode == 0) {
            record({GenerationStepKind::moduleTarget, module.title, Outcome::done, {}});
        } else {
            QString detail = result.output.trimmed();
            if (detail.isEmpty())
                detail = QStringLiteral("AddModulesInTarget.rb ended with status %1").arg(result.exitCode);
            record({GenerationStepKind::moduleTarget, module.title, Outcome::failed, detail});
        }
    }
}

} // namespace plinth
