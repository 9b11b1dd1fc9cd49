#include "app/base/DebugConsole.h"
#include "app/base/TextCatalog.h"
#include "generation/TemplateCopy.h"
#include "generation/TemplateInstantiation.h"
#include "tools/TestFiles.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QMap>
#include <QTemporaryDir>
#include <QtTest>

using namespace plinth;
using namespace plinth::test;

namespace {

const QString T = QStringLiteral("SwiftUIBaseSetup");

// Everything below `root` as the file system holds it, links not followed:
// permission bits, modification time, and the bytes (or link target).
QMap<QString, QString> snapshot(const QString &root)
{
    QMap<QString, QString> items;
    QDirIterator it(root, QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QFileInfo info(it.next());
        const QString path = info.filePath();
        const QString content = info.isSymLink() ? "link to " + info.symLinkTarget()
                                : info.isDir()   ? QStringLiteral("folder")
                                                 : QString::fromLatin1(readFile(path).toHex());
        const QString status = QStringLiteral("mode %1 mtime %2 ").arg(fileMode(path), 0, 8);
        items.insert(QDir(root).relativeFilePath(path), status.arg(modificationTime(path)) + content);
    }
    return items;
}

// Bytes that are not UTF-8 and carry the template name, as an image's
// metadata might.
QByteArray imageBytes()
{
    return QByteArray("\x89PNG\r\n\x1a\n\x00\x00\x00\rIHDR\xff\xfe", 18) + T.toUtf8() + QByteArray("\x00\xc3\x28", 3);
}

ProjectDetailsModel orbit(const QString &root)
{
    ProjectDetailsModel details;
    details.projectName = QStringLiteral("Orbit");
    details.projectPath = QFileInfo(root).absolutePath();
    details.selectedUI = text(key::swiftUi);
    details.developmentSchemeName = QStringLiteral("Development");
    details.configVariant = {{QStringLiteral("Development"), true}, {QStringLiteral("UAT"), true}};
    return details;
}

} // namespace

class TestTemplateInstantiation : public QObject
{
    Q_OBJECT

    QTemporaryDir m_work;
    QString m_bundleRoot;
    QString m_projectRoot;

    // A resource bundle holding the fixture template, plus what git should
    // not carry: an image, Finder notes, an executable script, a CRLF file.
    void makeBundle()
    {
        m_bundleRoot = m_work.filePath("bundle");
        QVERIFY(QDir().mkpath(m_bundleRoot));
        QCOMPARE(QProcess::execute("cp", {"-R", PLINTH_FIXTURES_DIR "/templates/SwiftUIBaseSetup", m_bundleRoot}), 0);
        const QString app = m_bundleRoot + "/SwiftUIBaseSetup/SwiftUIBaseSetup/";
        QVERIFY(writeFile(app + "Assets/SwiftUIBaseSetupIcon.png", imageBytes()));
        QVERIFY(writeFile(app + ".DS_Store", QByteArray("Bud1\x00SwiftUIBaseSetup", 21)));
        QVERIFY(writeFile(app + "Scripts/lint.sh", "#!/bin/sh\necho SwiftUIBaseSetup\n"));
        QVERIFY(setFileMode(app + "Scripts/lint.sh", 0755));
        QVERIFY(writeFile(app + "Windows.swift", "// SwiftUIBaseSetup\r\nlet a = 1\r\n\r\nlet b = \"SwiftUIBaseSetup\"\r\n"));
        QVERIFY(writeFile(app + "Plain.swift", "let nothingToReplace = true"));
    }

    void makeProjectRoot(const ProjectDetailsModel &details)
    {
        m_projectRoot = details.projectRoot();
        QDir(m_projectRoot).removeRecursively();
        for (const char *suffix : {"", "Tests", "UITests"})
            QVERIFY(QDir().mkpath(m_projectRoot + QLatin1Char('/') + details.projectName + suffix));
    }

    QString inProject(const QString &relative) const { return m_projectRoot + QLatin1Char('/') + relative; }

private slots:
    void initTestCase()
    {
        QVERIFY(m_work.isValid());
        makeBundle();
    }

    void copyNeverOverwritesNorInvents()
    {
        const auto details = orbit(m_work.filePath("keep/Orbit"));
        makeProjectRoot(details);
        QVERIFY(writeFile(inProject("README.md"), "mine"));
        QVERIFY(writeFile(inProject("Orbit/SwiftUIBaseSetupApp.swift"), "mine too"));
        const ResourceBundle bundle(m_bundleRoot);
        {
            ConsoleCapture console;
            QVERIFY(!copyTemplate(T, m_projectRoot, details, bundle));
            QCOMPARE(readFile(inProject("README.md")), QByteArray("mine"));
            QCOMPARE(readFile(inProject("Orbit/SwiftUIBaseSetupApp.swift")), QByteArray("mine too"));
            // Each file kept is named; the rest of each stage is copied.
            QCOMPARE(console.lines().size(), 2);
            QVERIFY(console.lines().first().contains("README.md"));
            QVERIFY(console.lines().last().contains("SwiftUIBaseSetupApp.swift"));
            QVERIFY(QFileInfo::exists(inProject("Gemfile")));
            QVERIFY(QFileInfo::exists(inProject("Orbit/Utilities/Constants.swift")));
        }

        // A name outside the bundle is not a template. (A template or a
        // folder of it missing from the bundle is TestFaults'
        // missingTemplateResource.)
        QCOMPARE(templateResourceURL("../bundle", bundle), QString());
    }

    // The golden project pins the rules for a plain product name, and
    // newProject() line breaks and untouched files; here spaced names, the
    // test-file rule on a file that already names the product, and item
    // names (an empty file name: `before` is an item's name). (CRLF kept by
    // every rule is fuzz_template_rewrite's; a name with a quote through the
    // whole run is TestGenerationRun::existingProject's.)
    void contentRules_data()
    {
        QTest::addColumn<QString>("fileName");
        QTest::addColumn<QString>("product");
        QTest::addColumn<QString>("before");
        QTest::addColumn<QString>("after");

        QTest::newRow("pbxproj takes the underscored name")
            << "project.pbxproj" << "My App" << "path = SwiftUIBaseSetup/SwiftUIBaseSetupApp.swift;"
            << "path = My_App/My_AppApp.swift;";
        QTest::newRow("secrets module underscored")
            << "App.swift" << "My App" << "import SwiftUIBaseSetupSecrets\nlet x = \"SwiftUIBaseSetup\""
            << "import My_AppSecrets\nlet x = \"My App\"";
        QTest::newRow("test file: a product name inside longer identifiers")
            << "SwiftUIBaseSetupUITests.swift" << "App"
            << "final class SwiftUIBaseSetupUITests: XCTestCase {\n    let app = XCUIApplication(), again = App.self\n"
            << "final class AppTestsUITests: XCTestCase {\n    let app = XCUIApplication(), again = AppTests.self\n";
        QTest::newRow("test file: the template's own test of that name")
            << "KeychainTests.swift" << "Keychain"
            << "@testable import SwiftUIBaseSetup\nfinal class KeychainTests { var store: KeychainStore? }"
            << "@testable import Keychain\nfinal class KeychainTests { var store: KeychainStore? }";
        QTest::newRow("secrets module: non-ASCII letters, a leading digit, another module")
            << "AppSecrets.swift" << "3D Ünï" << "import SwiftUIBaseSetupSecrets\nimport Other3D ÜnïSecrets"
            << "import _D__n_Secrets\nimport Other3D ÜnïSecrets";
        QTest::newRow("folder name") << "" << "My App" << T << "My App";
        QTest::newRow("test file name") << "" << "My App" << T + "Tests.swift" << "My_AppTests.swift";
        QTest::newRow("a pbxproj name keeps the spaced name") << "" << "My App" << T + ".pbxproj" << "My App.pbxproj";
    }

    void contentRules()
    {
        QFETCH(QString, fileName);
        QFETCH(QString, product);
        QFETCH(QString, before);
        QFETCH(QString, after);
        const InstantiationNames names = InstantiationNames::of(T, product);
        QCOMPARE(fileName.isEmpty() ? renamedItemName(before, names) : rewriteContent(before, fileName, names), after);
    }

    // The copy stages, then the walk that renames and rewrites. (Which of
    // the AWS S3 and BLE folders a choice leaves is TestGenerationRun's
    // newProject, over the shipped templates.)
    void newProject()
    {
        const auto details = orbit(m_work.filePath("new/Orbit"));
        makeProjectRoot(details);
        {
            ConsoleCapture console;
            QVERIFY(copyTemplate(T, m_projectRoot, details, ResourceBundle(m_bundleRoot)));
            QCOMPARE(console.lines(), QStringList());
        }
        // (What the stages copy is the golden project's exact tree.)

        // What XcodeGen and the post-generation script leave before the walk.
        QVERIFY(writeFile(inProject("Orbit.xcodeproj/project.pbxproj"),
                          "/* SwiftUIBaseSetupTests.swift in Sources */\npath = SwiftUIBaseSetup;\n"));
        QVERIFY(writeFile(inProject("Podfile"), "target 'SwiftUIBaseSetup' do\nend\n"));
        QVERIFY(makeOld(inProject("Orbit/Plain.swift")));
        const auto plainBefore = snapshot(inProject("Orbit")).value("Plain.swift");

        ConsoleCapture console;
        const InstantiationResult result = instantiateTemplate(m_projectRoot, T, details);
        QVERIFY(result.rootListed);
        QCOMPARE(result.failures, 0);
        QCOMPARE(result.filesNotText, 1);

        // The golden project pins the renamed tree and the rewritten
        // texts; here: what the fixture template alone does not hold.
        const auto all = snapshot(m_projectRoot);
        for (auto item = all.begin(); item != all.end(); ++item)
            QVERIFY2(!item.key().contains(T), qPrintable(item.key()));

        QCOMPARE(readFile(inProject("Orbit.xcodeproj/project.pbxproj")),
                 QByteArray("/* OrbitTests.swift in Sources */\npath = Orbit;\n"));
        QCOMPARE(readFile(inProject("Podfile")), QByteArray("target 'Orbit' do\nend\n"));
        QCOMPARE(readFile(inProject("Orbit/Windows.swift")), QByteArray("// Orbit\r\nlet a = 1\r\n\r\nlet b = \"Orbit\"\r\n"));
        QCOMPARE(readFile(inProject("Orbit/Scripts/lint.sh")), QByteArray("#!/bin/sh\necho Orbit\n"));
        QCOMPARE(fileMode(inProject("Orbit/Scripts/lint.sh")), mode_t(0755));
        QCOMPARE(readFile(inProject("Orbit/Assets/OrbitIcon.png")), imageBytes());
        QCOMPARE(readFile(inProject("Orbit/.DS_Store")), QByteArray("Bud1\x00SwiftUIBaseSetup", 21));
        QCOMPARE(snapshot(inProject("Orbit")).value("Plain.swift"), plainBefore);

        // Console: one note per Finder file.
        const QString finderNote = text(key::skippingIgnoreFile, inProject("Orbit/.DS_Store"));
        QCOMPARE(console.lines().filter("Skipping "), QStringList{finderNote});
    }

    // (A rewrite that cannot be written, in a folder turned read-only, is
    // TestFaults'.)
    void walkFailures()
    {
        const auto details = orbit(m_work.filePath("fail/Orbit"));
        makeProjectRoot(details);
        QVERIFY(writeFile(inProject("Orbit/SwiftUIBaseSetupApp.swift"), "SwiftUIBaseSetup"));
        QVERIFY(writeFile(inProject("Orbit/OrbitApp.swift"), "already here"));

        ConsoleCapture console;
        const InstantiationResult result = instantiateTemplate(m_projectRoot, T, details);
        QCOMPARE(result.failures, 1);
        QVERIFY(!result.succeeded());
        // The move would replace a file: the item keeps its name, the other
        // file is untouched, and the text was still rewritten.
        QCOMPARE(readFile(inProject("Orbit/OrbitApp.swift")), QByteArray("already here"));
        QCOMPARE(readFile(inProject("Orbit/SwiftUIBaseSetupApp.swift")), QByteArray("Orbit"));
        QCOMPARE(console.lines().filter("Error while renaming content: ").size(), 1);
    }

    void existingProject()
    {
        // A user's project; the Arkana step has just copied in its three files.
        auto details = orbit(m_work.filePath("existing/Shop"));
        details.projectName = "Shop";
        m_projectRoot = details.projectRoot();
        QDir(m_projectRoot).removeRecursively();
        QTemporaryDir outside;
        QVERIFY(writeFile(outside.filePath("shared.swift"), "// SwiftUIBaseSetup Shop\n"));
        QVERIFY(writeFile(outside.filePath("Library/SwiftUIBaseSetupTests.swift"), "Shop\n"));
        const auto outsideBefore = snapshot(outside.path());

        const std::pair<const char *, QByteArray> own[] = {
            {"Shop/AppDelegate.swift", "// made from SwiftUIBaseSetup\n"},
            {"ShopTests/ShopTests.swift", "@testable import Shop\nfinal class ShopTests: XCTestCase {}\n"},
            {"scripts/build.sh", "#!/bin/sh\necho Shop SwiftUIBaseSetup\n"},
            {"Shop/Assets/logo.png", imageBytes()},
            {"Shop/SceneDelegate.swift", "#if DEBUG\nlet keep = 1\n#endif\n// Development\n"},
            {"Shop/Constants.swift", "struct URL {\n\tlet mine = 1\n}\n"},
            {"SwiftUIBaseSetupNotes.txt", "Shop notes\n"},
        };
        for (const auto &[path, bytes] : own)
            QVERIFY(writeFile(inProject(path), bytes));
        QVERIFY(setFileMode(inProject("scripts/build.sh"), 0750));
        QVERIFY(QFile::link(outside.filePath("shared.swift"), inProject("Shop/Shared.swift")));
        QVERIFY(QFile::link(outside.filePath("Library"), inProject("Library")));
        QVERIFY(QFile::link(outside.filePath("Library"), inProject("SwiftUIBaseSetupLink")));
        const QStringList copied{"Gemfile", ".arkana.yml", ".env"};
        for (const QString &file : copied)
            QVERIFY(QFile::copy(m_bundleRoot + "/SwiftUIBaseSetup/" + file, inProject(file)));
        const auto all = snapshot(m_projectRoot);
        for (auto item = all.begin(); item != all.end(); ++item)
            QVERIFY(makeOld(inProject(item.key())));
        const auto userFiles = [&] {
            auto items = snapshot(m_projectRoot);
            for (const QString &file : copied)
                items.remove(file);
            return items;
        };
        const auto before = userFiles();

        ConsoleCapture console;
        const InstantiationResult result =
            instantiateTemplate(m_projectRoot, T, details, InstantiationScope::existing(copied));
        QVERIFY(result.succeeded());
        QCOMPARE(result.itemsRenamed, 0);
        QCOMPARE(userFiles(), before);
        QCOMPARE(snapshot(outside.path()), outsideBefore);

        QVERIFY(readFile(inProject(".arkana.yml")).contains("environments:\n  - Development\n  - UAT\n"));
        QVERIFY(readFile(inProject(".arkana.yml")).contains("import_name: 'ShopSecrets'"));
        QVERIFY(readFile(inProject(".env")).contains("# UAT Keys\nexport ApiKeyUAT=\n"));
        QVERIFY(console.lines().filter("ERROR READING").isEmpty());
    }
};

QTEST_GUILESS_MAIN(TestTemplateInstantiation)
#include "TestTemplateInstantiation.moc"
