#include "app/TextCatalog.h"
#include "cli/ProjectDescription.h"
#include "tools/TestFiles.h"

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>
#include <QtTest>

using namespace plinth;
using plinth::test::writeFile;

namespace {

QByteArray json(const QJsonObject &object)
{
    return QJsonDocument(object).toJson();
}

QStringList titles(const QList<ListItem> &items)
{
    QStringList list;
    for (const ListItem &item : items)
        list << item.title + QLatin1Char('=') + item.directoryName;
    return list;
}

} // namespace

/// What a valid description turns into: the project description the
/// wizard's screens would have filled.
class TestProjectDescription : public QObject
{
    Q_OBJECT

    QTemporaryDir m_work;

private slots:
    void initTestCase()
    {
        QVERIFY(QDir().mkpath(m_work.filePath("Projects")));
        // An existing UIKit project and a SwiftUI one.
        QVERIFY(writeFile(m_work.filePath("Kit/Kit.xcodeproj/project.pbxproj"), "//\n"));
        QVERIFY(writeFile(m_work.filePath("Kit/Kit/AppDelegate.swift"), "import UIKit\n@main class AppDelegate {}\n"));
        QVERIFY(writeFile(m_work.filePath("Shop/Shop.xcodeproj/project.pbxproj"), "//\n"));
        QVERIFY(writeFile(m_work.filePath("Shop/Shop/ShopApp.swift"), "import SwiftUI\n"));
        QVERIFY(writeFile(m_work.filePath("Bare/Bare.xcodeproj/project.pbxproj"), "//\n"));
    }

    // Fields left out take what the screens start with; the bundle
    // identifier is derived; the destination is taken from the
    // description's folder.
    void newProjectDefaults()
    {
        const auto description = readProjectDescription(
            json({{"projectType", "new"}, {"projectName", "Orbit"}, {"authorName", "Ada"},
                  {"projectPath", "Projects/"}, {"configVariant", QJsonArray{"UAT", "Development"}}}),
            m_work.path());
        QVERIFY2(description.isValid(), qPrintable(description.problems.join('\n')));
        const ProjectDetailsModel &details = description.details;
        QCOMPARE(details.projectType, ProjectType::new_);
        QCOMPARE(details.projectName, "Orbit");
        QCOMPARE(details.bundleIdentifier, "com.tarnwick.Orbit");
        QCOMPARE(details.organizationName, "Tarnwick Solutions");
        QCOMPARE(details.selectedUI, text(key::uiKit));
        QCOMPARE(details.minimumDeploymentTarget, text(key::deploymentTarget18_0));
        QCOMPARE(details.projectPath, m_work.filePath("Projects"));
        QCOMPARE(details.projectRoot(), m_work.filePath("Projects/Orbit"));
        QCOMPARE(details.configVariant, (QList<CheckBoxItem>{{"UAT", true}, {"Development", true}}));
        QCOMPARE(details.developmentSchemeName, "Development");
        QVERIFY(details.doesIncludeArkana);
    }

    void developmentScheme_data()
    {
        QTest::addColumn<QStringList>("variants");
        QTest::addColumn<QString>("given"); // empty: left out
        QTest::addColumn<QString>("scheme"); // empty: refused
        QTest::newRow("Development among them") << QStringList{"Development", "Production"} << "" << "Development";
        QTest::newRow("another one chosen") << QStringList{"UAT", "Staging"} << "Staging" << "Staging";
        QTest::newRow("chosen over Development") << QStringList{"Development", "UAT"} << "UAT" << "UAT";
        QTest::newRow("no Development, none chosen") << QStringList{"UAT", "Staging"} << "" << "";
        QTest::newRow("chosen but not among them") << QStringList{"UAT"} << "Staging" << "";
        QTest::newRow("custom variant") << QStringList{"QA_1"} << "QA_1" << "QA_1";
        QTest::newRow("letter case counts") << QStringList{"development"} << "" << "";
    }

    void developmentScheme()
    {
        QFETCH(QStringList, variants);
        QFETCH(QString, given);
        QFETCH(QString, scheme);
        QJsonObject object{{"projectType", "new"}, {"projectName", "Orbit"}, {"authorName", "Ada"},
                           {"projectPath", m_work.filePath("Projects")}, {"configVariant", QJsonArray::fromStringList(variants)}};
        if (!given.isEmpty())
            object.insert("developmentSchemeName", given);
        const auto description = readProjectDescription(json(object), m_work.path());
        QCOMPARE(description.isValid(), !scheme.isEmpty());
        if (description.isValid())
            QCOMPARE(description.details.developmentSchemeName, scheme);
        else
            QVERIFY(description.problems.first().startsWith("developmentSchemeName: "));
    }

    // An existing project: the folder holding the .xcodeproj gives the
    // project's name and parent; the UI kind comes from the sources, and the
    // modules are the catalog's entries for it, in the description's order.
    void existingProject_data()
    {
        QTest::addColumn<QString>("folder");
        QTest::addColumn<QString>("ui");
        QTest::addColumn<QStringList>("modules");
        QTest::newRow("UIKit") << "Kit" << text(key::uiKit)
                               << QStringList{"Dynamics=Dynamics", "KeyChain manager=Helpers/KeychainManager.swift",
                                              "User Manager=Helpers/User"};
        QTest::newRow("SwiftUI") << "Shop" << text(key::swiftUi)
                                 << QStringList{"KeyChain manager=Helpers/Keychain", "User Manager=Helpers/UserDefaults"};
    }

    void existingProject()
    {
        QFETCH(QString, folder);
        QFETCH(QString, ui);
        QFETCH(QStringList, modules);
        QStringList chosen;
        for (const QString &module : modules)
            chosen << module.section('=', 0, 0);
        const auto description = readProjectDescription(
            json({{"projectType", "existing"}, {"projectPath", folder + "/"}, {"doesIncludeArkana", false},
                  {"userSelectedModules", QJsonArray::fromStringList(chosen)}}),
            m_work.path());
        QVERIFY2(description.isValid(), qPrintable(description.problems.join('\n')));
        const ProjectDetailsModel &details = description.details;
        QCOMPARE(details.projectType, ProjectType::existing);
        QCOMPARE(details.projectName, folder);
        QCOMPARE(details.projectPath, m_work.path());
        QCOMPARE(details.projectRoot(), m_work.filePath(folder));
        QCOMPARE(details.selectedUI, ui);
        QCOMPARE(titles(details.userSelectedModules), modules);
        QCOMPARE(details.bundleIdentifier, "com.tarnwick." + folder);
        QVERIFY(details.configVariant.isEmpty());
        QVERIFY(details.minimumDeploymentTarget.isEmpty()); // the project keeps its own
    }

    // Without an app file to tell, the UI kind is taken from the description;
    // without either, modules cannot be chosen (the module screen offers none).
    void undetectableUIKind()
    {
        QJsonObject object{{"projectType", "existing"}, {"projectPath", "Bare"}, {"doesIncludeArkana", false},
                           {"userSelectedModules", QJsonArray{"BLE"}}};
        auto description = readProjectDescription(json(object), m_work.path());
        QCOMPARE(description.problems.size(), 1);
        QVERIFY(description.problems.first().startsWith("userSelectedModules: the project's UI kind could not be detected"));

        object.insert("selectedUI", "UIKit");
        description = readProjectDescription(json(object), m_work.path());
        QVERIFY2(description.isValid(), qPrintable(description.problems.join('\n')));
        QCOMPARE(description.details.selectedUI, text(key::uiKit));
        QCOMPARE(description.details.userSelectedModules.size(), 1);
    }
};

QTEST_GUILESS_MAIN(TestProjectDescription)
#include "TestProjectDescription.moc"
