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
    // Commands run with ours and the user's search path; scripts with LANG
    // and PATH only. Neither sets a working directory. In the search path the
    // login name goes into each home entry; the user's Ruby managers come
    // before Homebrew, Homebrew before the system.
    void environments()
    {
        const QStringList jane = toolchainSearchPathFor("jane").split(QLatin1Char(':'));
        QList<qsizetype> order;
        for (const char *entry : {"/Users/jane/.rbenv/shims", "/opt/homebrew/bin", "/usr/local/bin", "/usr/bin"})
            order << jane.indexOf(entry);
        QVERIFY2(order.first() >= 0 && std::is_sorted(order.begin(), order.end()), qPrintable(jane.join(':')));

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

        QTest::newRow("no input to read") << "cat" << "" << 0;
        QTest::newRow("stdout and stderr interleaved") << "echo one; echo two >&2; echo three; echo four >&2"
                                                       << "one\ntwo\nthree\nfour\n" << 0;
        QTest::newRow("non-zero exit, UTF-8") << "printf 'Zo\\303\\253\\n' >&2; exit 3" << "Zoë\n" << 3;
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

    // A child still running at its time limit is killed with what it started
    // (the call fails and says why); one that leaves a process behind holding the output pipe ends the call when it
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
        // The foreground child keeps the caller's terminal and process group.
        QTest::newRow("foreground, sleeps for ever") << "foreground" << "exec sleep 600" << -1 << true
                                                     << "The command timed out after 1.5 seconds and was stopped.\n" << false;
        QTest::newRow("waits for its own child") << "command" << "sleep 600 & echo $! > %1; wait" << -1 << true << stopped << false;
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
        for (int i = 0; i < 12; ++i) {
            const QString n = QString::number(i);
            commands << QtConcurrent::run(&pool, [&runner, n] {
                return runner.executeCommand(QStringLiteral("sleep 0.2; printf 'command %s ' ") + n
                                             + QStringLiteral("; xcodebuild -version | head -n 1"));
            });
        }
        // Collect only once all have ended: waiting on a future that has not
        // started yet would run it on this thread.
        pool.waitForDone();
        for (int i = 0; i < 12; ++i)
            QCOMPARE(commands[i].result(), QStringLiteral("command %1 Xcode 15.4\n").arg(i));
    }
};

QTEST_GUILESS_MAIN(TestCommandRunner)
#include "TestCommandRunner.moc"
