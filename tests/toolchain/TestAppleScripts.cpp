#include "toolchain/AppleScripts.h"
#include "toolchain/CommandRunner.h"
#include "toolchain/OnWorker.h"
#include "tools/TestFiles.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

using namespace plinth;
using plinth::test::readFile;
using plinth::test::writeFile;

namespace {

/// The text of the AppleScript string literal after `do script `, decoded as
/// AppleScript reads it: what Terminal types into its shell. Empty when the
/// literal is malformed or uses an escape other than \" and \\.
QString doScriptText(const QString &program)
{
    const QString opening = QStringLiteral("do script \"");
    qsizetype i = program.indexOf(opening);
    if (i < 0)
        return {};
    QString text;
    for (i += opening.size(); i < program.size(); ++i) {
        const QChar c = program.at(i);
        if (c == QLatin1Char('"'))
            return text;
        if (c == QLatin1Char('\\')) {
            if (++i == program.size())
                return {};
            const QChar escaped = program.at(i);
            if (escaped != QLatin1Char('"') && escaped != QLatin1Char('\\'))
                return {};
            text += escaped;
        } else {
            text += c;
        }
    }
    return {};
}

} // namespace

class TestAppleScripts : public QObject
{
    Q_OBJECT

    /// A folder whose name needs quoting, holding the scripts the tests run.
    QTemporaryDir m_dir{QDir::tempPath() + QStringLiteral("/plinth runner 'it's' $HOME-XXXXXX")};

    QString recordPath() const { return m_dir.filePath(QStringLiteral("record")); }
    QString markerPath() const { return m_dir.filePath(QStringLiteral("marker")); }
    QString recorderPath() const { return m_dir.filePath(QStringLiteral("record args.sh")); }

private slots:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        // Writes its arguments, one per line, to the record file.
        QVERIFY(writeFile(recorderPath(), "#!/bin/sh\nprintf '%s\\n' \"$#\" \"$@\" > \"$(dirname \"$0\")/record\"\n", true));
    }

    void init()
    {
        QFile::remove(recordPath());
        QFile::remove(markerPath());
    }

    void scriptTextIsTheFixedProgram_data()
    {
        QTest::addColumn<QString>("fixture");
        QTest::addColumn<bool>("installPods");

        QTest::newRow("preProjectSetup") << "applescript-preProjectSetup.txt" << false;
        QTest::newRow("installPods") << "applescript-installPods.txt" << true;
    }

    void scriptTextIsTheFixedProgram()
    {
        QFETCH(QString, fixture);
        QFETCH(bool, installPods);

        const QString resources = QStringLiteral("/Applications/Plinth.app/Contents/Resources/");
        const AppleScripts script = installPods
            ? AppleScripts::installPods(resources + QStringLiteral("PodInstall.sh"), QStringLiteral("/Users/jane/Projects/Demo"))
            : AppleScripts::preProjectSetup(resources + QStringLiteral("PreProjectSetupCommands.sh"));
        QFile expected(QStringLiteral(PLINTH_FIXTURES_DIR "/expected/") + fixture);
        QVERIFY(expected.open(QIODevice::ReadOnly));
        QCOMPARE(script.scriptText().toUtf8(), expected.readAll());
    }

    void terminalGetsEachValueAsOneWord_data()
    {
        QTest::addColumn<QString>("projectPath");

        const QString marker = markerPath();
        QTest::newRow("plain") << "/Users/jane/Projects/Demo";
        QTest::newRow("space") << "/Users/jane/My Projects/Demo App";
        QTest::newRow("quotes") << "/tmp/it's \"quoted\"";
        QTest::newRow("history expansion") << "/tmp/wow!!/x!$";
        QTest::newRow("backslash") << "/tmp/a\\ b\\";
        QTest::newRow("non-ASCII") << "/Users/zoë/Проекты/東京";
        QTest::newRow("substitution") << "/tmp/$(touch " + marker + ")`touch " + marker + "`";
        QTest::newRow("breaks out of double quotes") << "/tmp/\"; touch " + marker + "; echo \"";
        QTest::newRow("breaks out of single quotes") << "/tmp/'; touch " + marker + "; echo '";
        QTest::newRow("line break") << "/tmp/x\ntouch " + marker;
    }

    /// Follows the pod program through every layer: the AppleScript string,
    /// the line Terminal's interactive shell reads (bash or zsh), the
    /// "/bin/bash -c" command. The script must get exactly one argument, the
    /// project path.
    void terminalGetsEachValueAsOneWord()
    {
        QFETCH(QString, projectPath);

        const QString typed = doScriptText(AppleScripts::installPods(recorderPath(), projectPath).scriptText());
        QVERIFY(typed.startsWith(QLatin1String("/bin/bash -c ")));

        for (const QStringList &shell : {QStringList{QStringLiteral("/bin/bash"), QStringLiteral("--norc"),
                                                     QStringLiteral("--noprofile"), QStringLiteral("-i")},
                                         QStringList{QStringLiteral("/bin/zsh"), QStringLiteral("-f"), QStringLiteral("-i")}}) {
            if (!QFileInfo(shell.first()).isExecutable())
                QSKIP("needs bash and zsh (scripts/setup.sh installs them)");
            QFile::remove(recordPath());
            QProcess terminal;
            terminal.setProcessChannelMode(QProcess::MergedChannels);
            terminal.start(shell.first(), shell.mid(1));
            terminal.write((typed + QStringLiteral("\nexit\n")).toUtf8());
            terminal.closeWriteChannel();
            QVERIFY(terminal.waitForFinished(10000));
            QCOMPARE(QString::fromUtf8(readFile(recordPath())), QStringLiteral("1\n") + projectPath + QLatin1Char('\n'));
            QVERIFY2(!QFile::exists(markerPath()), qPrintable(shell.first() + QStringLiteral(" ran a second command")));
        }
    }

    /// Without osascript the command runs with bash; the call returns its
    /// trimmed standard output and status once the command has ended.
    void linuxRouteWaitsForTheCommand_data()
    {
        QTest::addColumn<int>("status");
        QTest::newRow("success") << 0;
        QTest::newRow("failure") << 3;
    }

    void linuxRouteWaitsForTheCommand()
    {
        QFETCH(int, status);

        const QString script = m_dir.filePath(QStringLiteral("slow install.sh"));
        QVERIFY(writeFile(script, "#!/bin/sh\nsleep 0.5\nprintf '\\n\\n  installed into %s \\t\\n\\n' \"$1\"\n"
                                    "echo 'progress on stderr' >&2\n: > \"$1\"\nexit "
                                        + QByteArray::number(status) + "\n", true));
        Launchers launchers;
        launchers.appleScript = QStringLiteral("/nonexistent/osascript");
        const CommandRunner runner(launchers);

        QElapsedTimer timer;
        timer.start();
        const AppleScriptResult result =
            onWorker([&] { return runner.executeAppleScript(AppleScripts::installPods(script, markerPath())); });
        QVERIFY(timer.elapsed() >= 450);
        QVERIFY(QFile::exists(markerPath()));
        QCOMPARE(result.output, QStringLiteral("installed into ") + markerPath());
        QCOMPARE(result.executionStatus, status == 0);
    }

    /// Where osascript exists it gets "-e" and the program; only its standard
    /// output comes back, trimmed, and its status decides the flag.
    void osascriptRoute_data()
    {
        QTest::addColumn<QByteArray>("status");
        QTest::newRow("success") << QByteArray("0");
        QTest::newRow("failure keeps the output") << QByteArray("1");
    }

    void osascriptRoute()
    {
        QFETCH(QByteArray, status);

        Launchers launchers;
        launchers.appleScript = QStringLiteral(PLINTH_FIXTURES_DIR "/fake-toolchain/osascript");
        launchers.bash = QStringLiteral("/nonexistent/bash");
        const CommandRunner runner(launchers);
        const AppleScripts script = AppleScripts::installPods(QStringLiteral("/r/PodInstall.sh"), QStringLiteral("/p/Demo"));

        qputenv("FAKE_OSASCRIPT_STATUS", status);
        const AppleScriptResult result = onWorker([&] { return runner.executeAppleScript(script); });
        qunsetenv("FAKE_OSASCRIPT_STATUS");
        QCOMPARE(result.output, QStringLiteral("-e\n") + script.scriptText());
        QCOMPARE(result.executionStatus, status == "0");
    }
};

QTEST_GUILESS_MAIN(TestAppleScripts)
#include "TestAppleScripts.moc"
