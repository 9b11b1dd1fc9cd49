#include "project/ProjectDetailsModel.h"

#include <QSet>
#include <QtTest>

using namespace plinth;

class TestProjectDetails : public QObject
{
    Q_OBJECT

private slots:
    // The preset pods are rows of a selection list: each needs an id of its
    // own, and two descriptions made separately must not share them.
    void presetPodsHaveDistinctIds()
    {
        const ProjectDetailsModel details;
        QSet<QUuid> ids;
        for (const ListItem &pod : details.presetAndSelectedPods) {
            QVERIFY(!pod.id.isNull());
            ids.insert(pod.id);
        }
        QCOMPARE(ids.size(), details.presetAndSelectedPods.size());
        QVERIFY(ProjectDetailsModel().presetAndSelectedPods.first().id != details.presetAndSelectedPods.first().id);
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
