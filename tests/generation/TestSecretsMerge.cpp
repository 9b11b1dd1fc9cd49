// The additions to an existing project's .arkana.yml, .env and Gemfile, and
// its environments: exact texts (the fuzzers check that no line is lost and
// that a second merge changes nothing; the project.pbxproj reader's values
// are what existingProjectEnvironments() reads through it).

#include "generation/LibraryRoutes.h"
#include "generation/SecretsMerge.h"
#include "generation/Utf8TextFile.h"
#include "tools/TestFiles.h"

#include <QTemporaryDir>
#include <QtTest>

using namespace plinth;
using namespace plinth::test;

namespace {

const QByteArray envComment = "# Keys the Arkana secrets need (added by Plinth; fill in the values)";

/// A project.pbxproj whose app target Orbit has `appConfigurations` and
/// whose test target has others.
QByteArray pbxproj(const QStringList &appConfigurations)
{
    QByteArray objects;
    for (const auto &[target, configurations] : {std::pair{QByteArray("Orbit"), appConfigurations},
                                                 std::pair{QByteArray("OrbitTests"), QStringList{"Testing"}}}) {
        QByteArray ids;
        for (const QString &name : configurations) {
            const QByteArray id = target + QByteArray::number(ids.count(','));
            ids += id + " /* " + name.toUtf8() + " */, ";
            objects += "\t\t" + id + " = {isa = XCBuildConfiguration; buildSettings = {OTHER_SWIFT_FLAGS ="
                       " \"-D \\\"X\\\"\";}; name = \"" + name.toUtf8() + "\";};\n";
        }
        objects += "\t\t" + target + "List = {isa = XCConfigurationList; buildConfigurations = (" + ids + ");};\n\t\t"
                   + target + " /* " + target + " */ = {isa = PBXNativeTarget; buildConfigurationList = " + target
                   + "List /* Build configuration list */; name = " + target + ";};\n";
    }
    return "// !$*UTF8*$!\n{\n\tarchiveVersion = 1;\n\tobjects = {\n" + objects + "\t};\n\trootObject = P1;\n}\n";
}

} // namespace

class TestSecretsMerge : public QObject
{
    Q_OBJECT

private slots:
    // The entries read from a block and the text with the missing ones
    // added after its last entry; an absent flag marks flow style, which
    // is neither read nor extended.
    void arkanaLists_data()
    {
        QTest::addColumn<QByteArray>("arkana");
        QTest::addColumn<QString>("key");
        QTest::addColumn<bool>("flowStyle");
        QTest::addColumn<QStringList>("entries");
        QTest::addColumn<QStringList>("added");
        QTest::addColumn<QByteArray>("expected");

        QTest::newRow("comments and quotes")
            << QByteArray("import_name: 'OrbitSecrets'\nenvironments: # the app's\n  - \"Dev\"   # local\n"
                          "  # - Old\n  - 'QA'\n\nglobal_secrets:\n  - A\n")
            << "environments" << false << QStringList{"Dev", "QA"} << QStringList{"QA", "Prod", "Dev", "Prod"}
            << QByteArray("import_name: 'OrbitSecrets'\nenvironments: # the app's\n  - \"Dev\"   # local\n"
                          "  # - Old\n  - 'QA'\n  - Prod\n\nglobal_secrets:\n  - A\n");
        QTest::newRow("CRLF, indentation of the entries kept")
            << QByteArray("environments:\r\n    - Dev\r\nglobal_secrets:\r\n    - A\r\n") << "environments" << false
            << QStringList{"Dev"} << QStringList{"Prod", "UAT"}
            << QByteArray("environments:\r\n    - Dev\r\n    - Prod\r\n    - UAT\r\nglobal_secrets:\r\n    - A\r\n");
        QTest::newRow("no final newline, entries at the key's column")
            << QByteArray("global_secrets:\n  - A\nenvironments:\n- Dev") << "environments" << false
            << QStringList{"Dev"} << QStringList{"Prod"}
            << QByteArray("global_secrets:\n  - A\nenvironments:\n- Dev\n- Prod\n");
        QTest::newRow("key without entries")
            << QByteArray("environments:\nglobal_secrets:\n  - A\n") << "environments" << false << QStringList()
            << QStringList{"Dev"} << QByteArray("environments:\n  - Dev\nglobal_secrets:\n  - A\n");
        QTest::newRow("missing block appended; a nested key of that name is not it")
            << QByteArray("import_name: 'X'\nlegacy:\n  environment_secrets:\n    - Old\nenvironments:\n  - Dev")
            << "environment_secrets" << false << QStringList() << QStringList{"K", "L"}
            << QByteArray("import_name: 'X'\nlegacy:\n  environment_secrets:\n    - Old\nenvironments:\n  - Dev\n"
                          "environment_secrets:\n  - K\n  - L\n");
        QTest::newRow("byte order mark before the key")
            << QByteArray("\xef\xbb\xbf" "environments:\n  - Dev\n") << "environments" << false << QStringList{"Dev"}
            << QStringList{"Prod"} << QByteArray("\xef\xbb\xbf" "environments:\n  - Dev\n  - Prod\n");
        QTest::newRow("a name YAML reads as a boolean: quoted, and found again")
            << QByteArray("environments:\n  - \"On\"\n") << "environments" << false << QStringList{"On"}
            << QStringList{"On", "Off", "QA_1"} << QByteArray("environments:\n  - \"On\"\n  - \"Off\"\n  - QA_1\n");
        QTest::newRow("flow style") << QByteArray("environments: [Dev, QA]\nglobal_secrets:\n  - A\n")
                                    << "environments" << true << QStringList() << QStringList{"Prod"} << QByteArray();
    }

    void arkanaLists()
    {
        QFETCH(QByteArray, arkana);
        QFETCH(QString, key);
        QFETCH(bool, flowStyle);
        QFETCH(QStringList, entries);
        QFETCH(QStringList, added);
        QFETCH(QByteArray, expected);

        const QString text = decodeUtf8Exactly(arkana).value(); // a byte order mark kept, as files are read
        const std::optional<QStringList> read = arkanaListEntries(text, key);
        const std::optional<QString> merged = withArkanaListEntries(text, key, added);
        QCOMPARE(read.has_value(), !flowStyle);
        QCOMPARE(merged.has_value(), !flowStyle);
        if (flowStyle)
            return;
        QCOMPARE(*read, entries);
        QCOMPARE(merged->toUtf8(), expected);
    }

    // With Swift packages the secrets come as Arkana's two local packages,
    // named and placed as the project's own .arkana.yml says (its settings
    // quoted, commented or with a trailing slash); its package_manager has
    // the last word; without a file of its own, Plinth's names.
    void secretsAsLocalPackages_data()
    {
        QTest::addColumn<bool>("existing");
        QTest::addColumn<QByteArray>("arkana");
        QTest::addColumn<bool>("asPackages");
        QTest::addColumn<QString>("firstPath");
        QTest::newRow("new project") << false << QByteArray() << true << "Dependencies/O_BrienSecrets";
        QTest::newRow("existing, no .arkana.yml") << true << QByteArray() << true << "Dependencies/O_BrienSecrets";
        QTest::newRow("existing, its own spm settings")
            << true << QByteArray("import_name: \"TeamKeys\" # keys\nresult_path: 'Generated/'\npackage_manager: spm\n")
            << true << "Generated/TeamKeys";
        QTest::newRow("existing, its own CocoaPods setting")
            << true << QByteArray("import_name: TeamKeys\npackage_manager: cocoapods\n") << false << "";
    }
    void secretsAsLocalPackages()
    {
        QFETCH(bool, existing);
        QFETCH(QByteArray, arkana);
        QFETCH(bool, asPackages);
        QFETCH(QString, firstPath);
        QTemporaryDir work;
        ProjectDetailsModel details;
        details.projectType = existing ? ProjectType::existing : ProjectType::new_;
        details.projectName = "O'Brien";
        details.projectFolder = work.path();
        details.dependencyManager = DependencyManager::swiftPackageManager;
        if (!arkana.isEmpty())
            QVERIFY(test::writeFile(work.filePath(".arkana.yml"), arkana));
        QCOMPARE(secretsComeAsPackages(details), asPackages);
        if (!asPackages)
            return;
        const QList<LocalPackage> packages = arkanaSecretsPackages(details);
        QCOMPARE(packages.size(), 2);
        QCOMPARE(packages[0].path, firstPath);
        QCOMPARE(packages[1].path, firstPath + "Interfaces");
        QCOMPARE(packages[1].product, firstPath.section('/', -1) + "Interfaces");
        details.dependencyManager = DependencyManager::cocoaPods;
        QVERIFY(!secretsComeAsPackages(details));
    }

    // .env keys set with or without export, spaces around "=", commented
    // out or only as a prefix of another key; and the Gemfile's arkana
    // gem in its spellings. Empty `expected`: the text comes back as it was.
    void envAndGemfile_data()
    {
        QTest::addColumn<bool>("gemfile");
        QTest::addColumn<QByteArray>("before");
        QTest::addColumn<QStringList>("names");
        QTest::addColumn<QByteArray>("expected");

        const QByteArray env = "export A=1\nB = 2\n  export   C\t= 3\n# D=4\nF_X=5\nexportE=6\n";
        QTest::newRow(".env: missing keys added once")
            << false << env << QStringList{"A", "B", "C", "D", "E", "F", "D"}
            << env + envComment + "\nexport D=\nexport E=\nexport F=\n";
        QTest::newRow(".env: byte order mark before the first key")
            << false << QByteArray("\xef\xbb\xbf" "export A=secret\n") << QStringList{"A"} << QByteArray();

        QTest::newRow("Gemfile: version") << true << QByteArray("source 'https://rubygems.org'\ngem 'arkana', '~> 2'\n")
                                          << QStringList() << QByteArray();
        QTest::newRow("Gemfile: commented out")
            << true << QByteArray("# gem \"arkana\"\ngem 'fastlane'\n") << QStringList()
            << QByteArray("# gem \"arkana\"\ngem 'fastlane'\ngem \"arkana\"\n");
        QTest::newRow("Gemfile: another gem of that prefix, CRLF, no final newline")
            << true << QByteArray("gem 'arkana-cli'\r\ngem 'fastlane'") << QStringList()
            << QByteArray("gem 'arkana-cli'\r\ngem 'fastlane'\r\ngem \"arkana\"\r\n");
    }

    void envAndGemfile()
    {
        QFETCH(bool, gemfile);
        QFETCH(QByteArray, before);
        QFETCH(QStringList, names);
        QFETCH(QByteArray, expected);

        const QString text = decodeUtf8Exactly(before).value();
        const QString after = gemfile ? gemfileWithArkana(text) : envFileWithVariables(text, names);
        QCOMPARE(after.toUtf8(), expected.isEmpty() ? before : expected);
    }

    // The project's .arkana.yml first, then its app target's build
    // configurations (never the test target's), then Debug and Release.
    void existingProjectEnvironments_data()
    {
        QTest::addColumn<QByteArray>("arkana");  // empty: no .arkana.yml
        QTest::addColumn<QByteArray>("project");
        QTest::addColumn<QStringList>("expected");

        const QByteArray stagingPairs = pbxproj({"Staging Debug", "Staging Release", "Debug", "Release"});
        QTest::newRow(".arkana.yml") << QByteArray("environments:\n  - Dev\n  - 'QA'\n  - Bad-Name\n") << stagingPairs
                                     << QStringList{"Dev", "QA"};
        QTest::newRow(".arkana.yml without environments: configuration pairs")
            << QByteArray("global_secrets:\n  - A\n") << stagingPairs << QStringList{"Staging", "Debug", "Release"};
        QTest::newRow("configurations: separators, unusable names left out")
            << QByteArray()
            << pbxproj({"Debug", "QA-Debug", "QA_Release", "UATRelease", "Prerelease", "App Store", "Ad-Hoc", "Beta"})
            << QStringList{"Debug", "QA", "UAT", "Prerelease", "Beta"};
        // No usable configuration: the reader gives up on nesting deeper than
        // any project file's rather than overflow the stack. (Other malformed
        // text is fuzz_xcodeproj's.)
        QTest::newRow("project file nested too deep")
            << QByteArray() << QByteArray(100000, '(') + QByteArray(100000, ')') << QStringList{"Debug", "Release"};
    }

    void existingProjectEnvironments()
    {
        QFETCH(QByteArray, arkana);
        QFETCH(QByteArray, project);
        QFETCH(QStringList, expected);

        QTemporaryDir root;
        if (!arkana.isEmpty())
            QVERIFY(writeFile(root.filePath(".arkana.yml"), arkana));
        QVERIFY(writeFile(root.filePath("Orbit.xcodeproj/project.pbxproj"), project));
        QCOMPARE(plinth::existingProjectEnvironments(root.path(), "Orbit"), expected);
    }
};

QTEST_GUILESS_MAIN(TestSecretsMerge)
#include "TestSecretsMerge.moc"
