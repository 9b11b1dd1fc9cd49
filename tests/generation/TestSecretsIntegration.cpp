#include "app/DebugConsole.h"
#include "generation/SecretsIntegration.h"
#include "generation/ReadOnlyFolder.h"
#include "tools/TestFiles.h"

#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

#include <sys/stat.h>

using namespace plinth;
using plinth::test::readFile;

namespace {

void writeBytes(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    QCOMPARE(file.write(bytes), bytes.size());
}

// Modification time in nanoseconds, read without following a link.
qint64 modificationTime(const QString &path)
{
    struct stat status {};
    if (::lstat(QFile::encodeName(path).constData(), &status) != 0)
        return -1;
    return qint64(status.st_mtim.tv_sec) * 1000000000 + status.st_mtim.tv_nsec;
}

void makeOld(const QString &path)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadWrite));
    QVERIFY(file.setFileTime(QDateTime(QDate(2020, 1, 2), QTime(3, 4, 5)), QFileDevice::FileModificationTime));
}

ProjectDetailsModel withVariants(const QStringList &labels, const QString &development = QStringLiteral("Development"))
{
    ProjectDetailsModel details;
    details.projectName = QStringLiteral("Orbit");
    details.developmentSchemeName = development;
    for (const QString &label : labels)
        details.configVariant.append({label, true});
    return details;
}

const QByteArray arkanaTemplate = "import_name: 'OrbitSecrets'\n"
                                  "environments:\n"
                                  "  - Debug\n"
                                  "  - Release\n"
                                  "global_secrets:\n"
                                  "  - A\n"
                                  "environment_secrets:\n"
                                  "  - B\n"
                                  "  - C\n";

const QByteArray appSecretsBefore = "enum AppSecrets {\n";
const QByteArray appSecretsSection = "\tprivate static var environment: SecretsEnvironmentProtocol {\n"
                                     "\t\t#if Debug\n\t\treturn Secrets.Debug()\n\t\t#endif\n\t}\n";
const QByteArray appSecretsAfter = "\n\tstatic var apiKey: String { environment.apiKey } // \xc3\xa9t\xc3\xa9\n}\n";

} // namespace

class TestSecretsIntegration : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;

    QString path(const QString &name) const { return m_dir.filePath(name); }

private slots:
    void init()
    {
        QVERIFY(m_dir.isValid());
        QDir(m_dir.path()).removeRecursively();
        QVERIFY(QDir().mkpath(m_dir.path()));
    }

    void arkanaFiles_data()
    {
        QTest::addColumn<QByteArray>("arkana");
        QTest::addColumn<QStringList>("variants");
        QTest::addColumn<QByteArray>("expectedArkana");
        QTest::addColumn<QByteArray>("expectedEnv");

        QTest::newRow("the example") << arkanaTemplate << QStringList{QStringLiteral("Development"), QStringLiteral("UAT")}
                                     << QByteArray("import_name: 'OrbitSecrets'\nenvironments:\n  - Development\n  - UAT\n"
                                                   "global_secrets:\n  - A\nenvironment_secrets:\n  - B\n  - C\n")
                                     << QByteArray("export A = \"Some global secrets\"\n\n# Development Keys\n"
                                                   "export BDevelopment=\nexport CDevelopment=\n\n# UAT Keys\n"
                                                   "export BUAT=\nexport CUAT=\n");
        const QStringList four{QStringLiteral("Development"), QStringLiteral("UAT"), QStringLiteral("Staging"),
                               QStringLiteral("Production")};
        QTest::newRow("four variants")
            << QByteArray("environments:\n  - Debug\nglobal_secrets:\n  - G\nenvironment_secrets:\n  - K\n") << four
            << QByteArray("environments:\n  - Development\n  - UAT\n  - Staging\n  - Production\n"
                          "global_secrets:\n  - G\nenvironment_secrets:\n  - K\n")
            << QByteArray("export G = \"Some global secrets\"\n\n# Development Keys\nexport KDevelopment=\n"
                          "\n# UAT Keys\nexport KUAT=\n\n# Staging Keys\nexport KStaging=\n"
                          "\n# Production Keys\nexport KProduction=\n");
        const QByteArray noItems = "environments:\nglobal_secrets:\n  - G\nenvironment_secrets:\n  - K\n";
        QTest::newRow("environments without items stays") << noItems << QStringList{QStringLiteral("UAT")} << noItems
                                                          << QByteArray("export G = \"Some global secrets\"\n\n"
                                                                        "# UAT Keys\nexport KUAT=\n");
        const QByteArray noEnvironmentSecrets = "environments:\n  - Debug\nglobal_secrets:\n  - G\n";
        QTest::newRow("no environment_secrets gives an empty .env")
            << noEnvironmentSecrets << QStringList{QStringLiteral("UAT")}
            << QByteArray("environments:\n  - UAT\nglobal_secrets:\n  - G\n") << QByteArray();
        const QByteArray noGlobalSecrets = "environments:\n  - Debug\nenvironment_secrets:\n  - K\n";
        QTest::newRow("no global_secrets gives an empty .env")
            << noGlobalSecrets << QStringList{QStringLiteral("UAT")}
            << QByteArray("environments:\n  - UAT\nenvironment_secrets:\n  - K\n") << QByteArray();
    }

    void arkanaFiles()
    {
        QFETCH(QByteArray, arkana);
        QFETCH(QStringList, variants);
        QFETCH(QByteArray, expectedArkana);
        QFETCH(QByteArray, expectedEnv);

        writeBytes(path(QStringLiteral(".arkana.yml")), arkana);
        writeBytes(path(QStringLiteral(".env")), "export Old=1\n");
        QVERIFY(updateSecretsFiles(path(QStringLiteral(".arkana.yml")), withVariants(variants)));
        QCOMPARE(readFile(path(QStringLiteral(".arkana.yml"))), expectedArkana);
        QVERIFY(QFileInfo::exists(path(QStringLiteral(".env"))));
        QCOMPARE(readFile(path(QStringLiteral(".env"))), expectedEnv);
    }

    void unchangedFilesAreNotWritten()
    {
        const auto details = withVariants({QStringLiteral("Development"), QStringLiteral("UAT")});
        const QString arkana = path(QStringLiteral(".arkana.yml"));
        const QString constants = path(QStringLiteral("Constants.swift"));
        writeBytes(arkana, arkanaTemplate);
        writeBytes(constants, "enum Constants {\n\tstruct URL {\n\t}\n}\n");
        QVERIFY(updateSecretsFiles(arkana, details));
        QVERIFY(updateSecretsFiles(constants, details));
        const QStringList files{arkana, path(QStringLiteral(".env")), constants};
        QList<qint64> times;
        for (const QString &file : files) {
            makeOld(file);
            times << modificationTime(file);
        }
        QVERIFY(updateSecretsFiles(arkana, details));
        QVERIFY(updateSecretsFiles(constants, details));
        for (qsizetype i = 0; i < files.size(); ++i)
            QCOMPARE(modificationTime(files.at(i)), times.at(i));
    }

    void appSecretsInsertion()
    {
        const QString file = path(QStringLiteral("AppSecrets.swift"));
        writeBytes(file, appSecretsBefore + appSecretsSection + appSecretsAfter);
        QVERIFY(::chmod(QFile::encodeName(file).constData(), 0640) == 0);
        QVERIFY(updateSecretsFiles(file, withVariants({QStringLiteral("Development"), QStringLiteral("UAT")})));

        const QStringList inserted{
            QString(),
            QStringLiteral("\tprivate static var environment: SecretsEnvironmentProtocol {"),
            QStringLiteral("    \t#if Development"),
            QStringLiteral("\t\treturn Secrets.Development()"),
            QStringLiteral("\t\t#elseif UAT"),
            QStringLiteral("\t\treturn Secrets.UAT()"),
            QStringLiteral("    \t#else"),
            QStringLiteral("    \tfatalError(\"Build environment not found!!\")"),
            QStringLiteral("    \t#endif"),
            QStringLiteral("\t}"),
            QString(),
        };
        QCOMPARE(inserted.size(), 11);
        // The section began after the tab that indents it; the tab stays.
        const QByteArray expected = appSecretsBefore + "\t" + inserted.join(QLatin1Char('\n')).toUtf8() + "\n"
                                    + appSecretsAfter;
        QCOMPARE(readFile(file), expected);
        struct stat status {};
        QVERIFY(::lstat(QFile::encodeName(file).constData(), &status) == 0);
        QCOMPARE(status.st_mode & 07777, mode_t(0640));
    }

    void constantsSection()
    {
        const QString file = path(QStringLiteral("Constants.swift"));
        const QByteArray after = "\n\tstatic let timeout = 30.0\n}\n";
        writeBytes(file, "enum Constants {\n\tstruct URL {\n\t\tstatic let baseURL = \"x\"\n\t}\n" + after);
        QVERIFY(updateSecretsFiles(file, withVariants({QStringLiteral("Development"), QStringLiteral("UAT")})));

        const QString w = QString::fromLatin1(generatedSiteBaseURL);
        const QStringList section{
            QStringLiteral("struct URL {"),
            QStringLiteral("    \t#if Development"),
            QStringLiteral("\t\tstatic let baseURL = \"") + w + QStringLiteral("Development\""),
            QStringLiteral("\t\t#elseif UAT"),
            QStringLiteral("\t\tstatic let baseURL = \"") + w + QStringLiteral("UAT\""),
            QStringLiteral("    \t#else"),
            QStringLiteral("    \t#endif"),
            QString(),
            QStringLiteral("    \t#if Development"),
            QStringLiteral("\t\tstatic let awsURL = \"") + w + QStringLiteral("Development\""),
            QStringLiteral("\t\t#elseif UAT"),
            QStringLiteral("\t\tstatic let awsURL = \"") + w + QStringLiteral("UAT\""),
            QStringLiteral("    \t#else"),
            QStringLiteral("    \t#endif"),
            QStringLiteral("\t}"),
        };
        QCOMPARE(section.size(), 15);
        QCOMPARE(readFile(file), "enum Constants {\n\t" + section.join(QLatin1Char('\n')).toUtf8() + "\n" + after);
    }

    void sectionReplacement_data()
    {
        QTest::addColumn<QString>("fileName");
        QTest::addColumn<QByteArray>("before");
        QTest::addColumn<QByteArray>("expected"); // empty: unchanged
        QTest::addColumn<QString>("consoleLine");

        QTest::newRow("scheme condition") << "SceneDelegate.swift"
                                          << QByteArray("import UIKit\n#if Development\nlet debug = true\n#endif\n")
                                          << QByteArray("import UIKit\n#if Dev\nlet debug = true\n#endif\n") << "";
        QTest::newRow("CRLF file keeps CRLF")
            << "SceneDelegate.swift" << QByteArray("import UIKit\r\n#if Development\r\nlet debug = true\r\n")
            << QByteArray("import UIKit\r\n#if Dev\r\nlet debug = true\r\n") << "";
        QTest::newRow("end marker at the end of the file")
            << "SceneDelegate.swift" << QByteArray("// \xf0\x9f\x9a\x80\n#if Development")
            << QByteArray("// \xf0\x9f\x9a\x80\n#if Dev\n") << "";
        QTest::newRow("character after the marker taken whole")
            << "SceneDelegate.swift" << QByteArray("#if Development\xf0\x9f\x9a\x80 rest\n")
            << QByteArray("#if Dev\n rest\n") << "";
        QTest::newRow("start marker missing") << "AppSecrets.swift" << QByteArray("enum AppSecrets {}\n")
                                              << QByteArray() << "Environment section not found.";
        QTest::newRow("end marker missing") << "SceneDelegate.swift" << QByteArray("#if DEBUG\nlet x = 1\n")
                                            << QByteArray() << "Environment section not found.";
        QTest::newRow("longer name ending in Constants.swift")
            << "NetworkConstants.swift" << QByteArray("struct URL {\n}\ntail")
            << QByteArray("struct URL {\n    \t#if UAT\n\t\tstatic let baseURL = \"" + QByteArray(generatedSiteBaseURL)
                          + "UAT\"\n    \t#else\n    \t#endif\n\n    \t#if UAT\n\t\tstatic let awsURL = \""
                          + QByteArray(generatedSiteBaseURL) + "UAT\"\n    \t#else\n    \t#endif\n\t}\ntail")
            << "";
        QTest::newRow("not UTF-8: left alone") << "SceneDelegate.swift" << QByteArray("#if Development\n\xff\xfe\n")
                                               << QByteArray() << "";
    }

    void sectionReplacement()
    {
        QFETCH(QString, fileName);
        QFETCH(QByteArray, before);
        QFETCH(QByteArray, expected);
        QFETCH(QString, consoleLine);

        const QString file = path(fileName);
        writeBytes(file, before);
        makeOld(file);
        const qint64 time = modificationTime(file);
        ConsoleCapture console;
        updateSecretsFiles(file, withVariants({QStringLiteral("UAT")}, QStringLiteral("Dev")));
        if (expected.isEmpty()) {
            QCOMPARE(readFile(file), before);
            QCOMPARE(modificationTime(file), time);
        } else {
            QCOMPARE(readFile(file), expected);
        }
        if (!consoleLine.isEmpty())
            QCOMPARE(console.lines(), QStringList{consoleLine});
    }

    void textAfterTheSectionIsKeptByteForByte()
    {
        QByteArray after = "\nline with trailing spaces   \n\t\ttabs\r\nCRLF line\r\n\xe2\x82\xac euro\n\n\n";
        after += QByteArray("\xef\xbb\xbf in the middle\n"); // a byte order mark that is not at the start
        const QString file = path(QStringLiteral("AppSecrets.swift"));
        writeBytes(file, "\xef\xbb\xbf" + appSecretsBefore + appSecretsSection + after);
        QVERIFY(replaceSection(QStringLiteral("private static var environment:"), QStringLiteral("}"),
                               QStringLiteral("NEW"), file));
        QCOMPARE(readFile(file), "\xef\xbb\xbf" + appSecretsBefore + "\tNEW\n" + after);
    }

    void swiftRewritesNeedVariants()
    {
        const QString file = path(QStringLiteral("AppSecrets.swift"));
        writeBytes(file, appSecretsBefore + appSecretsSection);
        ConsoleCapture console;
        QVERIFY(!updateSecretsFiles(file, withVariants({})));
        QCOMPARE(readFile(file), appSecretsBefore + appSecretsSection);
        QCOMPARE(console.lines().size(), 1);
    }

    void linksAreNeitherFollowedNorReplaced()
    {
        QTemporaryDir outside;
        const QString target = outside.filePath(QStringLiteral("SceneDelegate.swift"));
        writeBytes(target, "#if Development\n");
        const QString link = path(QStringLiteral("SceneDelegate.swift"));
        QVERIFY(QFile::link(target, link));
        QVERIFY(updateSecretsFiles(link, withVariants({QStringLiteral("UAT")}, QStringLiteral("Dev"))));
        QCOMPARE(readFile(target), QByteArray("#if Development\n"));
        QVERIFY(QFileInfo(link).isSymLink());

        // A .env that is a link stays a link; the target is not written.
        const QString envTarget = outside.filePath(QStringLiteral("secrets.env"));
        writeBytes(envTarget, "export Real=secret\n");
        QVERIFY(QFile::link(envTarget, path(QStringLiteral(".env"))));
        writeBytes(path(QStringLiteral(".arkana.yml")), arkanaTemplate);
        ConsoleCapture console;
        QVERIFY(!updateSecretsFiles(path(QStringLiteral(".arkana.yml")), withVariants({QStringLiteral("UAT")})));
        QCOMPARE(readFile(envTarget), QByteArray("export Real=secret\n"));
        QVERIFY(QFileInfo(path(QStringLiteral(".env"))).isSymLink());
    }

    void unwritableFileReportsFailure()
    {
        const QString folder = path(QStringLiteral("locked"));
        QVERIFY(QDir().mkpath(folder));
        const QString file = folder + QStringLiteral("/SceneDelegate.swift");
        writeBytes(file, "#if Development\n");
        ConsoleCapture console;
        bool updated = true;
        {
            ReadOnlyFolder locked(folder);
            if (!locked.isLocked())
                QSKIP("this file system cannot make a folder read-only for this user");
            updated = updateSecretsFiles(file, withVariants({QStringLiteral("UAT")}, QStringLiteral("Dev")));
        }
        QVERIFY(!updated);
        QCOMPARE(readFile(file), QByteArray("#if Development\n"));
        QCOMPARE(console.lines().size(), 1);
        QVERIFY(console.lines().first().startsWith(QStringLiteral("Failed to write to the file: ")));
    }
};

QTEST_GUILESS_MAIN(TestSecretsIntegration)
#include "TestSecretsIntegration.moc"
