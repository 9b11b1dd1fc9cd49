#pragma once

#include "generation/GenerationFixture.h"

#include <QDir>
#include <QDirIterator>
#include <QFileInfo>
#include <QMap>
#include <QProcess>
#include <QProcessEnvironment>
#include <QString>
#include <QStringList>
#include <QTest>

/// Running plinth-cli as a user would, and looking at what it left.
namespace cli {

/// The shipped program, and the same program built for the tests
/// (cli/CliUnderTest.cpp).
inline const QString shipped = QStringLiteral(PLINTH_CLI);
inline const QString underTest = QStringLiteral(PLINTH_CLI_UNDER_TEST);

struct Result
{
    int exitCode = -1;
    QStringList out; ///< standard output, line by line
    QStringList err; ///< standard error, line by line

    QString all() const { return out.join(QLatin1Char('\n')) + QStringLiteral("\n--- stderr:\n") + err.join(QLatin1Char('\n')); }
};

inline QStringList lines(const QByteArray &bytes)
{
    QString text = QString::fromUtf8(bytes);
    if (text.endsWith(QLatin1Char('\n')))
        text.chop(1);
    return text.isEmpty() ? QStringList() : text.split(QLatin1Char('\n'));
}

/// Runs `program` with `arguments` in `directory`, with `extra` added to the
/// environment, to its end. The test's event loop runs meanwhile, so that a
/// loopback server of the test can answer the program.
inline Result run(const QString &program, const QStringList &arguments, const QString &directory,
                  const QMap<QString, QString> &extra = {})
{
    QProcess process;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    for (auto it = extra.begin(); it != extra.end(); ++it)
        environment.insert(it.key(), it.value());
    process.setProcessEnvironment(environment);
    process.setWorkingDirectory(directory);
    process.start(program, arguments);
    if (!process.waitForStarted() || !QTest::qWaitFor([&] { return process.state() == QProcess::NotRunning; }, 180000)) {
        process.kill();
        process.waitForFinished();
        return {-1, {}, {process.errorString()}};
    }
    return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
            lines(process.readAllStandardOutput()), lines(process.readAllStandardError())};
}

/// The environment that gives the test program the fake toolchain (or the
/// search path given), and the bundle at `bundleRoot` when one is named.
inline QMap<QString, QString> fakeToolchain(const QString &bundleRoot = {},
                                            const QString &searchPath = fixture::fakeToolchain()
                                                                        + QStringLiteral(":/usr/local/bin:/usr/bin:/bin"))
{
    QMap<QString, QString> environment{
        {QStringLiteral("PLINTH_CLI_TEST_TOOLCHAIN"), searchPath},
        {QStringLiteral("PLINTH_CLI_TEST_SCRIPT_SHELL"), fixture::fakeToolchain() + QStringLiteral("/script-shell")}};
    if (!bundleRoot.isEmpty())
        environment.insert(QStringLiteral("PLINTH_CLI_TEST_BUNDLE"), bundleRoot);
    return environment;
}

/// Every entry below `root` (folders, files, links) with its kind, size and
/// modification time, to tell whether anything was written.
inline QMap<QString, QString> snapshot(const QString &root)
{
    QMap<QString, QString> entries;
    QDirIterator it(root, QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QFileInfo info(it.next());
        entries.insert(QDir(root).relativeFilePath(info.filePath()),
                       QStringLiteral("%1 %2 %3")
                           .arg(info.isSymLink() ? QStringLiteral("link") : info.isDir() ? QStringLiteral("dir") : QStringLiteral("file"))
                           .arg(info.size())
                           .arg(info.lastModified().toMSecsSinceEpoch()));
    }
    return entries;
}

} // namespace cli
