#include "app/base/DebugConsole.h"
#include "toolchain/AppleScripts.h"
#include "toolchain/CommandRunner.h"
#include "toolchain/OnWorker.h"

#include <QDir>
#include <QElapsedTimer>
#include <QMap>
#include <QProcessEnvironment>
#include <QScopeGuard>
#include <QThreadPool>
#include <QtConcurrent/QtConcurrentRun>
#include <QTemporaryDir>
#include <QtTest>

#include <csignal>

using namespace plinth;
using namespace std::chrono_literals;

using Environment = QMap<QString, QString>;

namespace {

/// The environment the shell of a call was started with, as the kernel
/// recorded it (Linux only): the shell reads its own /proc entry. The second
/// command keeps the shell from replacing itself with `cat`.
const QString ownEnvironment = QStringLiteral("cat /proc/$$/environ; true");

Environment parseEnvironment(const QString &nulSeparated)
{
    Environment environment;
    for (const QString &entry : nulSeparated.split(QChar(0), Qt::SkipEmptyParts)) {
        const qsizetype equals = entry.indexOf(QLatin1Char('='));
        environment.insert(entry.left(equals), entry.mid(equals + 1));
    }
    return environment;
}

/// Whether the process `pid` still runs (a zombie waiting for its parent
/// does not).
bool isAlive(qint64 pid)
{
    QFile stat(QStringLiteral("/proc/%1/stat").arg(pid));
    if (!stat.open(QIODevice::ReadOnly))
        return false;
    const QByteArray fields = stat.readAll();
    return fields.mid(fields.lastIndexOf(')') + 2, 1) != "Z";
}

} // namespace

class TestCommandRunner : public QObject
{
    Q_OBJECT

    const QString m_fakeToolchain = QStringLiteral(PLINTH_FIXTURES_DIR "/fake-toolchain");

private slots:
    // The login name goes into each home entry; the user's Ruby managers
    // come before Homebrew, Homebrew before the system.
    void searchPath()
    {
        const QStringList jane = toolchainSearchPathFor("jane").split(QLatin1Char(':'));
        QList<qsizetype> order;
        for (const char *entry : {"/Users/jane/.rbenv/shims", "/opt/homebrew/bin", "/usr/local/bin", "/usr/bin"})
            order << jane.indexOf(entry);
        QVERIFY2(order.first() >= 0 && std::is_sorted(order.begin(), order.end()), qPrintable(jane.join(':')));

        // A space in the name splits each home entry in two, like the separators.
        QCOMPARE(toolchainSearchPathFor("jane doe"),
                 toolchainSearchPathFor("jane").replace("/Users/jane/", "/Users/jane:doe/"));
    }

    // Commands run with ours and the user's search path; scripts with LANG
    // and PATH only. Neither sets a working directory.
    void environments()
    {
        const CommandRunner runner;
        QCOMPARE(runner.toolchainSearchPath(), toolchainSearchPathFor(currentLoginName()));
        QCOMPARE(onWorker([&] { return runner.executeCommand("printf %s \"$PATH\""); }), runner.toolchainSearchPath());
        QCOMPARE(onWorker([&] { return runner.executeCommand("pwd -P"); }), QDir::current().canonicalPath() + '\n');
        QCOMPARE(onWorker([&] { return runner.executeScripts("pwd -P"); }).output, QDir::current().canonicalPath() + '\n');

        if (!QFileInfo::exists("/proc/self/environ"))
            QSKIP("needs /proc to read a child's environment");
        qputenv("PLINTH_TEST_VARIABLE", "kept = as it is");
        const auto unset = qScopeGuard([] { qunsetenv("PLINTH_TEST_VARIABLE"); });
        const QStringList system = QProcessEnvironment::systemEnvironment().toStringList();
        Environment expected = parseEnvironment(system.join(QChar(0)));
        expected.insert("PATH", runner.toolchainSearchPath());
        const Environment command = parseEnvironment(onWorker([&] { return runner.executeCommand(ownEnvironment); }));
        QCOMPARE(command, expected);
        QCOMPARE(command.value("PLINTH_TEST_VARIABLE"), "kept = as it is");

        const ScriptResult script = onWorker([&] { return runner.executeScripts(ownEnvironment); });
        QCOMPARE(script.exitCode, 0);
        QCOMPARE(parseEnvironment(script.output),
                 (Environment{{"LANG", "en_US.UTF-8"}, {"PATH", runner.toolchainSearchPath()}}));
    }

    void output_data()
    {
        QTest::addColumn<QString>("commandLine");
        QTest::addColumn<QString>("expected");
        QTest::addColumn<int>("exitCode");

        QTest::newRow("nothing printed") << "true" << "" << 0;
        QTest::newRow("no input to read") << "cat" << "" << 0;
        QTest::newRow("leading and trailing blanks kept") << "printf '\\n  x  \\n\\n'" << "\n  x  \n\n" << 0;
        QTest::newRow("stdout and stderr interleaved") << "echo one; echo two >&2; echo three; echo four >&2"
                                                       << "one\ntwo\nthree\nfour\n" << 0;
        QTest::newRow("non-zero exit is a result") << "echo failing >&2; exit 3" << "failing\n" << 3;
        QTest::newRow("UTF-8") << "printf 'Zo\\303\\253 \\346\\235\\261\\n'" << "Zoë 東\n" << 0;
        QTest::newRow("invalid UTF-8 replaced") << "printf 'a\\377b\\300\\n'"
                                                << QStringLiteral("a\uFFFDb\uFFFD\n") << 0;
        // Far more than a pipe buffer, on both streams of the shared pipe.
        QTest::newRow("large output arrives whole")
            << "head -c 6000000 /dev/zero | tr '\\000' a; head -c 3000000 /dev/zero | tr '\\000' b >&2; echo end"
            << QString(6000000, QLatin1Char('a')) + QString(3000000, QLatin1Char('b')) + "end\n" << 0;
        // The status result says why it failed; the plain output does not.
        QTest::newRow("killed by a signal") << "echo before; kill -9 $$" << "before\n" << 9;
    }

    void output()
    {
        QFETCH(QString, commandLine);
        QFETCH(QString, expected);
        QFETCH(int, exitCode);

        const CommandRunner runner;
        QCOMPARE(onWorker([&] { return runner.executeCommand(commandLine); }), expected);
        const ScriptResult script = onWorker([&] { return runner.executeScripts(commandLine); });
        QCOMPARE(script.output, exitCode == 9 ? expected + "The command was killed by signal 9.\n" : expected);
        QCOMPARE(script.exitCode, exitCode);
    }

    void missingLauncher()
    {
        Launchers launchers;
        launchers.commandShell = "/nonexistent/sh";
        launchers.scriptShell = "/nonexistent/zsh";
        launchers.appleScript = "/nonexistent/osascript";
        launchers.bash = "/nonexistent/bash";
        const CommandRunner runner(launchers);

        ConsoleCapture console;
        const ScriptResult script = onWorker([&] { return runner.executeScripts("echo never"); });
        QCOMPARE(script.output, QString());
        QCOMPARE(script.exitCode, -1);
        QCOMPARE(onWorker([&] { return runner.executeCommand("echo never"); }), QString());
        const AppleScriptResult appleScript =
            onWorker([&] { return runner.executeAppleScript(AppleScripts::preProjectSetup("/bin/true")); });
        QCOMPARE(appleScript.output, QString());
        QCOMPARE(appleScript.executionStatus, false);

        QCOMPARE(console.lines().size(), 3);
        for (const QString &line : console.lines())
            QVERIFY2(line.startsWith("Failed to launch process: ") && line.size() > 26, qPrintable(line));
    }

    // A child still running at its time limit is killed with what it started
    // (the call fails and says why); one killed by a signal fails; one that
    // leaves a process behind holding the output pipe ends the call when it
    // ends itself.
    void childrenThatDoNotEndNormally_data()
    {
        QTest::addColumn<QString>("call");
        QTest::addColumn<QString>("commandLine"); // %1: a file for a process id
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<bool>("timedOut");
        QTest::addColumn<QString>("output");
        QTest::addColumn<bool>("leftBehindRuns");
        const QString stopped = "The command timed out after 1.5 seconds and was stopped, with every process it had started.\n";
        QTest::newRow("sleeps for ever") << "command" << "echo begun; sleep 600" << -1 << true << "begun\n" + stopped << false;
        QTest::newRow("script sleeps for ever") << "script" << "echo begun; sleep 600" << -1 << true << "begun\n" + stopped << false;
        // The foreground child keeps the caller's terminal and process group.
        QTest::newRow("foreground, sleeps for ever") << "foreground" << "exec sleep 600" << -1 << true
                                                     << "The command timed out after 1.5 seconds and was stopped.\n" << false;
        QTest::newRow("waits for its own child") << "command" << "sleep 600 & echo $! > %1; wait" << -1 << true << stopped << false;
        QTest::newRow("foreground, kills itself") << "foreground" << "kill -KILL $$" << -1 << false
                                                  << "The command was killed by signal 9.\n" << false;
        QTest::newRow("leaves a child holding the output") << "command" << "sleep 600 & echo $! > %1; echo ended" << 0
                                                           << false << "ended\n" << true;
    }

    void childrenThatDoNotEndNormally()
    {
        QFETCH(QString, call);
        QFETCH(QString, commandLine);
        QFETCH(int, exitCode);
        QFETCH(bool, timedOut);
        QFETCH(QString, output);
        QFETCH(bool, leftBehindRuns);
        QTemporaryDir work;
        const QString pidFile = work.filePath("pid");
        commandLine = commandLine.arg(pidFile);
        CommandRunner runner;
        runner.setToolchainSearchPath("/usr/bin:/bin");
        runner.setTimeLimits({1500ms, 1500ms, 1500ms});

        QElapsedTimer clock;
        clock.start();
        const ScriptResult result = onWorker([&] {
            if (call == "script")
                return runner.executeScripts(commandLine);
            if (call == "foreground")
                return runner.executeInForeground(commandLine);
            return runner.executeCommandWithStatus(commandLine);
        });
        QVERIFY2(clock.elapsed() < 1500 + 5000, qPrintable(QString::number(clock.elapsed())));
        QCOMPARE(result.output, output);
        QCOMPARE(result.exitCode, exitCode);
        QCOMPARE(result.timedOut, timedOut);

        QFile file(pidFile);
        if (!file.open(QIODevice::ReadOnly))
            return;
        const qint64 leftBehind = file.readAll().trimmed().toLongLong();
        QVERIFY(leftBehind > 0);
        if (leftBehindRuns) {
            QVERIFY(isAlive(leftBehind));
            ::kill(pid_t(leftBehind), SIGKILL);
        } else {
            QTRY_VERIFY(!isAlive(leftBehind));
        }
    }

    // Calls from many threads at once, each finding the fake toolchain on
    // the replaced search path.
    void concurrentCalls()
    {
        CommandRunner runner;
        runner.setToolchainSearchPath(m_fakeToolchain + QStringLiteral(":/usr/bin:/bin"));
        QThreadPool pool;
        pool.setMaxThreadCount(12);

        QList<QFuture<QString>> commands;
        QList<QFuture<ScriptResult>> scripts;
        for (int i = 0; i < 12; ++i) {
            const QString n = QString::number(i);
            commands << QtConcurrent::run(&pool, [&runner, n] {
                return runner.executeCommand(QStringLiteral("sleep 0.2; printf 'command %s ' ") + n
                                             + QStringLiteral("; xcodebuild -version | head -n 1"));
            });
            scripts << QtConcurrent::run(&pool, [&runner, n] {
                return runner.executeScripts(QStringLiteral("sleep 0.2; head -c 200000 /dev/zero | tr '\\000' x; exit ") + n);
            });
        }
        // Collect only once all have ended: waiting on a future that has not
        // started yet would run it on this thread.
        pool.waitForDone();
        for (int i = 0; i < 12; ++i) {
            QCOMPARE(commands[i].result(), QStringLiteral("command %1 Xcode 15.4\n").arg(i));
            const ScriptResult script = scripts[i].result();
            QCOMPARE(script.exitCode, i);
            QCOMPARE(script.output, QString(200000, QLatin1Char('x')));
        }
    }
};

QTEST_GUILESS_MAIN(TestCommandRunner)
#include "TestCommandRunner.moc"
