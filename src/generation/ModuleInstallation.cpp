#include "generation/ModuleInstallation.h"

#include "app/base/DebugConsole.h"
#include "app/base/ResourceBundle.h"
#include "generation/SafeFileOperations.h"
#include "generation/SecretsMerge.h"
#include "generation/TemplateCopy.h"
#include "generation/TemplateInstantiation.h"
#include "generation/Utf8TextFile.h"
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
    QString command = QStringLiteral("ruby ") + shellArgument(scriptPath) + QStringLiteral(" -p ")
                      + shellArgument(xcodeProjectPath(details)) + QStringLiteral(" -d ")
                      + shellArgument(moduleDestinationPath(details, module.directoryName)) + QStringLiteral(" -t ")
                      + shellArgument(details.projectName) + QStringLiteral(" -g ")
                      + shellArgument(group.isEmpty() ? details.projectName
                                                      : details.projectName + QLatin1Char('/') + group);
    if (module.requiredPackages.isEmpty())
        return command;
    // A package whose product the Podfile already brings as a pod is not
    // added a second time; the script reads the Podfile to know.
    command += QStringLiteral(" --podfile ") + shellArgument(details.projectRoot() + QStringLiteral("/Podfile"));
    for (const SwiftPackage &package : module.requiredPackages)
        command += QStringLiteral(" --package ") + shellArgument(package.url) + QStringLiteral(" --product ")
                   + shellArgument(package.product) + QStringLiteral(" --version ")
                   + shellArgument(package.requirement);
    return command;
}

QString addPackagesCommand(const QString &scriptPath, const ProjectDetailsModel &details,
                           const QList<LibraryPackage> &packages, const QList<LocalPackage> &localPackages)
{
    QString command = QStringLiteral("ruby ") + shellArgument(scriptPath) + QStringLiteral(" -p ")
                      + shellArgument(xcodeProjectPath(details)) + QStringLiteral(" -t ")
                      + shellArgument(details.projectName) + QStringLiteral(" --podfile ")
                      + shellArgument(details.projectRoot() + QStringLiteral("/Podfile"));
    const auto add = [&command](const LibraryPackage &package, const char *option, const QString &name) {
        command += QStringLiteral(" --package ") + shellArgument(package.url) + QLatin1Char(' ')
                   + QLatin1String(option) + QLatin1Char(' ') + shellArgument(name) + QStringLiteral(" --version ")
                   + shellArgument(QStringLiteral("from:") + package.minimumVersion);
    };
    for (const LibraryPackage &package : packages) {
        for (const QString &product : package.products)
            add(package, "--product", product);
        for (const QString &plugin : package.plugins)
            add(package, "--plugin", plugin);
    }
    for (const LocalPackage &package : localPackages)
        command += QStringLiteral(" --local-package ") + shellArgument(package.path) + QStringLiteral(" --product ")
                   + shellArgument(package.product);
    return command;
}

void addLibraryPackages(const ProjectDetailsModel &details, const QList<LibraryPackage> &packages,
                        const ResourceBundle &bundle, const CommandRunner &runner, const StepRecorder &record,
                        const QList<LocalPackage> &localPackages)
{
    if (packages.isEmpty() && localPackages.isEmpty())
        return;
    const QString script = scriptPath(bundle, ResourceScript::addModulesInTarget);
    if (script.isEmpty()) {
        const QString line = QStringLiteral("AddModulesInTarget.rb is missing from the application's resources");
        debugConsole(line);
        record({GenerationStepKind::libraryPackages, {}, Outcome::failed, line});
        return;
    }
    const ScriptResult result = runner.executeScripts(addPackagesCommand(script, details, packages, localPackages));
    debugConsole(result.output.trimmed());
    if (result.exitCode == 0) {
        record({GenerationStepKind::libraryPackages, {}, Outcome::done, {}});
        return;
    }
    QString detail = result.output.trimmed();
    if (detail.isEmpty())
        detail = QStringLiteral("AddModulesInTarget.rb ended with status %1").arg(result.exitCode);
    record({GenerationStepKind::libraryPackages, {}, Outcome::failed, detail});
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
    // The template's files are made for the project first, in a folder of
    // their own in the project root (so that moving one in is a rename). A
    // file the project lacks is moved in; a file it has is only added to.
    QTemporaryDir staging(root + QStringLiteral("/.plinth-arkana-XXXXXX"));
    if (!staging.isValid())
        return failed(QStringLiteral("Cannot write into ") + root + QStringLiteral(": ") + staging.errorString());
    const QString gemfile = QStringLiteral("Gemfile");
    const QString arkana = QStringLiteral(".arkana.yml");
    const QString env = QStringLiteral(".env");
    const QStringList names{gemfile, arkana, env};
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

    const auto inRoot = [&root](const QString &name) { return root + QLatin1Char('/') + name; };
    const auto moveIn = [&](const QString &name) {
        return fileops::renameWithoutReplacing(nativePath(staging.filePath(name)), nativePath(inRoot(name)), &error);
    };
    const auto projectText = [&](const QString &name) -> std::optional<QString> {
        std::optional<QString> text = readUtf8File(inRoot(name));
        if (!text)
            error = inRoot(name) + QStringLiteral(" is not a UTF-8 text file that can be read; it was left as it is.");
        return text;
    };
    const auto has = [&](const QString &name) {
        return fileops::entryKind(nativePath(inRoot(name))) != fileops::EntryKind::unknown;
    };

    // Gemfile: the arkana gem, unless a line declares it.
    if (!has(gemfile)) {
        if (!moveIn(gemfile))
            return failed(error);
    } else {
        const std::optional<QString> text = projectText(gemfile);
        if (!text || !writeTextFileIfChanged(inRoot(gemfile), gemfileWithArkana(*text), &error))
            return failed(error);
    }

    // .arkana.yml: the environments and keys it lacks.
    const bool ownArkana = has(arkana);
    if (!ownArkana) {
        if (!moveIn(arkana))
            return failed(error);
    } else {
        std::optional<QString> text = projectText(arkana);
        if (!text)
            return failed(error);
        const std::optional<QString> staged = readUtf8File(staging.filePath(arkana));
        QStringList labels;
        for (const CheckBoxItem &variant : details.configVariant)
            labels << variant.label;
        const QList<std::pair<QString, QStringList>> lists{
            {QStringLiteral("environments"), labels},
            {QStringLiteral("global_secrets"),
             arkanaListEntries(staged.value_or(QString()), QStringLiteral("global_secrets")).value_or(QStringList())},
            {QStringLiteral("environment_secrets"),
             arkanaListEntries(staged.value_or(QString()), QStringLiteral("environment_secrets"))
                 .value_or(QStringList())}};
        for (const auto &[key, entries] : lists) {
            const std::optional<QString> extended = withArkanaListEntries(*text, key, entries);
            if (!extended)
                return failed(inRoot(arkana) + QStringLiteral(": its ") + key
                              + QStringLiteral(" list is written in flow style ([...]), which Plinth does not "
                                               "change; write it as one \"- name\" line per entry and run again."));
            text = extended;
        }
        if (!writeTextFileIfChanged(inRoot(arkana), *text, &error))
            return failed(error);
    }

    // .env: an empty line for each key the secrets need and it lacks.
    if (!has(env) && !ownArkana) {
        if (!moveIn(env))
            return failed(error);
    } else {
        const std::optional<QString> configuration = projectText(arkana);
        const std::optional<QString> text = has(env) ? projectText(env) : std::optional<QString>(QString());
        if (!configuration || !text
            || !writeTextFileIfChanged(inRoot(env),
                                       envFileWithVariables(*text, arkanaEnvironmentVariables(*configuration)), &error))
            return failed(error);
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
