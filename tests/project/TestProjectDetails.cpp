#include "app/TextCatalog.h"
#include "project/ProjectDetailsModel.h"

#include <QSet>
#include <QtTest>

using namespace plinth;

class TestProjectDetails : public QObject
{
    Q_OBJECT

private slots:
    void freshDescriptionHasTheDefaults()
    {
        const ProjectDetailsModel details;
        QCOMPARE(details.projectType, ProjectType::none);
        QVERIFY(details.doesIncludeArkana);
        QVERIFY(!details.doesIncludeAWS);
        QVERIFY(!details.doesIncludeBLE);
        QCOMPARE(details.developmentSchemeName, QStringLiteral("Development"));
        QCOMPARE(details.developmentSchemeName, text(key::variantDevelopment));
        for (const QString *field : {&details.projectName, &details.organizationName, &details.bundleIdentifier,
                                     &details.authorName, &details.authorURL, &details.selectedUI,
                                     &details.minimumDeploymentTarget, &details.projectPath})
            QVERIFY(field->isEmpty());
        QVERIFY(details.userSelectedPods.isEmpty());
        QVERIFY(details.configVariant.isEmpty());
        QVERIFY(details.userSelectedModules.isEmpty());
    }

    void presetPodsAreTheCatalog_data()
    {
        QTest::addColumn<int>("index");
        QTest::addColumn<QString>("title");
        QTest::addColumn<QString>("description");
        QTest::newRow("first") << 0 << "R.swift"
                               << "Strong typed, autocompleted resources like images, fonts and segues in Swift projects";
        QTest::newRow("Sentry repeats Bagel") << 2 << "Sentry" << "a little native network debugging tool for iOS";
        QTest::newRow("ampersand") << 5 << "Navajo-Swift" << "Password Validator & Strength Evaluator";
        QTest::newRow("apostrophe") << 7 << "PhoneNumberKit"
                                    << "A Swift framework for parsing, formatting and validating international phone "
                                       "numbers. Inspired by Google's libphonenumber.";
        QTest::newRow("emoji chicken") << 9 << "SwiftDate"
                                       << QString::fromUtf8("\U0001F414 Toolkit to parse, validate, manipulate, compare "
                                                            "and display dates, time & timezones in Swift.");
        QTest::newRow("emoji globe, last") << 11 << "Connectivity"
                                           << QString::fromUtf8("\U0001F310 Makes Internet connectivity detection more "
                                                                "robust by detecting Wi-Fi networks without Internet "
                                                                "access.");
    }

    void presetPodsAreTheCatalog()
    {
        QFETCH(int, index);
        QFETCH(QString, title);
        QFETCH(QString, description);
        const ProjectDetailsModel details;
        QCOMPARE(details.presetAndSelectedPods.size(), 12);
        const ListItem &pod = details.presetAndSelectedPods.at(index);
        QCOMPARE(pod.title, title);
        QCOMPARE(pod.description, description);
    }

    void presetPodsAreWellFormed()
    {
        const ProjectDetailsModel details;
        QSet<QUuid> ids;
        for (const ListItem &pod : details.presetAndSelectedPods) {
            QCOMPARE(pod.podType, PodType::preset);
            QCOMPARE(pod.interface, UIInterface::preset);
            QVERIFY(pod.directoryName.isEmpty());
            QVERIFY(pod.spmGitHubURL.isEmpty());
            QVERIFY(pod.requiredPods.isEmpty());
            QVERIFY(!pod.id.isNull());
            ids.insert(pod.id);
        }
        QCOMPARE(ids.size(), 12);
        // Two descriptions made separately carry different ids.
        QVERIFY(ProjectDetailsModel().presetAndSelectedPods.first().id != details.presetAndSelectedPods.first().id);
    }

    // The current description is seeded once and then only ever overwritten
    // field by field: a second pass through the flow keeps earlier values.
    void currentDescriptionIsOneRecordThatIsNeverReset()
    {
        ProjectDetailsModel &current = currentProjectDetails();
        QCOMPARE(&current, &currentProjectDetails());
        current.organizationName = QStringLiteral("Tarnwick Solutions");
        current.projectType = ProjectType::new_;
        current.projectType = ProjectType::existing;
        QCOMPARE(currentProjectDetails().organizationName, QStringLiteral("Tarnwick Solutions"));
        QCOMPARE(ProjectDetailsManager::shared().projectDetails.organizationName, QString());
    }

    void uiKindAndRoot_data()
    {
        QTest::addColumn<QString>("selectedUI");
        QTest::addColumn<bool>("isUIKit");
        QTest::addColumn<QString>("projectPath");
        QTest::addColumn<QString>("root");
        QTest::newRow("UIKit") << "UIKit" << true << "/Users/me/Dev" << "/Users/me/Dev/Demo";
        QTest::newRow("SwiftUI") << "SwiftUI" << false << "/Users/me/Dev/" << "/Users/me/Dev/Demo";
        QTest::newRow("empty counts as SwiftUI") << "" << false << "/a b/ç" << "/a b/ç/Demo";
        QTest::newRow("case matters") << "uikit" << false << "/" << "/Demo";
    }

    void uiKindAndRoot()
    {
        QFETCH(QString, selectedUI);
        QFETCH(bool, isUIKit);
        QFETCH(QString, projectPath);
        QFETCH(QString, root);
        ProjectDetailsModel details;
        details.projectName = QStringLiteral("Demo");
        details.selectedUI = selectedUI;
        details.projectPath = projectPath;
        QCOMPARE(details.isUIKitProject(), isUIKit);
        QCOMPARE(details.projectRoot(), root);
    }
};

QTEST_GUILESS_MAIN(TestProjectDetails)
#include "TestProjectDetails.moc"
