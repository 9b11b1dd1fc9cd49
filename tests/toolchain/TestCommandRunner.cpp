#include "app/DebugConsole.h"
#include "toolchain/AppleScripts.h"
#include "toolchain/CommandRunner.h"
#include "toolchain/OnWorker.h"

#include <QDir>
#include <QMap>
#include <QProcessEnvironment>
#include <QThreadPool>
#include <QtConcurrent/QtConcurrentRun>
#include <QtTest>

using namespace plinth;

using Environment = QMap<QString, QString>;

namespace {

const QString scriptsPath = QStringLiteral("/usr/local/bin:/opt/homebrew/bin:/usr/bin:/bin:/usr/sbin:/sbin");

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

Environment toMap(const QProcessEnvironment &environment)
{
    Environment map;
    for (const QString &name : environment.keys())
        map.insert(name, environment.value(name));
    return map;
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
        const QStringList jane = toolchainSearchPathFor(QStringLiteral("jane")).split(QLatin1Char(':'));
        QCOMPARE(jane.size(), 20);
        QCOMPARE(jane.first(), QStringLiteral("/Users/jane/.rvm/gems/ruby-3.0.0/bin"));
        QCOMPARE(jane.last(), QStringLiteral("/Users/jane/.rvm/bin"));
        QVERIFY(jane.indexOf(QStringLiteral("/Users/jane/.rbenv/shims")) < jane.indexOf(QStringLiteral("/opt/homebrew/bin")));
        QVERIFY(jane.indexOf(QStringLiteral("/opt/homebrew/bin")) < jane.indexOf(QStringLiteral("/usr/local/bin")));
        QVERIFY(jane.indexOf(QStringLiteral("/usr/local/bin")) < jane.indexOf(QStringLiteral("/usr/bin")));

        // A space in the name splits each home entry in two, like the separators.
        QStringList spaced;
        for (const QString &entry : jane) {
            if (entry.startsWith(QLatin1String("/Users/jane/")))
                spaced << QStringLiteral("/Users/jane") << QStringLiteral("doe/") + entry.mid(12);
            else
                spaced << entry;
        }
        QCOMPARE(toolchainSearchPathFor(QStringLiteral("jane doe")).split(QLatin1Char(':')), spaced);
    }

    void productionSearchPathIsComposedForTheUser()
    {
        const CommandRunner runner;
        QCOMPARE(runner.toolchainSearchPath(), toolchainSearchPathFor(currentLoginName()));
        QCOMPARE(onWorker([&] { return runner.executeCommand(QStringLiteral("printf %s \"$PATH\"")); }),
                 toolchainSearchPathFor(currentLoginName()));
        // The production path holds /usr/bin, so `id` answers here too.
        QCOMPARE(onWorker([&] { return runner.executeCommand(QStringLiteral("id -un")); }),
                 currentLoginName() + QLatin1Char('\n'));
    }

    void replacedSearchPathFindsTheFakeToolchain()
    {
        CommandRunner runner;
        runner.setToolchainSearchPath(m_fakeToolchain);
        QCOMPARE(runner.toolchainSearchPath(), m_fakeToolchain);
        QCOMPARE(onWorker([&] { return runner.executeCommand(QStringLiteral("command -v xcodebuild")); }),
                 m_fakeToolchain + QStringLiteral("/xcodebuild\n"));
        QCOMPARE(onWorker([&] { return runner.executeCommand(QStringLiteral("xcodebuild -version")); }),
                 QStringLiteral("Xcode 15.4\nBuild version 15F31d\n"));
        // An absent tool prints nothing at all.
        QCOMPARE(onWorker([&] { return runner.executeCommand(QStringLiteral("command -v carthage")); }), QString());
    }

    void environments()
    {
        if (!QFileInfo::exists(QStringLiteral("/proc/self/environ")))
            QSKIP("needs /proc to read a child's environment");
        qputenv("PLINTH_TEST_VARIABLE", "kept = as it is");
        const CommandRunner runner;

        Environment expected = toMap(QProcessEnvironment::systemEnvironment());
        expected.insert(QStringLiteral("PATH"), runner.toolchainSearchPath());
        const Environment command = parseEnvironment(onWorker([&] { return runner.executeCommand(ownEnvironment); }));
        QCOMPARE(command, expected);
        QCOMPARE(command.value(QStringLiteral("PLINTH_TEST_VARIABLE")), QStringLiteral("kept = as it is"));

        const ScriptResult script = onWorker([&] { return runner.executeScripts(ownEnvironment); });
        QCOMPARE(script.exitCode, 0);
        const Environment onlyTwo = {{QStringLiteral("LANG"), QStringLiteral("en_US.UTF-8")},
                                     {QStringLiteral("PATH"), scriptsPath}};
        QCOMPARE(parseEnvironment(script.output), onlyTwo);
        qunsetenv("PLINTH_TEST_VARIABLE");

        // Neither sets a working directory: the child starts in ours.
        QCOMPARE(onWorker([&] { return runner.executeCommand(QStringLiteral("pwd -P")); }),
                 QDir::current().canonicalPath() + QLatin1Char('\n'));
        QCOMPARE(onWorker([&] { return runner.executeScripts(QStringLiteral("pwd -P")); }).output,
                 QDir::current().canonicalPath() + QLatin1Char('\n'));
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
        QCOMPARE(script.output, expected);
        QCOMPARE(script.exitCode, exitCode);
    }

    void largeOutputArrivesWhole()
    {
        // Far more than a pipe buffer, on both streams of the shared pipe.
        const QString commandLine = QStringLiteral("head -c 6000000 /dev/zero | tr '\\000' a; "
                                                   "head -c 3000000 /dev/zero | tr '\\000' b >&2; echo end");
        const CommandRunner runner;
        const QString command = onWorker([&] { return runner.executeCommand(commandLine); });
        const ScriptResult script = onWorker([&] { return runner.executeScripts(commandLine); });
        for (const QString &output : {command, script.output}) {
            QCOMPARE(output.size(), 9000004);
            QCOMPARE(output.count(QLatin1Char('a')), 6000000);
            QCOMPARE(output.count(QLatin1Char('b')), 3000000);
            QVERIFY(output.endsWith(QLatin1String("bend\n")));
        }
        QCOMPARE(script.exitCode, 0);
    }

    void missingLauncher()
    {
        Launchers launchers;
        launchers.commandShell = QStringLiteral("/nonexistent/sh");
        launchers.scriptShell = QStringLiteral("/nonexistent/zsh");
        launchers.appleScript = QStringLiteral("/nonexistent/osascript");
        launchers.bash = QStringLiteral("/nonexistent/bash");
        const CommandRunner runner(launchers);

        ConsoleCapture console;
        const ScriptResult script = onWorker([&] { return runner.executeScripts(QStringLiteral("echo never")); });
        QCOMPARE(script.output, QString());
        QCOMPARE(script.exitCode, -1);
        QCOMPARE(onWorker([&] { return runner.executeCommand(QStringLiteral("echo never")); }), QString());
        const AppleScriptResult appleScript =
            onWorker([&] { return runner.executeAppleScript(AppleScripts::preProjectSetup(QStringLiteral("/bin/true"))); });
        QCOMPARE(appleScript.output, QString());
        QCOMPARE(appleScript.executionStatus, false);

        const QStringList lines = console.lines();
        QCOMPARE(lines.size(), 3);
        for (const QString &line : lines) {
            QVERIFY2(line.startsWith(QLatin1String("Failed to launch process: ")), qPrintable(line));
            QVERIFY(line.size() > int(qstrlen("Failed to launch process: ")));
        }
    }

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
