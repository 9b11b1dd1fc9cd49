#include "app/base/ResourceBundle.h"
#include "tools/TestFiles.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

using namespace plinth;

class TestResourceBundle : public QObject
{
    Q_OBJECT

    QTemporaryDir m_root;
    QTemporaryDir m_outside;

private slots:
    void initTestCase()
    {
        QVERIFY(m_root.isValid());
        for (const char *file : {"post_gen.sh", "PodInstall.sh", "SwiftUIBaseSetup/SwiftUIBaseSetup/App.swift",
                                 "Nested/UIKitBaseSetup/UIKitBaseSetup/AppDelegate.swift", "Nested/Deeper/Thing.txt"})
            QVERIFY(test::writeFile(m_root.filePath(file), {}));
        QVERIFY(test::writeFile(m_outside.filePath("secret.txt"), {}));
    }

    void lookup_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("type");
        QTest::addColumn<QString>("subdirectory");
        QTest::addColumn<QString>("expected"); // relative to the root; empty: nothing

        QTest::newRow("name and type") << "post_gen" << "sh" << "" << "post_gen.sh";
        QTest::newRow("full name, no type") << "PodInstall.sh" << "" << "" << "PodInstall.sh";
        QTest::newRow("directory") << "SwiftUIBaseSetup" << "" << "" << "SwiftUIBaseSetup";
        QTest::newRow("in nested subdirectory") << "Thing" << "txt" << "Nested/Deeper" << "Nested/Deeper/Thing.txt";
        QTest::newRow("absent") << "PreProjectSetupCommands.sh" << "" << "" << "";
        QTest::newRow("wrong type") << "post_gen" << "rb" << "" << "";
        QTest::newRow("only at top without subdirectory") << "UIKitBaseSetup" << "" << "" << "";
        // A file outside the bundle that is there: only the guard keeps it out.
        QTest::newRow("absolute subdirectory") << "secret.txt" << "" << m_outside.path() << "";
    }

    void lookup()
    {
        QFETCH(QString, name);
        QFETCH(QString, type);
        QFETCH(QString, subdirectory);
        QFETCH(QString, expected);

        const ResourceBundle bundle(m_root.path());
        const QString found = bundle.path(name, type, subdirectory);
        if (expected.isEmpty()) {
            QCOMPARE(found, QString());
        } else {
            QCOMPARE(found, QDir(m_root.path()).absoluteFilePath(expected));
            QVERIFY(QDir::isAbsolutePath(found));
        }
    }

    void rootFollowsTheExecutable_data()
    {
        QTest::addColumn<QString>("applicationDirectory");
        QTest::addColumn<QString>("root");
        // The build tree's is the one every test finds its translations in.
        QTest::newRow("installed") << "/usr/local/bin" << "/usr/local/share/plinth";
        QTest::newRow("macOS app") << "/Applications/Plinth.app/Contents/MacOS" << "/Applications/Plinth.app/Contents/Resources";
        QTest::newRow("folder named MacOS elsewhere") << "/opt/MacOS" << "/opt/share/plinth";
    }

    void rootFollowsTheExecutable()
    {
        QFETCH(QString, applicationDirectory);
        QFETCH(QString, root);
        QCOMPARE(ResourceBundle::rootForApplicationDirectory(applicationDirectory), root);
    }
};

QTEST_GUILESS_MAIN(TestResourceBundle)
#include "TestResourceBundle.moc"
