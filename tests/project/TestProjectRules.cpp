#include "app/base/DebugConsole.h"
#include "app/base/TextCatalog.h"
#include "project/BuildSettingsRules.h"
#include "project/ExistingProjectDiscovery.h"
#include "project/ProjectNameRules.h"
#include "tools/TestFiles.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QRegularExpression>
#include <QSet>
#include <QTemporaryDir>
#include <QtTest>

#include <unistd.h>

using namespace plinth;
using plinth::test::writeFile;

/// The rules of the identity, build settings and home screens, which the
/// screens and plinth-cli share.
class TestProjectRules : public QObject
{
    Q_OBJECT

private slots:
    void productName_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("key"); // empty: accepted
        QTest::newRow("letters and digits") << "App2Go" << "";
        QTest::newRow("one capital") << "A" << "";
        QTest::newRow("empty gives no message") << "" << "";
        QTest::newRow("small initial") << "myApp" << key::projectNameInitialSmallCaseFound;
        QTest::newRow("digit initial") << "1App" << key::projectNameInitialDigitFound;
        QTest::newRow("space") << "My App" << key::projectNameContainsSpace;
        QTest::newRow("only blanks") << "   " << key::projectNameContainsSpace;
        QTest::newRow("space before special character") << "My App!" << key::projectNameContainsSpace;
        QTest::newRow("hyphen") << "My-App" << key::projectNameContainsSpecialCharacter;
        QTest::newRow("umlaut") << "Über" << key::projectNameContainsSpecialCharacter;
        QTest::newRow("underscore") << "My_App" << key::projectNameContainsSpecialCharacter;
        QTest::newRow("tab") << "My\tApp" << key::projectNameContainsSpecialCharacter;
        QTest::newRow("line break") << "My\nApp" << key::projectNameContainsSpecialCharacter;
        QTest::newRow("special before small initial") << "my.app" << key::projectNameContainsSpecialCharacter;
        QTest::newRow("YAML boolean") << "Off" << key::projectNameReadsAsYamlValue;
        QTest::newRow("YAML boolean in capitals") << "YES" << key::projectNameReadsAsYamlValue;
        QTest::newRow("YAML boolean of one letter") << "N" << key::projectNameReadsAsYamlValue;
        QTest::newRow("YAML word inside a name") << "OnTime" << "";
        QTest::newRow("Swift keyword") << "Self" << key::projectNameSwiftKeyword;
        QTest::newRow("metatype") << "Type" << key::projectNameSwiftKeyword;
        QTest::newRow("keyword of another case") << "If" << "";
        QTest::newRow("module compared exactly") << "Uikit" << "";
        QTest::newRow("implicit module") << "Swift" << key::projectNameImportedModule;
        QTest::newRow("project root entry") << "Pods" << key::projectNameProjectRootEntry;
        QTest::newRow("project root entry in capitals") << "PODFILE" << key::projectNameProjectRootEntry;
        QTest::newRow("project root entry inside a name") << "PodsApp" << "";
        // Every module a template imports, as the templates say today.
        QDirIterator sources(PLINTH_SOURCE_DIR "/resources", {"*.swift"}, QDir::Files, QDirIterator::Subdirectories);
        static const QRegularExpression importLine("^\\s*(?:@testable\\s+)?import\\s+(\\w+)",
                                                   QRegularExpression::MultilineOption);
        QSet<QString> modules;
        while (sources.hasNext()) {
            QFile source(sources.next());
            QVERIFY(source.open(QIODevice::ReadOnly));
            for (const QRegularExpressionMatch &match : importLine.globalMatch(QString::fromUtf8(source.readAll()))) {
                if (!match.captured(1).contains("BaseSetup")) // the template's own modules
                    modules << match.captured(1);
            }
        }
        QVERIFY(modules.size() >= 11);
        for (const QString &module : std::as_const(modules))
            QTest::newRow(qPrintable("imported by a template: " + module)) << module << key::projectNameImportedModule;
    }

    void productName()
    {
        QFETCH(QString, name);
        QFETCH(QString, key);
        const char *found = productNameMessageKey(name);
        QCOMPARE(found ? QString::fromLatin1(found) : QString(), key);
        QCOMPARE(productNameMessage(name), key.isEmpty() ? QString() : text(key.toLatin1().constData()));
    }

    void identity_data()
    {
        QTest::addColumn<QString>("product");
        QTest::addColumn<QString>("organisation");
        QTest::addColumn<QString>("author");
        QTest::addColumn<bool>("incomplete");
        QTest::addColumn<QString>("bundleIdentifier");
        QTest::newRow("complete") << "Demo" << "Tarnwick Solutions" << "Ada Lovelace" << false << "com.tarnwick.Demo";
        QTest::newRow("no product") << "" << "Tarnwick Solutions" << "Ada" << true << "com.tarnwick.";
        QTest::newRow("no organisation") << "Demo" << "" << "Ada" << true << "com.tarnwick.Demo";
        QTest::newRow("no author") << "Demo" << "T" << "" << true << "com.tarnwick.Demo";
        QTest::newRow("blank author counts") << "Demo" << "T" << " " << false << "com.tarnwick.Demo";
        QTest::newRow("bad product") << "My App" << "T" << "Ada" << true << "com.tarnwick.My-App";
    }

    void identity()
    {
        QFETCH(QString, product);
        QFETCH(QString, organisation);
        QFETCH(QString, author);
        QFETCH(bool, incomplete);
        QFETCH(QString, bundleIdentifier);
        QCOMPARE(isIdentityIncomplete(product, organisation, author), incomplete);
        QCOMPARE(bundleIdentifierFor(product), bundleIdentifier);
    }

    void storedProductName()
    {
        QCOMPARE(plinth::storedProductName("demo"), "Demo");
        QCOMPARE(plinth::storedProductName(""), "");
        QCOMPARE(plinth::storedProductName("élan"), "Élan");
    }

    // The checked variants keep the screen's order, whatever order they
    // were checked in.
    void checkedVariantsKeepTheScreenOrder()
    {
        QList<CheckBoxItem> items = initialConfigVariantItems();
        QVERIFY(items.size() >= 4);
        items[3].isChecked = true;
        items[1].isChecked = true;
        QCOMPARE(variantLabels(checkedVariants(items)), (QStringList{items[1].label, items[3].label}));
        // Only Development itself is kept without asking (the other choices
        // are TestBuildSettingsScreen's).
        QCOMPARE(developmentSchemeChoice({{"development", true}}), DevelopmentSchemeChoice::ask);
    }

    void variantLabel_data()
    {
        QTest::addColumn<QString>("label");
        QTest::addColumn<int>("problem");
        QTest::newRow("own name") << "QA_2" << int(VariantLabelProblem::none);
        QTest::newRow("underscore first") << "_Beta" << int(VariantLabelProblem::none);
        QTest::newRow("empty") << "" << int(VariantLabelProblem::empty);
        QTest::newRow("space") << "Pre Prod" << int(VariantLabelProblem::notIdentifier);
        QTest::newRow("digit first") << "2Beta" << int(VariantLabelProblem::notIdentifier);
        QTest::newRow("line break") << "Beta\n#endif" << int(VariantLabelProblem::notIdentifier);
        QTest::newRow("non-ASCII") << "Prüfung" << int(VariantLabelProblem::notIdentifier);
        QTest::newRow("YAML boolean in any case") << "yES" << int(VariantLabelProblem::readsAsYamlValue);
        QTest::newRow("YAML null") << "NULL" << int(VariantLabelProblem::readsAsYamlValue);
        QTest::newRow("literal YAML reads first") << "true" << int(VariantLabelProblem::readsAsYamlValue);
        QTest::newRow("Swift keyword") << "class" << int(VariantLabelProblem::swiftKeyword);
        QTest::newRow("underscore alone") << "_" << int(VariantLabelProblem::swiftKeyword);
        QTest::newRow("keyword of another case") << "Class" << int(VariantLabelProblem::none);
        QTest::newRow("already there") << "UAT" << int(VariantLabelProblem::duplicate);
    }

    void variantLabel()
    {
        QFETCH(QString, label);
        QFETCH(int, problem);
        QCOMPARE(int(variantLabelProblem(label, {"UAT", "Development"})), problem);
    }

    // What the build settings screen's destination test does not reach.
    void destination()
    {
        QTemporaryDir work;
        QVERIFY(writeFile(work.filePath("file"), {}));
        QVERIFY(QDir().mkpath(work.filePath("Projects")));
        QVERIFY(QFile::link(work.filePath("nowhere"), work.filePath("Projects/Dangling")));

        QCOMPARE(destinationProblem(QString()), DestinationProblem::missing);
        QCOMPARE(destinationProblem(work.filePath("file")), DestinationProblem::notAFolder);
        QCOMPARE(pathCheckMessage(work.filePath("file")), QString()); // the screen asks only whether it exists
        QVERIFY(isBuildSettingsIncomplete("", "18.0", work.path()));

        QVERIFY(projectFolderExists(work.filePath("Projects"), "Dangling"));

        if (geteuid() != 0) { // root writes anywhere
            QVERIFY(QFile::setPermissions(work.filePath("Projects"), QFileDevice::ReadOwner | QFileDevice::ExeOwner));
            QCOMPARE(destinationProblem(work.filePath("Projects")), DestinationProblem::notWritable);
            QFile::setPermissions(work.filePath("Projects"), QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
        }
    }

    void projectPackage_data()
    {
        QTest::addColumn<QStringList>("entries"); // below the chosen folder "App"; a trailing "/" makes a folder
        QTest::addColumn<QString>("projectName"); // empty: none found
        QTest::newRow("package named like the folder") << QStringList{"App.xcodeproj/", "App/"} << "App";
        QTest::newRow("package named otherwise") << QStringList{"Shop.xcodeproj/"} << "Shop";
        QTest::newRow("a file counts") << QStringList{"App.xcodeproj"} << "App";
        QTest::newRow("dots in the name") << QStringList{"My.App.xcodeproj/"} << "My.App";
        QTest::newRow("only in a subfolder") << QStringList{"Sub/App.xcodeproj/"} << "";
        QTest::newRow("workspace is not a package") << QStringList{"App.xcworkspace/"} << "";
        QTest::newRow("no name before the extension") << QStringList{".xcodeproj/"} << "";
    }

    void projectPackage()
    {
        QFETCH(QStringList, entries);
        QFETCH(QString, projectName);
        QTemporaryDir work;
        const QString folder = work.filePath("App");
        QVERIFY(QDir().mkpath(folder));
        for (const QString &entry : entries)
            QVERIFY(entry.endsWith('/') ? QDir().mkpath(folder + '/' + entry) : writeFile(folder + '/' + entry, {}));

        const ProjectPackage package = findProjectPackage(folder + "/");
        QCOMPARE(package.found, !projectName.isEmpty());
        QVERIFY(package.error.isEmpty());
        QCOMPARE(package.folder, folder);
        if (package.found) {
            QCOMPARE(package.projectName, projectName);
            QCOMPARE(package.projectPath, work.path());
        }
    }

    void unreadableProjectFolder()
    {
        QTemporaryDir work;
        ConsoleCapture console;
        const ProjectPackage missing = findProjectPackage(work.filePath("missing"));
        QVERIFY(!missing.found);
        QCOMPARE(missing.error, QString::fromLocal8Bit(strerror(ENOENT)));
        QCOMPARE(console.lines(), QStringList{"Error reading directory contents: " + missing.error});

        if (geteuid() != 0) {
            QVERIFY(QDir().mkpath(work.filePath("locked")));
            QVERIFY(writeFile(work.filePath("locked/App.xcodeproj"), {}));
            QVERIFY(QFile::setPermissions(work.filePath("locked"), QFileDevice::WriteOwner | QFileDevice::ExeOwner));
            const ProjectPackage locked = findProjectPackage(work.filePath("locked"));
            QFile::setPermissions(work.filePath("locked"), QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
            QVERIFY(!locked.found);
            QVERIFY(!locked.error.isEmpty());
        }
    }
};

QTEST_GUILESS_MAIN(TestProjectRules)
#include "TestProjectRules.moc"
