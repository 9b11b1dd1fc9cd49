#include "app/AppDelegate.h"
#include "app/Startup.h"
#include "app/base/BuildInfo.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QCoreApplication>

#include <optional>

namespace {

/// Answers --help and --version the way a desktop program does, before any
/// window system is touched (so they work without a display). Returns the
/// exit code when the program should end here.
std::optional<int> answerCommandLine(int argc, char *argv[])
{
    QCoreApplication console(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("Plinth"));
    QCoreApplication::setApplicationVersion(QString::fromLatin1(plinth::buildInfo::version));
    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("A wizard that sets up new iOS app projects and adds ready-made modules to existing ones."));
    const QCommandLineOption help = parser.addHelpOption();
    const QCommandLineOption version = parser.addVersionOption();
    // Options of the window system (-platform, -style, ...) belong to Qt.
    parser.setOptionsAfterPositionalArgumentsMode(QCommandLineParser::ParseAsPositionalArguments);
    parser.parse(QCoreApplication::arguments());
    if (parser.isSet(help)) {
        std::fputs(qPrintable(parser.helpText()), stdout);
        return 0;
    }
    if (parser.isSet(version)) {
        std::printf("%s %s\n", qPrintable(QCoreApplication::applicationName()),
                    qPrintable(QCoreApplication::applicationVersion()));
        return 0;
    }
    return std::nullopt;
}

} // namespace

int main(int argc, char *argv[])
{
    if (const std::optional<int> exitCode = answerCommandLine(argc, argv))
        return *exitCode;

    QApplication application(argc, argv);
    plinth::AppDelegate delegate;
    plinth::prepareApplication(delegate);
    return application.exec();
}
