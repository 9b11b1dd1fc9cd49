#include "generation/ModuleInstallation.h"

#include "app/DebugConsole.h"
#include "app/ResourceBundle.h"
#include "generation/SafeFileOperations.h"
#include "generation/TemplateCopy.h"
#include "generation/TemplateInstantiation.h"
#include "toolchain/CommandRunner.h"
#include "toolchain/ResourceScript.h"
#include "toolchain/ShellQuote.h"

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

/// Moves an existing item at `path` to the first free "<path>.backup",
/// "<path>.backup2", ... and says where in `backup`. True when nothing had to
/// be moved or the move worked.
bool keepAsBackup(const QString &path, QString *backup, QString *error)
{
    const QByteArray item = nativePath(path);
    if (fileops::entryKind(item) == fileops::EntryKind::unknown)
        return true;
    for (int number = 1;; ++number) {
        const QString candidate = path + QStringLiteral(".backup") + (number == 1 ? QString() : QString::number(number));
        if (fileops::entryKind(nativePath(candidate)) != fileops::EntryKind::unknown)
            continue;
        *backup = candidate;
        return fileops::renameWithoutReplacing(item, nativePath(candidate), error);
    }
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

/// A module's destination that holds something other than the module as it
/// ships (the project's own folder of that name, or a copy the user changed)
/// is moved out of the app sources to projectRoot/PlinthBackups/<directory
/// name> (numbered when taken) before the fresh copy replaces it, so nothing
/// of the user's is lost and no second copy gets compiled. An unchanged copy
/// from an earlier run is simply replaced.
bool keepModuleBackup(const ProjectDetailsModel &details, const QString &source, const QString &destination,
                      const QString &directoryName, QString *backup, QString *error)
{
    const QByteArray item = nativePath(destination);
    if (fileops::entryKind(item) == fileops::EntryKind::unknown || sameTree(nativePath(source), item))
        return true;
    const QString base = details.projectRoot() + QStringLiteral("/PlinthBackups/") + directoryName;
    for (int number = 1;; ++number) {
        const QString candidate = base + (number == 1 ? QString() : QStringLiteral(" %1").arg(number));
        if (fileops::entryKind(nativePath(candidate)) != fileops::EntryKind::unknown)
            continue;
        if (!fileops::makePath(nativePath(candidate.left(candidate.lastIndexOf(QLatin1Char('/')))), error))
            return false;
        *backup = candidate;
        return fileops::renameWithoutReplacing(item, nativePath(candidate), error);
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
    const QString folder = destination.left(destination.lastIndexOf(QLatin1Char('/')));
    QString error;
    QString backup;
    if (!fileops::makePath(nativePath(folder), &error)
        || !keepModuleBackup(details, source, destination, module.directoryName, &backup, &error)
        || !duplicateDirectoryFromBundle(source, destination, &error))
        return failed(QStringLiteral("Failed to copy ") + module.directoryName + QStringLiteral(": ") + error);
    QString detail;
    if (!backup.isEmpty()) {
        detail = QStringLiteral("Kept the project's own ") + module.directoryName + QStringLiteral(" as ") + backup;
        debugConsole(detail);
    }
    return {GenerationStepKind::moduleCopy, module.title, Outcome::done, detail};
}

} // namespace

bool duplicateDirectoryFromBundle(const QString &from, const QString &to, QString *error)
{
    return fileops::removeItem(nativePath(to), error) && fileops::copyItem(nativePath(from), nativePath(to), error);
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
    QStringList copied;
    for (const QString &name : {QStringLiteral("Gemfile"), QStringLiteral(".arkana.yml"), QStringLiteral(".env")}) {
        const QString source = templateDirectory + QLatin1Char('/') + name;
        const QString destination = root + QLatin1Char('/') + name;
        QString error;
        QString backup;
        if (!sameFileContents(source, destination) && !keepAsBackup(destination, &backup, &error)) {
            debugConsole(error);
            return arkanaStep(Outcome::failed, error);
        }
        if (!backup.isEmpty())
            debugConsole(QStringLiteral("Kept the project's own ") + name + QStringLiteral(" as ") + backup);
        if (!duplicateDirectoryFromBundle(source, destination, &error)) {
            debugConsole(error);
            return arkanaStep(Outcome::failed, error);
        }
        copied << name;
    }
    // Only the copied files are rewritten: the walk leaves the user's own
    // files closed.
    ConsoleCapture walkLines(ConsoleCapture::Threads::creatingThreadOnly);
    const InstantiationResult walk =
        instantiateTemplate(root, templateName, details, InstantiationScope::existing(copied));
    if (!walk.succeeded())
        return arkanaStep(Outcome::failed, walkLines.lines().join(QLatin1Char('\n')));
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
        debugConsole(QStringLiteral("Module successfully added.. ScriptResult(output: %1, exitCode: %2)")
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
