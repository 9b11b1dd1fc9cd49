#include "catalogs/ModuleCatalog.h"
#include "generation/XcodeGenSpecification.h"

#include <QtTest>

using namespace plinth;

class TestModuleCatalog : public QObject
{
    Q_OBJECT

private slots:
    void directoriesFollowTheUIKind_data()
    {
        QTest::addColumn<bool>("isUIKit");
        QTest::addColumn<QStringList>("directories");
        QTest::newRow("UIKit") << true
                               << QStringList{"Network", "Helpers/User", "Helpers/KeychainManager.swift",
                                              "Helpers/AdaptiveLayout", "AWSS3", "BLE", "Dynamics", "Extensions"};
        QTest::newRow("SwiftUI") << false
                                 << QStringList{"NetworkLayer", "Helpers/UserDefaults", "Helpers/Keychain",
                                                "Helpers/AdaptiveLayout", "AWSS3", "BLE", "Dynamics", "Extensions"};
    }

    void directoriesFollowTheUIKind()
    {
        QFETCH(bool, isUIKit);
        QFETCH(QStringList, directories);
        const QList<ListItem> catalog = moduleCatalog(isUIKit);
        QStringList found;
        for (const ListItem &module : catalog) {
            found << module.directoryName;
            QCOMPARE(module.podType, PodType::supplemental);
            QVERIFY(!module.id.isNull());
        }
        QCOMPARE(found, directories);
        QCOMPARE(catalog.at(6).interface, UIInterface::UIKit); // Dynamics is UIKit only
        QCOMPARE(catalog.at(0).interface, UIInterface::both);
    }

    void entriesCarryTheirPodsPackagesAndTexts()
    {
        const QList<ListItem> catalog = moduleCatalog(true);
        QCOMPARE(catalog.at(0).title, QStringLiteral("Network layer"));
        QCOMPARE(catalog.at(0).spmGitHubURL, QString::fromLatin1(wirecallPackageURL));
        QCOMPARE(catalog.at(4).requiredPods, QStringList{QStringLiteral("AWSS3")});
        for (int i : {1, 2, 3, 5, 6, 7}) {
            QVERIFY(catalog.at(i).requiredPods.isEmpty());
            QVERIFY(catalog.at(i).spmGitHubURL.isEmpty());
        }
        QVERIFY(catalog.at(2).description.contains(QStringLiteral("device\u2019s Keychain")));
        QVERIFY(moduleCatalog(true).first().id != catalog.first().id);
    }
};

QTEST_GUILESS_MAIN(TestModuleCatalog)
#include "TestModuleCatalog.moc"
