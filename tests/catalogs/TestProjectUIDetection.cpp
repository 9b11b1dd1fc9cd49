#include "app/base/TextCatalog.h"
#include "catalogs/ModuleCatalog.h"
#include "catalogs/ProjectUIDetection.h"
#include "tools/TestFiles.h"

#include <QDir>
#include <QSet>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

#include <unistd.h>

using namespace plinth;
using plinth::test::writeFile;

class TestProjectUIDetection : public QObject
{
    Q_OBJECT

private slots:
    void detect_data()
    {
        QTest::addColumn<QString>("file"); // below the project folder Shop
        QTest::addColumn<QByteArray>("source");
        QTest::addColumn<QString>("ui"); // empty: nothing detected
        QTest::newRow("UIKit app delegate") << "Shop/AppDelegate.swift" << QByteArray("import UIKit\n") << text(key::uiKit);
        QTest::newRow("SwiftUI app file") << "Shop/ShopApp.swift" << QByteArray("import SwiftUI\n@main struct ShopApp: App {}\n")
                                          << text(key::swiftUi);
        QTest::newRow("deep below") << "Sources/App/Boot/AppDelegate.swift" << QByteArray("import UIKit\n") << text(key::uiKit);
        QTest::newRow("SwiftUI wins in a file naming both") << "Shop/AppDelegate.swift"
                                                            << QByteArray("import UIKit\nimport SwiftUI\n") << text(key::swiftUi);
        QTest::newRow("names neither") << "Shop/AppDelegate.swift" << QByteArray("import Foundation\n") << "";
        QTest::newRow("app file of another name") << "Shop/StoreApp.swift" << QByteArray("import SwiftUI\n") << "";
        QTest::newRow("suffix is enough") << "Shop/MyAppDelegate.swift" << QByteArray("import UIKit\n") << text(key::uiKit);
        QTest::newRow("no Swift file") << "Shop/main.m" << QByteArray("#import <UIKit/UIKit.h>\n") << "";
        QTest::newRow("hidden folder") << ".build/ShopApp.swift" << QByteArray("import SwiftUI\n") << text(key::swiftUi);
    }

    void detect()
    {
        QFETCH(QString, file);
        QFETCH(QByteArray, source);
        QFETCH(QString, ui);
        QTemporaryDir work;
        QVERIFY(writeFile(work.filePath("Shop/" + file), source));
        QVERIFY(writeFile(work.filePath("Shop/README.md"), "UIKit SwiftUI\n"));

        ProjectDetailsModel details;
        details.projectPath = work.path();
        details.projectName = "Shop";
        const std::optional<QString> detected = detectProjectUI(details);
        QCOMPARE(detected.value_or(QString()), ui);
    }

    void missingFolderOrUnreadableAppFile()
    {
        QTemporaryDir work;
        QVERIFY(!detectProjectUI(work.filePath("Gone"), "Gone"));
        if (geteuid() == 0)
            QSKIP("root reads every file");
        QVERIFY(writeFile(work.filePath("Shop/AppDelegate.swift"), "import UIKit\n"));
        QVERIFY(QFile::setPermissions(work.filePath("Shop/AppDelegate.swift"), QFileDevice::WriteOwner));
        QVERIFY(!detectProjectUI(work.filePath("Shop"), "Shop"));
    }

    // The rows of a selection list, the preset pods of a description and
    // each kind's offered modules: each with an id of its own, fresh for
    // every list made. (What is offered for which kind is TestModulesScreen's.)
    void selectionRowsHaveFreshIds()
    {
        const auto ids = [](const QList<ListItem> &rows) {
            QSet<QUuid> set;
            for (const ListItem &row : rows)
                set.insert(row.id);
            return set;
        };
        const QList<QList<ListItem> (*)()> lists{[] { return ProjectDetailsModel().presetAndSelectedPods; },
                                                 [] { return plinth::offeredModules(true); },
                                                 [] { return plinth::offeredModules(false); }};
        for (const auto list : lists) {
            const QList<ListItem> rows = list();
            const QSet<QUuid> first = ids(rows);
            QCOMPARE(first.size(), rows.size());
            QVERIFY(!first.contains(QUuid()) && !first.intersects(ids(list())));
        }
    }

    // The UI kind is the selected one's text as it is; the root is the
    // project's folder in the chosen place.
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

QTEST_GUILESS_MAIN(TestProjectUIDetection)
#include "TestProjectUIDetection.moc"
