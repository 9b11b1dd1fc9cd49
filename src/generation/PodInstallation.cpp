#include "generation/PodInstallation.h"

#include "app/base/DebugConsole.h"
#include "app/base/ResourceBundle.h"
#include "generation/Utf8TextFile.h"
#include "toolchain/AppleScripts.h"
#include "toolchain/CommandRunner.h"
#include "toolchain/ResourceScript.h"
#include "toolchain/ShellQuote.h"

#include <QFileInfo>
#include <QRegularExpression>

namespace plinth {

namespace {

QString quotedArguments(const QStringList &values)
{
    QString text;
    for (const QString &value : values)
        text += QLatin1Char(' ') + shellQuoted(value);
    return text;
}

QString yesNo(bool value, const char *yes, const char *no)
{
    return QString::fromLatin1(value ? yes : no);
}

GenerationStep postGenerationStep(GenerationStep::Outcome outcome, const QString &detail = {})
{
    return {GenerationStepKind::postGeneration, {}, outcome, detail};
}

} // namespace

QStringList podList(const ProjectDetailsModel &details)
{
    QStringList pods = details.userSelectedPods;
    for (const ListItem &module : details.userSelectedModules)
        pods += module.requiredPods;
    return pods;
}

QString podInstallDateText(const QDate &date)
{
    return date.toString(QStringLiteral("dd/MM/yyyy"));
}

QString podsDirectoryPath(const ProjectDetailsModel &details)
{
    return details.projectRoot() + QStringLiteral("/Pods");
}

QString postGenerationCommand(const ProjectDetailsModel &details, const LibraryRoutes &routes,
                              const QString &scriptPath)
{
    QStringList arguments{details.minimumDeploymentTarget, details.projectName, yesNo(routes.awsPod, "y", "n"),
                          yesNo(routes.secretsPods, "y", "n"), details.bundleIdentifier, QStringLiteral("NA"),
                          details.projectRoot(), routes.pods.join(QLatin1Char(' '))};
    if (details.projectType == ProjectType::existing)
        arguments << details.removedPods.join(QLatin1Char(' '));
    return QStringLiteral("bash ") + shellArgument(scriptPath) + quotedArguments(arguments);
}

QString podInstallCommand(const ProjectDetailsModel &details, const QString &scriptPath, const QString &dateText)
{
    return QStringLiteral("bash ") + shellArgument(scriptPath)
           + quotedArguments({details.projectRoot(), details.authorName.trimmed(), details.organizationName, dateText,
                              details.projectName, yesNo(details.projectType != ProjectType::existing, "yes", "no"),
                              yesNo(details.doesIncludeArkana, "yes", "no")})
           + QLatin1Char('\r');
}

QString podInstallCommand(const ProjectDetailsModel &details, const ResourceBundle &bundle)
{
    const QString script = scriptPath(bundle, ResourceScript::podInstall, QStringLiteral("sh"));
    if (script.isEmpty()) {
        // Without the script the terminal would only run bash on the project
        // root, so it gets no command at all.
        debugConsole(QStringLiteral("PodInstall.sh is missing from the application's resources"));
        return {};
    }
    return podInstallCommand(details, script, podInstallDateText());
}

bool usesPodfile(const ProjectDetailsModel &details, const LibraryRoutes &routes)
{
    return routes.needsPodfile()
           || (details.projectType == ProjectType::existing
               && QFileInfo::exists(details.projectRoot() + QStringLiteral("/Podfile")));
}

QString projectOpenPath(const ProjectDetailsModel &details, const LibraryRoutes &routes)
{
    return details.projectRoot() + QLatin1Char('/') + details.projectName
           + QLatin1String(usesPodfile(details, routes) ? ".xcworkspace" : ".xcodeproj");
}

bool isProjectReady(const ProjectDetailsModel &details, const LibraryRoutes &routes)
{
    if (usesPodfile(details, routes))
        return arePodsInstalled(podsDirectoryPath(details), routes.pods);
    return QFileInfo(projectOpenPath(details, routes)).isDir();
}

bool arePodsInstalled(const QString &podsDirectory, const QStringList &pods)
{
    if (!QFileInfo(podsDirectory).isDir()) {
        debugConsole(QStringLiteral("Directory does not exist at ") + podsDirectory);
        return false;
    }
    // A pod of a folder of the project's own (`:path =>`) gets no folder in
    // Pods; CocoaPods' manifest names every pod it installed.
    std::optional<QString> manifest;
    for (const QString &pod : pods) {
        // A subspec ("Firebase/Analytics") is installed in its pod's folder.
        const QString name = pod.section(QLatin1Char('/'), 0, 0);
        if (QFileInfo::exists(podsDirectory + QLatin1Char('/') + name))
            continue;
        if (!manifest) {
            // Its PODS list: from "PODS:" to the next top-level key.
            const QString text = readUtf8File(podsDirectory + QStringLiteral("/Manifest.lock")).value_or(QString());
            static const QRegularExpression podsList(QStringLiteral("^PODS:\\n((?:[ -].*\\n?)*)"),
                                                     QRegularExpression::MultilineOption);
            manifest = podsList.match(text).captured(1);
        }
        const QRegularExpression installed(QStringLiteral("^  - \"?") + QRegularExpression::escape(name)
                                               + QStringLiteral("[ /\"]"),
                                           QRegularExpression::MultilineOption);
        if (!installed.match(*manifest).hasMatch())
            return false;
    }
    return true;
}

GenerationStep runPostGeneration(const ProjectDetailsModel &details, const LibraryRoutes &routes,
                                 const ResourceBundle &bundle, const CommandRunner &runner)
{
    const QString script = scriptPath(bundle, ResourceScript::postGen, QStringLiteral("sh"));
    if (script.isEmpty()) {
        const QString line = QStringLiteral("Failed to generate pod file...");
        debugConsole(line);
        return postGenerationStep(GenerationStep::Outcome::failed, line);
    }
    if (!usesPodfile(details, routes)) {
        const QString line = QStringLiteral("No Podfile: every library comes as a Swift package.");
        debugConsole(line);
        return postGenerationStep(GenerationStep::Outcome::skipped, line);
    }
    const QString podfile = details.projectRoot() + QStringLiteral("/Podfile");
    const ScriptResult result = runner.executeCommandWithStatus(postGenerationCommand(details, routes, script));
    debugConsole(result.output);
    const QFileInfo written(podfile);
    if (result.exitCode != 0 || !written.isFile()) {
        QString detail = result.output.trimmed();
        if (!written.isFile())
            detail = (detail.isEmpty() ? QString() : detail + QLatin1Char('\n'))
                     + QStringLiteral("post_gen.sh left no Podfile in ") + details.projectRoot();
        else if (detail.isEmpty())
            detail = QStringLiteral("post_gen.sh ended with status %1").arg(result.exitCode);
        return postGenerationStep(GenerationStep::Outcome::failed, detail);
    }
    return postGenerationStep(GenerationStep::Outcome::done);
}

bool installPods(const ProjectDetailsModel &details, const ResourceBundle &bundle, const CommandRunner &runner)
{
    const QString script = scriptPath(bundle, ResourceScript::podInstall, QStringLiteral("sh"));
    if (script.isEmpty())
        return false;
    return runner.executeAppleScript(AppleScripts::installPods(script, details.projectRoot())).executionStatus;
}

GenerationStep installPodsInForeground(const ProjectDetailsModel &details, const ResourceBundle &bundle,
                                       const CommandRunner &runner)
{
    const auto failed = [](const QString &detail) {
        return GenerationStep{GenerationStepKind::podInstallation, {}, GenerationStep::Outcome::failed, detail};
    };
    QString command = podInstallCommand(details, bundle);
    if (command.isEmpty())
        return failed(QStringLiteral("PodInstall.sh is missing from the application's resources"));
    command.chop(1); // the carriage return that presses Return in the terminal
    const ScriptResult result = runner.executeInForeground(command);
    if (result.exitCode != 0)
        return failed(result.output.isEmpty() ? QStringLiteral("PodInstall.sh ended with status %1").arg(result.exitCode)
                                              : result.output.trimmed());
    const LibraryRoutes routes = libraryRoutes(details, LibraryPackages::load(bundle));
    if (!isProjectReady(details, routes)) {
        if (usesPodfile(details, routes))
            return failed(QStringLiteral("Not every selected pod has its folder in ") + podsDirectoryPath(details));
        return failed(QStringLiteral("There is no ") + projectOpenPath(details, routes));
    }
    return {GenerationStepKind::podInstallation, {}, GenerationStep::Outcome::done, {}};
}

bool isValidPodName(const QString &name)
{
    // A part made only of dots (".", "..") is a path, not a pod.
    static const QRegularExpression podName(
        QStringLiteral("\\A(?!\\.+(?:/|\\z))[A-Za-z0-9_.+-]+(/(?!\\.+(?:/|\\z))[A-Za-z0-9_.+-]+)*\\z"));
    return podName.match(name).hasMatch();
}

} // namespace plinth
