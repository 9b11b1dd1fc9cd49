#include "app/base/DebugConsole.h"
#include "generation/ReadOnlyFolder.h"
#include "generation/SecretsIntegration.h"
#include "tools/TestFiles.h"

#include <QFile>
#include <QTemporaryDir>
#include <QtTest>


using namespace plinth;
using namespace plinth::test;

namespace {

ProjectDetailsModel withVariants(const QStringList &labels, const QString &development = QStringLiteral("Development"))
{
    ProjectDetailsModel details;
    details.projectName = "Orbit";
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

    // The golden project (TestCli) pins both files for the usual template
    // and variants; here the lists it lacks.
    void arkanaFiles_data()
    {
        QTest::addColumn<QByteArray>("arkana");
        QTest::addColumn<QStringList>("variants");
        QTest::addColumn<QByteArray>("expectedArkana");
        QTest::addColumn<QByteArray>("expectedEnv");

        const QByteArray noItems = "environments:\nglobal_secrets:\n  - G\nenvironment_secrets:\n  - K\n";
        QTest::newRow("environments without items stays") << noItems << QStringList{"UAT"} << noItems
                                                          << QByteArray("export G = \"Some global secrets\"\n\n"
                                                                        "# UAT Keys\nexport KUAT=\n");
        QTest::newRow("no environment_secrets gives an empty .env")
            << QByteArray("environments:\n  - Debug\nglobal_secrets:\n  - G\n") << QStringList{"UAT"}
            << QByteArray("environments:\n  - UAT\nglobal_secrets:\n  - G\n") << QByteArray();
        QTest::newRow("no global_secrets gives an empty .env")
            << QByteArray("environments:\n  - Debug\nenvironment_secrets:\n  - K\n") << QStringList{"UAT"}
            << QByteArray("environments:\n  - UAT\nenvironment_secrets:\n  - K\n") << QByteArray();
    }

    void arkanaFiles()
    {
        QFETCH(QByteArray, arkana);
        QFETCH(QStringList, variants);
        QFETCH(QByteArray, expectedArkana);
        QFETCH(QByteArray, expectedEnv);

        const QString yml = path(".arkana.yml");
        const QString env = path(".env");
        QVERIFY(writeFile(yml, arkana));
        QVERIFY(writeFile(env, "export Old=1\n"));
        QVERIFY(updateSecretsFiles(yml, withVariants(variants)));
        QCOMPARE(readFile(yml), expectedArkana);
        QVERIFY(QFileInfo::exists(env));
        QCOMPARE(readFile(env), expectedEnv);

        // Once more: nothing to change, nothing written.
        QVERIFY(makeOld(yml));
        QVERIFY(makeOld(env));
        const qint64 ymlTime = modificationTime(yml);
        const qint64 envTime = modificationTime(env);
        QVERIFY(updateSecretsFiles(yml, withVariants(variants)));
        QCOMPARE(modificationTime(yml), ymlTime);
        QCOMPARE(modificationTime(env), envTime);
    }

    // The texts of the Swift rewrites are pinned by the golden project; here
    // what it cannot show: they need a variant, a rewritten file keeps its
    // mode and the text around the section, and a second run over Constants
    // writes nothing.
    void swiftRewrites()
    {
        const QString secrets = path("AppSecrets.swift");
        const QByteArray original = appSecretsBefore + appSecretsSection + appSecretsAfter;
        QVERIFY(writeFile(secrets, original));
        QVERIFY(setFileMode(secrets, 0640));
        {
            ConsoleCapture console;
            QVERIFY(!updateSecretsFiles(secrets, withVariants({})));
            QCOMPARE(readFile(secrets), original);
            QCOMPARE(console.lines().size(), 1);
        }
        const QString constants = path("Constants.swift");
        const QByteArray after = "\n\tstatic let timeout = 30.0\n}\n";
        QVERIFY(writeFile(constants, "enum Constants {\n\tstruct URL {\n\t\tstatic let baseURL = \"x\"\n\t}\n" + after));
        for (const QString &file : {secrets, constants})
            QVERIFY(updateSecretsFiles(file, withVariants({"Development", "UAT"})));

        const QByteArray rewritten = readFile(secrets);
        QVERIFY(rewritten.startsWith(appSecretsBefore) && rewritten.endsWith(appSecretsAfter));
        QVERIFY(rewritten.contains("\t\t#elseif UAT\n\t\treturn Secrets.UAT()\n"));
        QCOMPARE(fileMode(secrets), mode_t(0640));
        QVERIFY(readFile(constants).startsWith("enum Constants {\n\tstruct URL {\n    \t#if Development\n"));
        QVERIFY(readFile(constants).endsWith("    \t#endif\n\t}\n" + after));

        QVERIFY(makeOld(constants));
        const qint64 time = modificationTime(constants);
        QVERIFY(updateSecretsFiles(constants, withVariants({"Development", "UAT"})));
        QCOMPARE(modificationTime(constants), time);
    }

    // Through the dispatch on the file's name: CRLF kept, a missing section
    // said, a file that is not UTF-8 not even written. The exact text around
    // a replaced section, for any content, is fuzz_replace_section's.
    void sectionReplacement_data()
    {
        QTest::addColumn<QString>("fileName");
        QTest::addColumn<QByteArray>("before");
        QTest::addColumn<QByteArray>("expected"); // empty: unchanged
        QTest::addColumn<QString>("consoleLine");

        QTest::newRow("CRLF file keeps CRLF")
            << "SceneDelegate.swift" << QByteArray("import UIKit\r\n#if Development\r\nlet debug = true\r\n")
            << QByteArray("import UIKit\r\n#if Dev\r\nlet debug = true\r\n") << "";
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
        QVERIFY(writeFile(file, before));
        QVERIFY(makeOld(file));
        const qint64 time = modificationTime(file);
        ConsoleCapture console;
        updateSecretsFiles(file, withVariants({"UAT"}, "Dev"));
        if (expected.isEmpty()) {
            QCOMPARE(readFile(file), before);
            QCOMPARE(modificationTime(file), time);
        } else {
            QCOMPARE(readFile(file), expected);
        }
        if (!consoleLine.isEmpty())
            QCOMPARE(console.lines(), QStringList{consoleLine});
    }

    void linksAreNeitherFollowedNorReplaced()
    {
        QTemporaryDir outside;
        const QString target = outside.filePath("SceneDelegate.swift");
        QVERIFY(writeFile(target, "#if Development\n"));
        const QString link = path("SceneDelegate.swift");
        QVERIFY(QFile::link(target, link));
        QVERIFY(updateSecretsFiles(link, withVariants({"UAT"}, "Dev")));
        QCOMPARE(readFile(target), QByteArray("#if Development\n"));
        QVERIFY(QFileInfo(link).isSymLink());

        // A .env that is a link stays a link; the target is not written.
        const QString envTarget = outside.filePath("secrets.env");
        QVERIFY(writeFile(envTarget, "export Real=secret\n"));
        QVERIFY(QFile::link(envTarget, path(".env")));
        QVERIFY(writeFile(path(".arkana.yml"), arkanaTemplate));
        ConsoleCapture console;
        QVERIFY(!updateSecretsFiles(path(".arkana.yml"), withVariants({"UAT"})));
        QCOMPARE(readFile(envTarget), QByteArray("export Real=secret\n"));
        QVERIFY(QFileInfo(path(".env")).isSymLink());
    }

    void unwritableFileReportsFailure()
    {
        const QString file = path("locked/SceneDelegate.swift");
        QVERIFY(writeFile(file, "#if Development\n"));
        ConsoleCapture console;
        bool updated = true;
        {
            ReadOnlyFolder locked(path("locked"));
            if (!locked.isLocked())
                QSKIP("this file system cannot make a folder read-only for this user");
            updated = updateSecretsFiles(file, withVariants({"UAT"}, "Dev"));
        }
        QVERIFY(!updated);
        QCOMPARE(readFile(file), QByteArray("#if Development\n"));
        QCOMPARE(console.lines().size(), 1);
        QVERIFY(console.lines().first().startsWith("Failed to write to the file: "));
    }
};

QTEST_GUILESS_MAIN(TestSecretsIntegration)
#include "TestSecretsIntegration.moc"
