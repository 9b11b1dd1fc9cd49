#include "app/DebugConsole.h"
#include "generation/XcodeGenSpecification.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

using namespace plinth;

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

QString readAll(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return QString::fromUtf8(file.readAll());
}

// What a real YAML parser makes of the file.
QJsonObject parsed(const QString &path)
{
    QProcess python;
    python.start(QStringLiteral(PLINTH_PYTHON),
                 {QStringLiteral(PLINTH_SOURCE_DIR "/tests/tools/yaml_summary.py"), path});
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
    void exampleMatchesTheGoldenFileByteForByte()
    {
        const auto details = describe(QStringLiteral("Demo"), QStringLiteral("/Users/dev/Projects"),
                                      {QStringLiteral("Development"), QStringLiteral("Production")});
        const QString expected = readAll(QStringLiteral(PLINTH_FIXTURES_DIR "/expected/project.yml"));
        QVERIFY(!expected.isEmpty());
        const QString actual = makeXcodeGenSpecification(details);
        QCOMPARE(actual, expected);
        QVERIFY(actual.endsWith(QStringLiteral(".uitests")));
    }

    void emptyVariantListLeavesOnlyIndentation()
    {
        const QString text = makeXcodeGenSpecification(describe(QStringLiteral("Demo"), QStringLiteral("/p"), {}));
        QVERIFY(text.contains(QStringLiteral("\nconfigs:\n  \n\nsettings:")));
        QVERIFY(text.contains(QStringLiteral("\n  configs:\n    \npackages:")));
        QVERIFY(text.contains(QStringLiteral("      configVariants:\n        \n    type: application")));
    }

    // Unchecked entries still count: the screen decides what the list holds.
    void everyStoredVariantIsUsedWhateverItsCheckMark()
    {
        auto details = describe(QStringLiteral("Demo"), QStringLiteral("/p"), {QStringLiteral("Development")});
        details.configVariant.append({QStringLiteral("QA"), false});
        const QString text = makeXcodeGenSpecification(details);
        QVERIFY(text.contains(QStringLiteral("  QA debug: debug\n  QA release: release")));
        QVERIFY(text.contains(QStringLiteral("        - Development\n        - QA\n")));
    }

    // A value that looks like a placeholder is inserted literally.
    void valuesAreInsertedAsStored()
    {
        const QString text = makeXcodeGenSpecification(
            describe(QStringLiteral("{projectPath}"), QStringLiteral("/x"), {QStringLiteral("{configs}")}));
        QVERIFY(text.startsWith(QStringLiteral("name: {projectPath}\n")));
        QVERIFY(text.contains(QStringLiteral("  {configs} debug: debug")));
        QVERIFY(text.contains(QStringLiteral("\"${PODS_ROOT}/SwiftLint/swiftlint\"")));
    }

    void writtenFileParsesAsTheExpectedProject_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("folder");
        QTest::addColumn<QStringList>("variants");
        QTest::addColumn<QString>("target");
        QTest::newRow("all four variants") << "Demo" << "plain"
                                           << QStringList{"Development", "UAT", "Staging", "Production"} << "16.0";
        QTest::newRow("path with spaces") << "Shop" << "My Projects/iOS Apps" << QStringList{"Development"} << "17.0";
        QTest::newRow("non-ASCII path and custom variant") << "Kasse" << "Übungen/café"
                                                           << QStringList{"Development", "QA"} << "18.0";
        QTest::newRow("path with quote") << "Notes" << "Bob's Apps" << QStringList{"Production"} << "17.0";
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

        const QJsonObject project = parsed(root + QStringLiteral("/project.yml"));
        QCOMPARE(project.value(QStringLiteral("name")).toString(), name);

        QStringList configs;
        QStringList variantNames;
        for (const QString &variant : variants) {
            configs << variant + QStringLiteral(" debug") << variant + QStringLiteral(" release");
            variantNames << variant;
            QCOMPARE(project[QStringLiteral("configSettings")][variant].toString(),
                     QStringLiteral("$(inherited) -D %1 -D ACCELERATE_NEW_LAPACK -D ACCELERATE_LAPACK_ILP64").arg(variant));
        }
        QStringList parsedConfigs = project[QStringLiteral("configs")].toObject().keys();
        std::sort(configs.begin(), configs.end());
        QCOMPARE(parsedConfigs, configs);
        QCOMPARE(project[QStringLiteral("configVariants")].toVariant().toStringList(), variantNames);

        // The golden file fixes the rest; here the odd paths and names must
        // survive a real parser.
        const QJsonObject targets = project[QStringLiteral("targets")].toObject();
        QCOMPARE(targets.size(), 3);
        for (const QString &suffix : {QString(), QStringLiteral("Tests"), QStringLiteral("UITests")})
            QCOMPARE(targets[name + suffix].toObject()["sources"].toString(), root + QLatin1Char('/') + name + suffix);
        const QJsonObject app = targets[name].toObject();
        QCOMPARE(app["bundle"].toString(), "com.tarnwick." + name);
        QCOMPARE(app["deploymentTarget"].toString(), target);
        QCOMPARE(targets[name + "UITests"].toObject()["info"].toString(), root + QStringLiteral("/UITests.plist"));
    }

    void rewriteReplacesTheOldFileAndKeepsItsPermissions()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("project.yml"));
        QFile old(path);
        QVERIFY(old.open(QIODevice::WriteOnly));
        old.write("old text that is longer than nothing");
        old.close();
        QVERIFY(old.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ReadGroup));

        const auto details = describe(QStringLiteral("Demo"), dir.path(), {QStringLiteral("Development")});
        QVERIFY(writeXcodeGenSpecification(dir.path(), details));
        QCOMPARE(readAll(path), makeXcodeGenSpecification(details));
        QCOMPARE(QFileInfo(path).permissions() & 0x0FFF,
                 QFileDevice::ReadUser | QFileDevice::WriteUser | QFileDevice::ReadGroup);
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{QStringLiteral("project.yml")});
    }

    void unwritableRootGivesOneConsoleLine()
    {
        QTemporaryDir dir;
        QFile blocker(dir.filePath(QStringLiteral("not-a-folder")));
        QVERIFY(blocker.open(QIODevice::WriteOnly));
        blocker.close();

        ConsoleCapture console;
        QVERIFY(!writeXcodeGenSpecification(blocker.fileName() + QStringLiteral("/Demo"),
                                            describe(QStringLiteral("Demo"), dir.path(), {})));
        QCOMPARE(console.lines().size(), 1);
        QVERIFY(console.lines().first().contains(QStringLiteral("project.yml")));
    }
};

QTEST_GUILESS_MAIN(TestXcodeGenSpecification)
#include "TestXcodeGenSpecification.moc"
