#include "app/base/DebugConsole.h"
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
    // and variants; here a template without environment secrets, which
    // gives an empty .env.
    void arkanaFiles()
    {
        const QString yml = path(".arkana.yml");
        const QString env = path(".env");
        QVERIFY(writeFile(yml, "environments:\n  - Debug\nglobal_secrets:\n  - G\n"));
        QVERIFY(writeFile(env, "export Old=1\n"));
        QVERIFY(updateSecretsFiles(yml, withVariants({"UAT"})));
        QCOMPARE(readFile(yml), QByteArray("environments:\n  - UAT\nglobal_secrets:\n  - G\n"));
        QVERIFY(QFileInfo::exists(env));
        QCOMPARE(readFile(env), QByteArray());

        // Once more: nothing to change, nothing written.
        QVERIFY(makeOld(yml));
        QVERIFY(makeOld(env));
        const qint64 ymlTime = modificationTime(yml);
        const qint64 envTime = modificationTime(env);
        QVERIFY(updateSecretsFiles(yml, withVariants({"UAT"})));
        QCOMPARE(modificationTime(yml), ymlTime);
        QCOMPARE(modificationTime(env), envTime);
    }

    // The texts of the Swift rewrites are pinned by the golden project; here
    // what it cannot show: a rewritten file keeps its mode and the text
    // around the section, and a second run writes nothing (AppSecrets once
    // gained an empty line each time).
    // (CRLF, and a file without the section or not UTF-8 left byte for
    // byte, are fuzz_replace_section's; a file that cannot be written is
    // TestFaults'.)
    void swiftRewrites()
    {
        const QString secrets = path("AppSecrets.swift");
        const QByteArray original = appSecretsBefore + appSecretsSection + appSecretsAfter;
        QVERIFY(writeFile(secrets, original));
        QVERIFY(setFileMode(secrets, 0640));
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

        for (const QString &file : {secrets, constants}) {
            QVERIFY(makeOld(file));
            const qint64 time = modificationTime(file);
            QVERIFY(updateSecretsFiles(file, withVariants({"Development", "UAT"})));
            QCOMPARE(modificationTime(file), time);
        }
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
};

QTEST_GUILESS_MAIN(TestSecretsIntegration)
#include "TestSecretsIntegration.moc"
