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

    // A build phase runs a pod's tool only where the pod is there: without
    // the R.swift pod its phase would fail every build. (The packages, their
    // plug-ins and the local secrets packages: the golden Swift package
    // project in TestCli.)
    void toolPhasesFollowThePods()
    {
        ProjectDetailsModel details = describe("Shop", "/p", {"Development"});
        details.userSelectedPods = {"SwiftLint"};
        const QString text = makeXcodeGenSpecification(details, libraryRoutes(details, {}));
        QVERIFY(text.contains("${PODS_ROOT}/SwiftLint/swiftlint"));
        QVERIFY(!text.contains("rswift"));
        details.userSelectedPods.clear();
        QVERIFY(!makeXcodeGenSpecification(details, libraryRoutes(details, {})).contains("preBuildScripts"));
    }
};

QTEST_GUILESS_MAIN(TestXcodeGenSpecification)
#include "TestXcodeGenSpecification.moc"
