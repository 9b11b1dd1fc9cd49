#include "cli/CliApplication.h"

#include "app/base/BuildInfo.h"
#include "app/base/DebugConsole.h"
#include "app/base/TextCatalog.h"
#include "catalogs/PodfileReader.h"
#include "cli/CliOutput.h"
#include "cli/DoctorCommand.h"
#include "cli/DryRunCommand.h"
#include "cli/GenerateCommand.h"
#include "cli/PodsCommand.h"
#include "cli/ProjectDescription.h"
#include "generation/UncommittedWork.h"
#include "project/ExistingProjectDiscovery.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QtConcurrent>
#include <QTimer>

#include <cstdio>
#include <optional>

namespace plinth {

namespace {

int usageError(const QString &message)
{
    printErrorLine(QStringLiteral("plinth-cli: ") + message);
    printErrorLine(QStringLiteral("Run \"plinth-cli --help\" for the commands."));
    return cliInvalidDescription;
}

/// Starts `command` once the event loop runs and returns its exit code.
template <typename Command>
int runInEventLoop(Command &command)
{
    QObject::connect(&command, &Command::finished, QCoreApplication::instance(), &QCoreApplication::exit,
                     Qt::QueuedConnection);
    QTimer::singleShot(0, &command, [&command] { command.start(); });
    return QCoreApplication::exec();
}

int generate(const QString &file, const std::optional<QString> &destination, bool installPods, bool allowDirty,
             bool dryRun, const CliContext &context)
{
    const ProjectDescription description = readProjectDescriptionFile(file, destination);
    if (!description.isValid()) {
        for (const QString &problem : description.problems)
            printErrorLine(file + QStringLiteral(": ") + problem);
        return cliInvalidDescription;
    }
    if (dryRun)
        return previewGeneration(description.details, context);
    if (description.details.projectType == ProjectType::existing && !allowDirty) {
        const ProjectDetailsModel &details = description.details;
        // Git blocks, so it never runs on the main thread.
        const QStringList dirty = QtConcurrent::run([&] {
                                      const LibraryPackages catalog = LibraryPackages::load(context.bundle);
                                      return uncommittedChanges(*context.runner, details.projectRoot(),
                                                                filesTheRunChanges(details, catalog));
                                  }).result();
        if (!dirty.isEmpty()) {
            printErrorLine(QStringLiteral("plinth-cli: Git holds uncommitted changes in files this run would change:"));
            for (const QString &path : dirty)
                printErrorLine(QStringLiteral("    ") + path);
            printErrorLine(QStringLiteral("Commit or stash them first, or run again with --allow-dirty."));
            return cliInvalidDescription;
        }
    }
    GenerateCommand command(context, description.details, installPods);
    return runInEventLoop(command);
}

int doctor(const CliContext &context)
{
    DoctorCommand command(context);
    return runInEventLoop(command);
}

/// The text of the file at `path`; nothing, with the reason on standard
/// error, when it cannot be read.
std::optional<QString> readTextFile(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        printErrorLine(path + QStringLiteral(": cannot be read: ") + file.errorString());
        return std::nullopt;
    }
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError) {
        printErrorLine(path + QStringLiteral(": cannot be read: ") + file.errorString());
        return std::nullopt;
    }
    return QString::fromUtf8(bytes);
}

/// `pods` with the UI kind and, when given, the saved page and the Podfile
/// (read for `target`, by default the project beside it).
int pods(const QString &ui, const std::optional<QString> &pageFile, const std::optional<QString> &podfileFile,
         const std::optional<QString> &target, const CliContext &context)
{
    PodsCommand::Options options;
    options.packages = LibraryPackages::load(context.bundle);
    if (ui == text(key::uiKit))
        options.isUIKitProject = true;
    else if (ui == text(key::swiftUi))
        options.isUIKitProject = false;
    else
        return usageError(QStringLiteral("--ui takes \"%1\" or \"%2\", not \"%3\"")
                              .arg(text(key::uiKit), text(key::swiftUi), ui));
    if (pageFile && !(options.page = readTextFile(*pageFile)))
        return cliInvalidDescription;
    if (podfileFile) {
        const QFileInfo podfile(*podfileFile);
        if (!podfile.isFile()) {
            printErrorLine(*podfileFile + QStringLiteral(": cannot be read: not a file"));
            return cliInvalidDescription;
        }
        const QString name = target.value_or(findProjectPackage(podfile.absolutePath()).projectName);
        if (name.isEmpty())
            return usageError(QStringLiteral("--podfile: no .xcodeproj beside ") + *podfileFile
                              + QStringLiteral(" names the app target; give it with --target NAME"));
        // The runner blocks, so it never runs on the main thread.
        const PodfileListing listing = QtConcurrent::run([&] {
                                           return listPodfilePods(podfile.absoluteFilePath(), name, context.bundle,
                                                                  *context.runner);
                                       }).result();
        if (!listing.read) {
            printErrorLine(*podfileFile + QStringLiteral(": ") + listing.error);
            return cliInvalidDescription;
        }
        options.podfilePods = listing.pods;
    } else if (target) {
        return usageError(QStringLiteral("--target belongs to --podfile"));
    }
    PodsCommand command(context, std::move(options));
    return runInEventLoop(command);
}

} // namespace

void setUpCliApplication()
{
    QCoreApplication::setApplicationName(QStringLiteral("plinth-cli"));
    QCoreApplication::setApplicationVersion(QString::fromLatin1(buildInfo::version));
    setConsoleForm(ConsoleForm::plain);
}

QString cliHelpText()
{
    return QStringLiteral(
        "Usage: plinth-cli generate FILE.json [--no-install] [--dry-run]\n"
        "                           [--destination FOLDER] [--allow-dirty]\n"
        "       plinth-cli doctor\n"
        "       plinth-cli pods [--ui UIKit|SwiftUI] [--page FILE] [--podfile FILE [--target NAME]]\n"
        "       plinth-cli --help | --version\n"
        "\n"
        "Plinth's project generation without its window: for teams that scaffold\n"
        "from a checked-in description, and for smoke tests of the templates.\n"
        "\n"
        "Commands:\n"
        "  generate FILE.json  Check the project description in FILE.json (the fields\n"
        "                      of the wizard's screens; see the README) with the rules\n"
        "                      the screens apply, generate the new project or add the\n"
        "                      modules to the existing one, printing each step and its\n"
        "                      outcome, then install the pods in the foreground.\n"
        "  doctor              Check once for the six tools that generation needs.\n"
        "  pods                List the pods the pod screen offers, one per line as\n"
        "                      NAME<TAB>DESCRIPTION: the maker's libraries on the\n"
        "                      published library page for the UI kind, without the\n"
        "                      pods the project already gets.\n"
        "\n"
        "Options:\n"
        "  --no-install        generate: leave the pods to be installed later.\n"
        "  --dry-run           generate: write nothing; run on a copy in a temporary\n"
        "                      folder and print what would change (a diff that\n"
        "                      patch -p1 applies) or the tree a new project would have.\n"
        "  --destination FOLDER\n"
        "                      generate: use FOLDER instead of the description's\n"
        "                      projectPath (a new project's plinth.json, elsewhere).\n"
        "  --allow-dirty       generate: change an existing project's files even when\n"
        "                      Git holds uncommitted changes in them.\n"
        "  --ui KIND           pods: UIKit (the default) or SwiftUI.\n"
        "  --page FILE         pods: read a saved copy of the library page instead.\n"
        "  --podfile FILE      pods: leave out the pods this existing project's Podfile\n"
        "                      gives its app target (by default, the preset pods of a\n"
        "                      new project).\n"
        "  --target NAME       pods: the app target of --podfile (by default, the name\n"
        "                      of the .xcodeproj beside it).\n"
        "  -h, --help          Show this help.\n"
        "  -v, --version       Show the version.\n"
        "\n"
        "Exit status:\n"
        "  0  every step succeeded (doctor: every tool is present; pods: listed)\n"
        "  1  a step failed (doctor: a tool is missing; pods: the page cannot be read)\n"
        "  2  invalid description, command line or file, a missing resource bundle,\n"
        "     or (generate) uncommitted changes in files the run would change; every\n"
        "     problem is listed, one per line, and nothing is written\n");
}

int runCli(const QStringList &arguments, const CliContext &context)
{
    QCommandLineParser parser;
    const QCommandLineOption help = parser.addHelpOption();
    const QCommandLineOption version = parser.addVersionOption();
    const QCommandLineOption noInstall(QStringLiteral("no-install"));
    parser.addOption(noInstall);
    const QCommandLineOption destination(QStringLiteral("destination"), QString(), QStringLiteral("FOLDER"));
    parser.addOption(destination);
    const QCommandLineOption allowDirty(QStringLiteral("allow-dirty"));
    parser.addOption(allowDirty);
    const QCommandLineOption dryRun(QStringLiteral("dry-run"));
    parser.addOption(dryRun);
    const QCommandLineOption ui(QStringLiteral("ui"), QString(), QStringLiteral("KIND"));
    const QCommandLineOption page(QStringLiteral("page"), QString(), QStringLiteral("FILE"));
    const QCommandLineOption podfile(QStringLiteral("podfile"), QString(), QStringLiteral("FILE"));
    const QCommandLineOption target(QStringLiteral("target"), QString(), QStringLiteral("NAME"));
    parser.addOptions({ui, page, podfile, target});
    if (!parser.parse(arguments))
        return usageError(parser.errorText());
    if (parser.isSet(help)) {
        std::fputs(cliHelpText().toUtf8().constData(), stdout);
        return cliSucceeded;
    }
    if (parser.isSet(version)) {
        printLine(QCoreApplication::applicationName() + QLatin1Char(' ') + QCoreApplication::applicationVersion());
        return cliSucceeded;
    }

    const QStringList positional = parser.positionalArguments();
    if (positional.isEmpty())
        return usageError(QStringLiteral("no command given"));
    const QString command = positional.first();
    if (command != QLatin1String("generate")) {
        for (const QCommandLineOption &option : {destination, allowDirty, dryRun}) {
            if (parser.isSet(option))
                return usageError(QStringLiteral("--") + option.names().first() + QStringLiteral(" belongs to generate"));
        }
    }
    if (command != QLatin1String("pods")) {
        for (const QCommandLineOption &option : {ui, page, podfile, target}) {
            if (parser.isSet(option))
                return usageError(QStringLiteral("--") + option.names().first() + QStringLiteral(" belongs to pods"));
        }
    }
    const bool usesBundle = command == QLatin1String("generate") || command == QLatin1String("doctor")
                            || command == QLatin1String("pods");
    if (usesBundle && !QFileInfo(context.bundle.root()).isDir()) {
        printErrorLine(QStringLiteral("plinth-cli: the resource bundle (templates, scripts, texts) is missing; "
                                      "looked for it at ")
                       + QDir::toNativeSeparators(context.bundle.root()));
        return cliInvalidDescription;
    }
    if (command == QLatin1String("generate")) {
        if (positional.size() != 2)
            return usageError(QStringLiteral("generate takes one description file (plinth-cli generate FILE.json)"));
        const auto destinationFolder =
            parser.isSet(destination) ? std::optional<QString>(parser.value(destination)) : std::nullopt;
        return generate(positional.at(1), destinationFolder, !parser.isSet(noInstall), parser.isSet(allowDirty),
                        parser.isSet(dryRun), context);
    }
    if (command == QLatin1String("doctor")) {
        if (positional.size() != 1)
            return usageError(QStringLiteral("doctor takes no arguments"));
        if (parser.isSet(noInstall))
            return usageError(QStringLiteral("--no-install belongs to generate"));
        return doctor(context);
    }
    if (command == QLatin1String("pods")) {
        if (positional.size() != 1)
            return usageError(QStringLiteral("pods takes no arguments, only options"));
        if (parser.isSet(noInstall))
            return usageError(QStringLiteral("--no-install belongs to generate"));
        const auto valueOf = [&parser](const QCommandLineOption &option) {
            return parser.isSet(option) ? std::optional<QString>(parser.value(option)) : std::nullopt;
        };
        return pods(parser.isSet(ui) ? parser.value(ui) : text(key::uiKit), valueOf(page), valueOf(podfile),
                    valueOf(target), context);
    }
    return usageError(QStringLiteral("unknown command \"") + command + QLatin1Char('"'));
}

} // namespace plinth
