#include "app/base/TextCatalog.h"
#include "cli/ProjectDescription.h"
#include "tools/TestFiles.h"

#include <QDir>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>
#include <QtTest>

using namespace plinth;
using plinth::test::writeFile;

/// What a valid description turns into: the project description the
/// wizard's screens would have filled.
class TestProjectDescription : public QObject
{
    Q_OBJECT

    QTemporaryDir m_work;

    ProjectDescription read(const QJsonObject &object) const
    {
        return readProjectDescription(QJsonDocument(object).toJson(), m_work.path());
    }

private slots:
    void initTestCase()
    {
        QVERIFY(QDir().mkpath(m_work.filePath("Projects")));
        // An existing UIKit project and one without an app file. (A SwiftUI
        // project's kind found and its modules' folders: TestCli's
        // generateInstallAndExtend.)
        QVERIFY(writeFile(m_work.filePath("Kit/Kit.xcodeproj/project.pbxproj"), "//\n"));
        QVERIFY(writeFile(m_work.filePath("Kit/Kit/AppDelegate.swift"), "import UIKit\n@main class AppDelegate {}\n"));
        QVERIFY(writeFile(m_work.filePath("Bare/Bare.xcodeproj/project.pbxproj"), "//\n"));
    }

    // A new project: fields left out take what the screens start with, the
    // bundle identifier is derived and the destination is taken from the
    // description's folder. The development variant is Development when it
    // is listed, else the one named among the variants (TestCli has the
    // refusals, TestProjectRules which variants count as Development).
    void newProject_data()
    {
        QTest::addColumn<QStringList>("variants");
        QTest::addColumn<QString>("given");  // empty: left out
        QTest::addColumn<QString>("scheme");
        QTest::newRow("Development among them") << QStringList{"UAT", "Development"} << "" << "Development";
        QTest::newRow("another one chosen") << QStringList{"UAT", "Staging"} << "Staging" << "Staging";
        QTest::newRow("chosen over Development") << QStringList{"Development", "UAT"} << "UAT" << "UAT";
    }

    void newProject()
    {
        QFETCH(QStringList, variants);
        QFETCH(QString, given);
        QFETCH(QString, scheme);
        QJsonObject object{{"projectType", "new"}, {"projectName", "Orbit"}, {"authorName", "Ada"},
                           {"projectPath", "Projects/"}, {"configVariant", QJsonArray::fromStringList(variants)}};
        if (!given.isEmpty())
            object.insert("developmentSchemeName", given);
        const auto description = read(object);
        QVERIFY2(description.isValid(), qPrintable(description.problems.join('\n')));
        const ProjectDetailsModel &details = description.details;
        QCOMPARE(details.developmentSchemeName, scheme);
        QCOMPARE(details.bundleIdentifier, "com.tarnwick.Orbit");
        QCOMPARE(details.organizationName, "Tarnwick Solutions");
        QCOMPARE(details.selectedUI, text(key::uiKit));
        QCOMPARE(details.minimumDeploymentTarget, text(key::deploymentTarget18_0));
        QCOMPARE(details.projectPath, m_work.filePath("Projects"));
        QVERIFY(details.doesIncludeArkana);
    }

    // An existing project: the folder holding the .xcodeproj gives the
    // project's name and parent; the UI kind comes from the sources, else
    // from the description (without either no module can be chosen, as the
    // module screen offers none); the modules are the catalog's entries for
    // the kind, in the description's order.
    void existingProject_data()
    {
        QTest::addColumn<QString>("folder");
        QTest::addColumn<QString>("given"); // selectedUI; empty: left out
        QTest::addColumn<QString>("ui");    // empty: refused
        QTest::addColumn<QStringList>("modules"); // title=folder
        QTest::newRow("UIKit") << "Kit" << "" << text(key::uiKit)
                               << QStringList{"Dynamics=Dynamics", "KeyChain manager=Helpers/KeychainManager.swift",
                                              "User Manager=Helpers/User"};
        QTest::newRow("undetectable, kind given") << "Bare" << "UIKit" << text(key::uiKit) << QStringList{"BLE=BLE"};
        QTest::newRow("undetectable, no kind given") << "Bare" << "" << "" << QStringList{"BLE=BLE"};
    }

    void existingProject()
    {
        QFETCH(QString, folder);
        QFETCH(QString, given);
        QFETCH(QString, ui);
        QFETCH(QStringList, modules);
        QStringList chosen;
        for (const QString &module : modules)
            chosen << module.section('=', 0, 0);
        QJsonObject object{{"projectType", "existing"}, {"projectPath", folder + "/"}, {"doesIncludeArkana", false},
                           {"userSelectedModules", QJsonArray::fromStringList(chosen)}};
        if (!given.isEmpty())
            object.insert("selectedUI", given);
        const auto description = read(object);
        if (ui.isEmpty()) {
            QCOMPARE(description.problems.size(), 1);
            QVERIFY(description.problems.first().startsWith("userSelectedModules: the project's UI kind could not be detected"));
            return;
        }
        QVERIFY2(description.isValid(), qPrintable(description.problems.join('\n')));
        const ProjectDetailsModel &details = description.details;
        QCOMPARE(details.projectName, folder);
        QCOMPARE(details.projectPath, m_work.path());
        QCOMPARE(details.selectedUI, ui);
        QStringList found;
        for (const ListItem &module : details.userSelectedModules)
            found << module.title + '=' + module.directoryName;
        QCOMPARE(found, modules);
        QVERIFY(details.minimumDeploymentTarget.isEmpty()); // the project keeps its own
    }
};

QTEST_GUILESS_MAIN(TestProjectDescription)
#include "TestProjectDescription.moc"
