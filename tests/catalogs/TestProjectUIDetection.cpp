#include "app/base/TextCatalog.h"
#include "catalogs/ProjectUIDetection.h"
#include "tools/TestFiles.h"

#include <QDir>
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
        QTest::newRow("no Swift file") << "Shop/main.m" << QByteArray("#import <UIKit/UIKit.h>\n") << "";
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
};

QTEST_GUILESS_MAIN(TestProjectUIDetection)
#include "TestProjectUIDetection.moc"
