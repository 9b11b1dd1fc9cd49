#include "generation/XcodeGenSpecification.h"
#include "tools/TestFiles.h"
#include "tools/YamlSummary.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>
#include <QtTest>

using namespace plinth;

namespace {

ProjectDetailsModel describe(const QString &name, const QString &path, const QStringList &variants)
{
    ProjectDetailsModel details;
    details.projectName = name;
    details.projectPath = path;
    details.bundleIdentifier = QStringLiteral("com.tarnwick.") + name;
    details.minimumDeploymentTarget = QStringLiteral("17.0");
    for (const QString &label : variants)
        details.configVariant.append({label, true});
    return details;
}

} // namespace

class TestXcodeGenSpecification : public QObject
{
    Q_OBJECT

private slots:
    // Names and paths that a YAML reader could take for something else, and
    // a path holding a placeholder of the template (the values are filled in
    // one pass, so it stays as it is). The golden project (TestCli) shows
    // the rest of the file.
    void writtenFileParsesAsTheExpectedProject_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("folder");
        QTest::addColumn<QStringList>("variants");
        // (Spaces, non-ASCII folders and custom variants through the whole
        // run are TestGenerationRun::newProject's.)
        QTest::newRow("path with quotes, a comment sign, a colon and a placeholder")
            << "Shop" << "Bob's Project #2/{configs}/Apps: \"iOS\" \\ x" << QStringList{"Development"};
        QTest::newRow("names YAML reads as booleans and null")
            << "On" << "plain" << QStringList{"Yes", "off", "Null", "y", "QA_1", "_Dev"};
        QTest::newRow("quote, colon, comment sign and non-ASCII in the name")
            << "O'Brien: Ünï #1 " << "SwiftUIBaseSetup work" << QStringList{"Développement"};
    }

    void writtenFileParsesAsTheExpectedProject()
    {
        QFETCH(QString, name);
        QFETCH(QString, folder);
        QFETCH(QStringList, variants);

        QTemporaryDir dir;
        const QString projectPath = dir.filePath(folder);
        const QString root = projectPath + QLatin1Char('/') + name;
        QVERIFY(QDir().mkpath(root));
        const ProjectDetailsModel details = describe(name, projectPath, variants);
        QVERIFY(writeXcodeGenSpecification(root, details, libraryRoutes(details, {})));

        const QJsonObject project = test::yamlSummary(root + "/project.yml");
        QCOMPARE(project["name"].toString(), name);

        QStringList configs;
        for (const QString &variant : variants) {
            configs << variant + " debug" << variant + " release";
            QCOMPARE(project["configSettings"][variant].toString(),
                     QStringLiteral("$(inherited) -D %1 -D ACCELERATE_NEW_LAPACK -D ACCELERATE_LAPACK_ILP64").arg(variant));
        }
        std::sort(configs.begin(), configs.end());
        QCOMPARE(project["configs"].toObject().keys(), configs);
        QCOMPARE(project["configVariants"].toVariant().toStringList(), variants);

        // The golden file fixes the rest; here the odd paths and names must
        // survive a real parser.
        const QJsonObject targets = project["targets"].toObject();
        QCOMPARE(targets.size(), 3);
        // Paths are the project's own, relative to project.yml: nothing of
        // the machine's folders is written, so a clone elsewhere builds.
        QVERIFY(!test::readText(root + "/project.yml").contains(dir.path()));
        for (const char *suffix : {"", "Tests", "UITests"})
            QCOMPARE(targets[name + suffix].toObject()["sources"].toString(), name + suffix);
        const QJsonObject app = targets[name].toObject();
        QCOMPARE(app["bundle"].toString(), "com.tarnwick." + name);
        QCOMPARE(app["deploymentTarget"].toString(), "17.0");
        QCOMPARE(targets[name + "UITests"].toObject()["info"].toString(), "UITests.plist");
    }

    // Libraries through Swift Package Manager: each package declared once and
    // linked to the app target (products as dependencies, plug-ins as build
    // tool plug-ins), the secrets as local packages; a build phase runs a
    // pod's tool only where the pod is there. (The golden Swift package
    // project in TestCli shows a whole file.)
    void librariesAsPackages_data()
    {
        QTest::addColumn<bool>("packages");
        QTest::addColumn<bool>("arkana");
        QTest::addColumn<QStringList>("pods");
        QTest::addColumn<QStringList>("appPackages");
        QTest::addColumn<QStringList>("appPlugins");
        QTest::addColumn<QStringList>("preBuildScripts");
        const QStringList builtIn{"Wirecall", "Logging", "Alamofire"};
        QTest::newRow("CocoaPods: the tools' phases")
            << false << true << QStringList{"SwiftLint", "R.swift", "Kingfisher"} << builtIn << QStringList{}
            << QStringList{"R.swift", "Swiftlint"};
        QTest::newRow("CocoaPods without R.swift: no phase for its missing tool")
            << false << false << QStringList{"SwiftLint"} << builtIn << QStringList{} << QStringList{"Swiftlint"};
        QTest::newRow("packages: plug-ins, products, a two-product package once, local secrets")
            << true << true << QStringList{"SwiftLint", "R.swift", "Kingfisher", "AWSS3", "KWUpdateKit"}
            << builtIn + QStringList{"R.swift", "Kingfisher", "aws-sdk-ios-spm", "O_BrienSecrets",
                                     "O_BrienSecretsInterfaces"}
            << QStringList{"SwiftLintBuildToolPlugin/SwiftLintPlugins", "RswiftGenerateInternalResources/R.swift"}
            << QStringList{};
    }
    void librariesAsPackages()
    {
        QFETCH(bool, packages);
        QFETCH(bool, arkana);
        QFETCH(QStringList, pods);
        QFETCH(QStringList, appPackages);
        QFETCH(QStringList, appPlugins);
        QFETCH(QStringList, preBuildScripts);
        QTemporaryDir dir;
        ProjectDetailsModel details = describe("O'Brien", dir.path(), {"Development"});
        details.projectType = ProjectType::new_;
        details.doesIncludeArkana = arkana;
        details.userSelectedPods = pods;
        details.dependencyManager = packages ? DependencyManager::swiftPackageManager : DependencyManager::cocoaPods;
        const LibraryPackages catalog({
            {"SwiftLint", "SwiftLintPlugins", "https://github.com/SimplyDanny/SwiftLintPlugins", "0.55.1", {},
             {"SwiftLintBuildToolPlugin"}},
            {"R.swift", "R.swift", "https://github.com/mac-cain13/R.swift.git", "7.0.0", {"RswiftLibrary"},
             {"RswiftGenerateInternalResources"}},
            {"Kingfisher", "Kingfisher", "https://github.com/onevcat/Kingfisher.git", "8.0.0", {"Kingfisher"}, {}},
            {"AWSS3", "aws-sdk-ios-spm", "https://github.com/aws-amplify/aws-sdk-ios-spm", "2.23.3",
             {"AWSCore", "AWSS3"}, {}},
        });
        const QString path = dir.filePath("project.yml");
        QVERIFY(writeXcodeGenSpecification(dir.path(), details, libraryRoutes(details, catalog)));
        const QJsonObject project = test::yamlSummary(path);

        QCOMPARE(project["appPackages"].toVariant().toStringList(), appPackages);
        QStringList plugins;
        for (const QJsonValue &plugin : project["appPlugins"].toArray())
            plugins << plugin[0].toString() + '/' + plugin[1].toString();
        QCOMPARE(plugins, appPlugins);
        QCOMPARE(project["preBuildScripts"].toVariant().toStringList(), preBuildScripts);
        QCOMPARE(test::packageProblems(project), QStringList());
        if (packages) {
            QVERIFY(project["appProducts"].toVariant().toStringList().contains("AWSCore"));
            QCOMPARE(project["appProducts"].toVariant().toStringList().count("AWSS3"), 1);
        }
    }
};

QTEST_GUILESS_MAIN(TestXcodeGenSpecification)
#include "TestXcodeGenSpecification.moc"
