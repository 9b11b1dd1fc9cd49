#include "toolchain/AppleScripts.h"
#include "toolchain/CommandRunner.h"
#include "toolchain/OnWorker.h"
#include "tools/TestFiles.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
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
    static const QRegularExpression literal(QStringLiteral("do script \"((?:[^\"\\\\]|\\\\[\"\\\\])*)\""));
    static const QRegularExpression escape(QStringLiteral("\\\\([\"\\\\])"));
    const QRegularExpressionMatch match = literal.match(program);
    return match.hasMatch() ? match.captured(1).replace(escape, QStringLiteral("\\1")) : QString();
}

} // namespace

class TestAppleScripts : public QObject
{
    Q_OBJECT

    /// A folder whose name needs quoting, holding the scripts the tests run.
    QTemporaryDir m_dir{QDir::tempPath() + QStringLiteral("/plinth runner 'it's' $HOME-XXXXXX")};

    QString recordPath() const { return m_dir.filePath("record"); }
    QString markerPath() const { return m_dir.filePath("marker"); }
    QString recorderPath() const { return m_dir.filePath("record args.sh"); }

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

    void scriptTextIsTheFixedProgram()
    {
        const QString resources = "/Applications/Plinth.app/Contents/Resources/";
        const QString expected = PLINTH_FIXTURES_DIR "/expected/applescript-";
        QCOMPARE(AppleScripts::preProjectSetup(resources + "PreProjectSetupCommands.sh").scriptText().toUtf8(),
                 readFile(expected + "preProjectSetup.txt"));
        const AppleScripts pods = AppleScripts::installPods(resources + "PodInstall.sh", "/Users/jane/Projects/Demo");
        QCOMPARE(pods.scriptText().toUtf8(), readFile(expected + "installPods.txt"));
    }

    void terminalGetsEachValueAsOneWord_data()
    {
        QTest::addColumn<QString>("projectPath");

        const QString marker = markerPath();
        QTest::newRow("quotes") << "/tmp/it's \"quoted\"";
        QTest::newRow("history expansion") << "/tmp/wow!!/x!$";
        QTest::newRow("backslash") << "/tmp/a\\ b\\";
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

        for (const QStringList &shell : {QStringList{"/bin/bash", "--norc", "--noprofile", "-i"},
                                         QStringList{"/bin/zsh", "-f", "-i"}}) {
            if (!QFileInfo(shell.first()).isExecutable())
                QSKIP("needs bash and zsh (scripts/setup.sh installs them)");
            QFile::remove(recordPath());
            QProcess terminal;
            terminal.setProcessChannelMode(QProcess::MergedChannels);
            terminal.start(shell.first(), shell.mid(1));
            terminal.write((typed + "\nexit\n").toUtf8());
            terminal.closeWriteChannel();
            QVERIFY(terminal.waitForFinished(10000));
            QCOMPARE(QString::fromUtf8(readFile(recordPath())), "1\n" + projectPath + '\n');
            QVERIFY2(!QFile::exists(markerPath()), qPrintable(shell.first() + " ran a second command"));
        }
    }

    /// Where osascript exists it gets "-e" and the program, and only its
    /// standard output comes back, trimmed; its status decides the flag.
    /// (Without osascript bash runs the command: TestPodInstallation.)
    void osascriptRunsTheProgram()
    {
        Launchers launchers;
        launchers.appleScript = PLINTH_FIXTURES_DIR "/fake-toolchain/osascript";
        launchers.bash = "/nonexistent/bash";
        const CommandRunner runner(launchers);
        const AppleScripts program = AppleScripts::installPods(recorderPath(), markerPath());
        qputenv("FAKE_OSASCRIPT_STATUS", "1");
        const AppleScriptResult result = onWorker([&] { return runner.executeAppleScript(program); });
        qunsetenv("FAKE_OSASCRIPT_STATUS");
        QVERIFY(!result.executionStatus);
        QCOMPARE(result.output, "-e\n" + program.scriptText());
        QVERIFY(!QFile::exists(markerPath()));
    }
};

QTEST_GUILESS_MAIN(TestAppleScripts)
#include "TestAppleScripts.moc"
