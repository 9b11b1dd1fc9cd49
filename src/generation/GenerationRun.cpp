#include "generation/GenerationRun.h"

#include "app/base/DebugConsole.h"
#include "generation/DescriptionFile.h"
#include "generation/LibraryRoutes.h"
#include "generation/ModuleInstallation.h"
#include "generation/PodInstallation.h"
#include "generation/SafeFileOperations.h"
#include "generation/TemplateCopy.h"
#include "generation/TemplateInstantiation.h"
#include "generation/XcodeGenSpecification.h"
#include "toolchain/CommandRunner.h"
#include "toolchain/ShellQuote.h"

#include <QFileInfo>

namespace plinth {

namespace {

using Outcome = GenerationStep::Outcome;
using fileops::nativePath;

GenerationStep step(GenerationStepKind kind, Outcome outcome, const QString &detail = {})
{
    return {kind, {}, outcome, detail};
}

/// The lines this thread wrote to the console while the capture was alive,
/// or `fallback` when there were none.
QString linesOr(const ConsoleCapture &capture, const QString &fallback)
{
    const QStringList lines = capture.lines();
    return lines.isEmpty() ? fallback : lines.join(QLatin1Char('\n'));
}

} // namespace

GenerationRun::GenerationRun(const ProjectDetailsModel &details, const ResourceBundle &bundle,
                             const CommandRunner &runner, StepRecorder record)
    : m_details(details)
    , m_bundle(bundle)
    , m_runner(runner)
    , m_record(std::move(record))
{
}

void GenerationRun::record(const GenerationStep &step) const
{
    if (m_record)
        m_record(step);
}

void GenerationRun::generate()
{
    if (m_details.projectType == ProjectType::new_) {
        createNewProject();
        return;
    }
    const LibraryRoutes routes = libraryRoutes(m_details, LibraryPackages::load(m_bundle));
    record(runPostGeneration(m_details, routes, m_bundle, m_runner));
    // A module that was not copied is not added to the target: its place
    // may hold the project's own files.
    QStringList notCopied;
    installModules(m_details, m_bundle, [this, &notCopied](const GenerationStep &step) {
        if (step.kind == GenerationStepKind::moduleCopy && step.outcome != GenerationStep::Outcome::done)
            notCopied << step.subject;
        record(step);
    });
    // The secrets packages are linked before Arkana has made them (it runs
    // with the installation); Xcode finds them once they are there.
    addLibraryPackages(
        m_details, routes.packages, m_bundle, m_runner, [this](const GenerationStep &step) { record(step); },
        routes.secretsPackages ? arkanaSecretsPackages(m_details) : QList<LocalPackage>());
    ProjectDetailsModel one = m_details;
    for (const ListItem &module : m_details.userSelectedModules) {
        if (notCopied.contains(module.title)) {
            record({GenerationStepKind::moduleTarget, module.title, GenerationStep::Outcome::skipped,
                    QStringLiteral("The module was not copied.")});
            continue;
        }
        one.userSelectedModules = {module};
        addModulesToTarget(one, m_bundle, m_runner, [this](const GenerationStep &step) { record(step); });
    }
}

void GenerationRun::createNewProject()
{
    const QString root = m_details.projectRoot();
    const QString name = m_details.projectName;
    const LibraryRoutes routes = libraryRoutes(m_details, LibraryPackages::load(m_bundle));

    // 1. The project root; an existing one is used as it is. Without it no
    //    later step can do anything.
    QString error;
    const auto rootKind = fileops::entryKind(nativePath(root));
    if (rootKind == fileops::EntryKind::unknown ? !fileops::makePath(nativePath(root), &error)
                                                : !QFileInfo(root).isDir()) {
        if (error.isEmpty())
            error = QStringLiteral("Could not create ") + root + QStringLiteral(": it exists and is not a folder");
        debugConsole(error);
        record(step(GenerationStepKind::projectRoot, Outcome::failed, error));
        const QString reason = QStringLiteral("Not run: the project folder could not be created.");
        for (const auto kind : {GenerationStepKind::targetDirectories, GenerationStepKind::xcodeGenSpecification,
                                GenerationStepKind::templateCopy, GenerationStepKind::xcodeGen,
                                GenerationStepKind::postGeneration, GenerationStepKind::instantiation})
            record(step(kind, Outcome::skipped, reason));
        return;
    }
    record(step(GenerationStepKind::projectRoot, Outcome::done));

    // 2. The app, unit test and UI test folders; one failure does not stop
    //    the others.
    QStringList failures;
    for (const QString &suffix : {QString(), QStringLiteral("Tests"), QStringLiteral("UITests")}) {
        const QByteArray folder = nativePath(root + QLatin1Char('/') + name + suffix);
        if (fileops::entryKind(folder) != fileops::EntryKind::unknown)
            continue;
        if (!fileops::makePath(folder, &error)) {
            debugConsole(error);
            failures << error;
        }
    }
    record(step(GenerationStepKind::targetDirectories, failures.isEmpty() ? Outcome::done : Outcome::failed,
                failures.join(QLatin1Char('\n'))));

    // 3. project.yml, and beside it the description it was made from.
    {
        ConsoleCapture lines(ConsoleCapture::Threads::creatingThreadOnly);
        const bool written = writeXcodeGenSpecification(root, m_details, routes);
        const bool described = written && writeNewProjectDescription(root, m_details);
        record(step(GenerationStepKind::xcodeGenSpecification, described ? Outcome::done : Outcome::failed,
                    described ? QString()
                              : linesOr(lines, written ? QStringLiteral("plinth.json was not written")
                                                       : QStringLiteral("project.yml was not written"))));
    }

    // 4, 5. The template.
    const QString templateName = chooseTemplate(m_details);
    {
        ConsoleCapture lines(ConsoleCapture::Threads::creatingThreadOnly);
        const bool complete = copyTemplate(templateName, root, m_details, m_bundle);
        record(step(GenerationStepKind::templateCopy, complete ? Outcome::done : Outcome::failed,
                    complete ? QString()
                             : linesOr(lines, QStringLiteral("Some files of the template ") + templateName
                                                  + QStringLiteral(" were not copied (missing from the "
                                                                   "application's resources, or already in the "
                                                                   "project)"))));
    }

    // 6. XcodeGen, 7. the Podfile. XcodeGen refuses a local package that is
    //    not there yet: with the secrets as packages it runs in the
    //    installation script, after Arkana has made them.
    if (routes.secretsPackages)
        record(step(GenerationStepKind::xcodeGen, Outcome::skipped,
                    QStringLiteral("XcodeGen runs with the installation, once Arkana has made the secrets packages "
                                   "that project.yml names.")));
    else
        record(runXcodeGen(root));
    record(runPostGeneration(m_details, routes, m_bundle, m_runner));

    // 8. The walk: names and texts for the product name, the secrets files.
    {
        ConsoleCapture lines(ConsoleCapture::Threads::creatingThreadOnly);
        const InstantiationResult walk = instantiateTemplate(root, templateName, m_details);
        record(step(GenerationStepKind::instantiation, walk.succeeded() ? Outcome::done : Outcome::failed,
                    walk.succeeded() ? QString()
                                     : linesOr(lines, QStringLiteral("The files could not all be adapted"))));
    }
}

QString GenerationRun::xcodeGenCommand(const QString &projectRoot)
{
    return QStringLiteral("cd ") + shellArgument(projectRoot) + QStringLiteral(" && xcodegen generate");
}

GenerationStep GenerationRun::runXcodeGen(const QString &projectRoot)
{
    const ScriptResult result = m_runner.executeCommandWithStatus(xcodeGenCommand(projectRoot));
    const QString line = QStringLiteral("Output: ") + result.output;
    debugConsole(line);
    const QString project = projectRoot + QLatin1Char('/') + m_details.projectName + QStringLiteral(".xcodeproj");
    if (result.exitCode == 0 && QFileInfo(project).isDir())
        return step(GenerationStepKind::xcodeGen, Outcome::done);
    QString detail = line.trimmed();
    if (result.exitCode == 0)
        detail += QStringLiteral("\nXcodeGen made no ") + project;
    else if (!result.timedOut) // the output alone may not say that it failed
        detail += QStringLiteral("\nXcodeGen ended with status %1").arg(result.exitCode);
    return step(GenerationStepKind::xcodeGen, Outcome::failed, detail);
}

} // namespace plinth
