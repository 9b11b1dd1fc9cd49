#include "toolchain/terminal/PtyProcess.h"

#include <QScopeGuard>
#include <QSignalSpy>
#include <QtTest>

#include <csignal>
#include <optional>

using namespace plinth;

namespace {

/// Collects what a PtyProcess writes.
struct Output
{
    explicit Output(PtyProcess &process)
    {
        QObject::connect(&process, &PtyProcess::readyRead, &process,
                         [this](const QByteArray &bytes) { received += bytes; });
    }
    QByteArray received;
};

/// Sets `name` to `value` (unsets it for a null value) until the returned
/// guard goes.
auto scopedVariable(const char *name, const QByteArray &value)
{
    const std::optional<QByteArray> old = qEnvironmentVariableIsSet(name) ? std::optional(qgetenv(name)) : std::nullopt;
    value.isNull() ? qunsetenv(name) : qputenv(name, value);
    return qScopeGuard([name, old] { old ? qputenv(name, *old) : qunsetenv(name); });
}

const QString shell = QStringLiteral("/bin/sh");

} // namespace

class TestPtyProcess : public QObject
{
    Q_OBJECT

private slots:
    // The child gets its argument zero, environment and terminal size; its
    // exit code, or 128 plus the signal that ended it, comes back.
    void exitCodes_data()
    {
        QTest::addColumn<QString>("program");
        QTest::addColumn<QString>("script"); // for the shell
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QByteArray>("outputStart");

        QTest::newRow("argument zero, size and environment")
            << shell << "printf '%s|%s|%s|' \"$0\" \"$FOO\" \"$TERM\"; stty size" << 0
            << QByteArray("plinth zero|bar 'baz'|dumb|7 33\r\n");
        QTest::newRow("signal") << shell << "kill -TERM $$" << 128 + SIGTERM << QByteArray();
        QTest::newRow("background child keeps the terminal") << shell << "(sleep 1 &) ; exit 4" << 4 << QByteArray();
        QTest::newRow("missing program") << "/nonexistent dir/program" << "" << 127
                                         << QByteArray("cannot run /nonexistent dir/program: ");
    }

    void exitCodes()
    {
        QFETCH(QString, program);
        QFETCH(QString, script);
        QFETCH(int, exitCode);
        QFETCH(QByteArray, outputStart);

        PtyProcess process;
        Output output(process);
        QSignalSpy finished(&process, &PtyProcess::finished);
        QVERIFY(process.start(program, script.isEmpty() ? QStringList() : QStringList{"-c", script},
                              {"FOO=bar 'baz'", "TERM=dumb"}, "plinth zero", 7, 33));
        QVERIFY(process.isRunning());
        QTRY_COMPARE_WITH_TIMEOUT(finished.size(), 1, 5000);
        QCOMPARE(finished.at(0).at(0).toInt(), exitCode);
        QCOMPARE(process.exitCode(), exitCode);
        QVERIFY(!process.isRunning());
        QVERIFY2(output.received.startsWith(outputStart), output.received.constData());
    }

    // More than a terminal's input buffer holds: the rest waits until the
    // child reads. A process starts once only; what is written after its
    // end goes nowhere.
    void inputReachesTheChild()
    {
        PtyProcess process;
        Output output(process);
        QSignalSpy finished(&process, &PtyProcess::finished);
        QVERIFY(process.start(shell, {"-c", "stty -echo -icanon; head -c 200000 | wc -c"}, {}, {}, 24, 80));
        QVERIFY(!process.start(shell, {}, {}, {}, 24, 80));
        QVERIFY(!process.errorString().isEmpty());
        QTest::qWait(300);
        process.write(QByteArray(200000, 'x'));
        QTRY_VERIFY_WITH_TIMEOUT(output.received.contains("200000"), 10000);
        QTRY_COMPARE(finished.size(), 1);
        process.write("ignored after the end");
    }

    void defaultEnvironment_data()
    {
        QTest::addColumn<QByteArray>("lcAll");
        QTest::addColumn<QByteArray>("lcCtype");
        QTest::addColumn<QByteArray>("lang");
        QTest::addColumn<QString>("expected"); // the variable set to a UTF-8 locale, or none

        QTest::newRow("no locale") << QByteArray() << QByteArray() << QByteArray() << QStringLiteral("LC_CTYPE");
        QTest::newRow("utf-8 language") << QByteArray() << QByteArray() << QByteArray("de_DE.UTF-8") << QString();
        QTest::newRow("posix everything") << QByteArray("POSIX") << QByteArray() << QByteArray("de_DE.UTF-8")
                                          << QStringLiteral("LC_ALL");
    }

    void defaultEnvironment()
    {
        QFETCH(QByteArray, lcAll);
        QFETCH(QByteArray, lcCtype);
        QFETCH(QByteArray, lang);
        QFETCH(QString, expected);

        const auto all = scopedVariable("LC_ALL", lcAll);
        const auto characterSet = scopedVariable("LC_CTYPE", lcCtype);
        const auto language = scopedVariable("LANG", lang);
        const auto term = scopedVariable("TERM", "dumb");
        const QStringList environment = PtyProcess::defaultEnvironment();

        QVERIFY(environment.contains(QStringLiteral("TERM=xterm-256color")));
        QVERIFY(environment.contains(QStringLiteral("PATH=") + qEnvironmentVariable("PATH")));
        for (const QString &name : {QStringLiteral("LC_ALL"), QStringLiteral("LC_CTYPE")}) {
            const QStringList entries = environment.filter(QRegularExpression(QLatin1Char('^') + name + QLatin1Char('=')));
            if (name == expected) {
                QCOMPARE(entries.size(), 1);
                QVERIFY(entries.first().contains(QLatin1String("UTF-8")));
            } else {
                QCOMPARE(entries.size(), qEnvironmentVariableIsSet(qPrintable(name)) ? 1 : 0);
            }
        }
    }

    void destructionEndsTheChild()
    {
        pid_t pid = 0;
        {
            PtyProcess process;
            QVERIFY(process.start(shell, {"-c", "trap '' INT; sleep 30"}, {}, {}, 24, 80));
            pid = process.processId();
            QVERIFY(pid > 0);
        }
        // Hung up and reaped: the process id no longer exists, not even as
        // a zombie.
        QTRY_VERIFY_WITH_TIMEOUT(kill(pid, 0) != 0, 5000);
    }
};

QTEST_GUILESS_MAIN(TestPtyProcess)
#include "TestPtyProcess.moc"
