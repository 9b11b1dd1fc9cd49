#include "cli/CliApplication.h"

#include "cli/CliOutput.h"
#include "cli/DoctorCommand.h"
#include "cli/GenerateCommand.h"
#include "cli/ProjectDescription.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QTimer>

#include <cstdio>

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

int generate(const QString &file, bool installPods, const CliContext &context)
{
    const ProjectDescription description = readProjectDescriptionFile(file);
    if (!description.isValid()) {
        for (const QString &problem : description.problems)
            printErrorLine(file + QStringLiteral(": ") + problem);
        return cliInvalidDescription;
    }
    GenerateCommand command(context, description.details, installPods);
    return runInEventLoop(command);
}

int doctor(const CliContext &context)
{
    DoctorCommand command(context);
    return runInEventLoop(command);
}

} // namespace

void setUpCliApplication()
{
    QCoreApplication::setApplicationName(QStringLiteral("plinth-cli"));
    QCoreApplication::setApplicationVersion(QStringLiteral(PLINTH_VERSION));
}

QString cliHelpText()
{
    return QStringLiteral(
        "Usage: plinth-cli generate FILE.json [--no-install]\n"
        "       plinth-cli doctor\n"
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
        "\n"
        "Options:\n"
        "  --no-install        generate: leave the pods to be installed later.\n"
        "  -h, --help          Show this help.\n"
        "  -v, --version       Show the version.\n"
        "\n"
        "Exit status:\n"
        "  0  every step succeeded (doctor: every tool is present)\n"
        "  1  a step failed (doctor: a tool is missing)\n"
        "  2  invalid description or command line; every problem is listed, one per\n"
        "     line, and nothing is written\n");
}

int runCli(const QStringList &arguments, const CliContext &context)
{
    QCommandLineParser parser;
    const QCommandLineOption help = parser.addHelpOption();
    const QCommandLineOption version = parser.addVersionOption();
    const QCommandLineOption noInstall(QStringLiteral("no-install"));
    parser.addOption(noInstall);
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
    if (command == QLatin1String("generate")) {
        if (positional.size() != 2)
            return usageError(QStringLiteral("generate takes one description file (plinth-cli generate FILE.json)"));
        return generate(positional.at(1), !parser.isSet(noInstall), context);
    }
    if (command == QLatin1String("doctor")) {
        if (positional.size() != 1)
            return usageError(QStringLiteral("doctor takes no arguments"));
        if (parser.isSet(noInstall))
            return usageError(QStringLiteral("--no-install belongs to generate"));
        return doctor(context);
    }
    return usageError(QStringLiteral("unknown command \"") + command + QLatin1Char('"'));
}

} // namespace plinth
