#include "app/base/DebugConsole.h"
#include "generation/XcodeGenSpecification.h"
#include "tools/TestFiles.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

using namespace plinth;
using plinth::test::writeFile;

namespace {

ProjectDetailsModel describe(const QString &name, const QString &path, const QStringList &variants,
                             const QString &target = QStringLiteral("17.0"))
{
    ProjectDetailsModel details;
    details.projectName = name;
    details.projectPath = path;
    details.bundleIdentifier = QStringLiteral("com.tarnwick.") + name;
    details.minimumDeploymentTarget = target;
    for (const QString &label : variants)
        details.configVariant.append({label, true});
    return details;
}

// What a real YAML parser makes of the file.
QJsonObject parsed(const QString &path)
{
    QProcess python;
    python.start(PLINTH_PYTHON, {PLINTH_SOURCE_DIR "/tests/tools/yaml_summary.py", path});
    if (!python.waitForFinished(30000) || python.exitCode() != 0) {
        qWarning().noquote() << python.readAllStandardError();
        return {};
    }
    return QJsonDocument::fromJson(python.readAllStandardOutput()).object();
}

} // namespace

class TestXcodeGenSpecification : public QObject
{
    Q_OBJECT

private slots:
    // What the golden project (TestCli) does not show: an empty variant list leaves only
    // the indentation; unchecked entries still count (the screen decides
    // what the list holds); a value that looks like a placeholder is
    // inserted literally.
    void cornerCases_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QStringList>("variants"); // "-" before a label: stored unchecked
        QTest::addColumn<QStringList>("fragments");
        QTest::newRow("no variants") << "Demo" << QStringList{}
                                     << QStringList{"\nconfigs:\n  \n\nsettings:", "\n  configs:\n    \npackages:",
                                                    "      configVariants:\n        \n    type: application"};
        QTest::newRow("unchecked variant") << "Demo" << QStringList{"Development", "-QA"}
                                           << QStringList{"  QA debug: debug\n  QA release: release",
                                                          "        - Development\n        - QA\n"};
        QTest::newRow("placeholder-like values") << "{projectPath}" << QStringList{"{configs}"}
                                                 << QStringList{"name: \"{projectPath}\"\n", "  \"{configs} debug\": debug",
                                                                "\"${PODS_ROOT}/SwiftLint/swiftlint\""};
    }

    void cornerCases()
    {
        QFETCH(QString, name);
        QFETCH(QStringList, variants);
        QFETCH(QStringList, fragments);
        auto details = describe(name, "/p", {});
        for (const QString &label : variants)
            details.configVariant.append({label.startsWith('-') ? label.mid(1) : label, !label.startsWith('-')});
        const QString text = makeXcodeGenSpecification(details);
        for (const QString &fragment : fragments)
            QVERIFY2(text.contains(fragment), qPrintable(fragment));
    }

    void writtenFileParsesAsTheExpectedProject_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("folder");
        QTest::addColumn<QStringList>("variants");
        QTest::addColumn<QString>("target");
        QTest::newRow("path with spaces and a quote") << "Shop" << "Bob's Projects/iOS Apps" << QStringList{"Development"} << "17.0";
        QTest::newRow("path with a comment sign and a colon") << "Shop" << "Project #2/Apps: \"iOS\" \\ x"
                                                              << QStringList{"Development"} << "17.0";
        QTest::newRow("non-ASCII path and custom variant") << "Kasse" << "Übungen/café"
                                                           << QStringList{"Development", "QA"} << "18.0";
        QTest::newRow("names YAML reads as booleans and null") << "On" << "plain"
                                                               << QStringList{"Yes", "off", "Null", "y", "QA_1", "_Dev"} << "17.0";
        QTest::newRow("quote, colon, comment sign and non-ASCII in the name")
            << "O'Brien: Ünï #1 " << "SwiftUIBaseSetup work" << QStringList{"Développement"} << "17.0";
    }

    void writtenFileParsesAsTheExpectedProject()
    {
        QFETCH(QString, name);
        QFETCH(QString, folder);
        QFETCH(QStringList, variants);
        QFETCH(QString, target);

        QTemporaryDir dir;
        const QString projectPath = dir.filePath(folder);
        const QString root = projectPath + QLatin1Char('/') + name;
        QVERIFY(QDir().mkpath(root));
        QVERIFY(writeXcodeGenSpecification(root, describe(name, projectPath, variants, target)));

        const QJsonObject project = parsed(root + "/project.yml");
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
        for (const char *suffix : {"", "Tests", "UITests"})
            QCOMPARE(targets[name + suffix].toObject()["sources"].toString(), root + '/' + name + suffix);
        const QJsonObject app = targets[name].toObject();
        QCOMPARE(app["bundle"].toString(), "com.tarnwick." + name);
        QCOMPARE(app["deploymentTarget"].toString(), target);
        QCOMPARE(targets[name + "UITests"].toObject()["info"].toString(), root + "/UITests.plist");
    }

    // A root that cannot be made: one console line, naming the file. (An old
    // file replaced, its permissions kept and no temporary file left are the
    // atomic write's: TestSecretsIntegration, TestTemplateInstantiation and
    // the golden project's exact tree show them.)
    void unwritableRootIsSaid()
    {
        QTemporaryDir dir;
        QVERIFY(writeFile(dir.filePath("notes"), "a file, not a folder"));
        ConsoleCapture console;
        QVERIFY(!writeXcodeGenSpecification(dir.filePath("notes/Demo"), describe("Demo", dir.path(), {"Development"})));
        QCOMPARE(console.lines().size(), 1);
        QVERIFY2(console.lines().first().contains("notes/Demo/project.yml"), qPrintable(console.lines().first()));
    }
};

QTEST_GUILESS_MAIN(TestXcodeGenSpecification)
#include "TestXcodeGenSpecification.moc"
