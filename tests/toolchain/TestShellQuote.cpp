#include "toolchain/ShellQuote.h"

#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

using namespace plinth;

class TestShellQuote : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;

    QString marker() const { return m_dir.filePath(QStringLiteral("marker")); }

    /// Runs the quoted word through `shell -c` and prints the number of
    /// words it became, then each in <...>: one word prints <1><value>. (The
    /// count tells an empty word from none at all.)
    static QString printedBy(const QString &shell, const QString &word)
    {
        QProcess process;
        process.setStandardInputFile(QProcess::nullDevice());
        const QString script = QStringLiteral("set -- ") + word + QStringLiteral("; printf '<%s>' \"$#\" \"$@\"");
        process.start(shell, {QStringLiteral("-c"), script});
        if (!process.waitForFinished(10000))
            return QStringLiteral("(did not finish)");
        return QString::fromUtf8(process.readAllStandardOutput() + process.readAllStandardError());
    }

private slots:
    void initTestCase() { QVERIFY(m_dir.isValid()); }

    /// Values that must reach a program as one unchanged argument. The
    /// marker is a file that a value which escaped its quotes would create.
    void reachesProgramUnchanged_data()
    {
        QTest::addColumn<QString>("value");

        QTest::newRow("plain") << "Demo";
        QTest::newRow("empty") << "";
        QTest::newRow("space") << "/Users/jane doe/My Projects";
        QTest::newRow("single quote") << "it's";
        QTest::newRow("only quotes") << "'''";
        QTest::newRow("double quote") << "say \"hi\"";
        QTest::newRow("dollar") << "$HOME ${PATH} $((1+1))";
        QTest::newRow("backslashes") << "a\\ b\\\\c\\";
        QTest::newRow("glob and tilde") << "~/* ?.[ch] {a,b}";
        QTest::newRow("newline and tab") << "line one\nline two\tend\n";
        QTest::newRow("non-ASCII") << "Zoë Ünïcødé 東京 🚀";
        QTest::newRow("history and options") << "!! -n --help =ls %1 #no comment";
        QTest::newRow("semicolon") << "x; touch " + marker();
        QTest::newRow("closing quote") << "x'; touch " + marker() + "; echo '";
        QTest::newRow("command substitution") << "$(touch " + marker() + ")";
        QTest::newRow("backquotes") << "`touch " + marker() + "`";
        QTest::newRow("double quote escape") << "\"; touch " + marker() + "; \"";
        QTest::newRow("pipe and ampersand") << "a | touch " + marker() + " && touch " + marker() + " &";
        QTest::newRow("line break command") << "x\ntouch " + marker();
    }

    void reachesProgramUnchanged()
    {
        QFETCH(QString, value);
        const QString expected = QStringLiteral("<1><") + value + QLatin1Char('>');
        for (const QString &shell : {QStringLiteral("/bin/sh"), QStringLiteral("/bin/bash"), QStringLiteral("/bin/zsh")}) {
            if (!QFileInfo(shell).isExecutable())
                QSKIP(qPrintable(shell + QStringLiteral(" is not installed (scripts/setup.sh installs it)")));
            QCOMPARE(printedBy(shell, shellQuoted(value)), expected);
            QCOMPARE(printedBy(shell, shellArgument(value)), expected);
            QVERIFY2(!QFile::exists(marker()), qPrintable(shell + QStringLiteral(" ran a second command")));
        }
    }
};

QTEST_GUILESS_MAIN(TestShellQuote)
#include "TestShellQuote.moc"
