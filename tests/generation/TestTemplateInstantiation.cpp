#include "app/DebugConsole.h"
#include "app/TextCatalog.h"
#include "generation/ReadOnlyFolder.h"
#include "generation/TemplateCopy.h"
#include "generation/TemplateInstantiation.h"
#include "tools/TestFiles.h"

#include <QDir>
#include <QFile>
#include <QMap>
#include <QTemporaryDir>
#include <QtTest>

#include <fcntl.h>
#include <sys/stat.h>

using namespace plinth;
using plinth::test::readFile;
using plinth::test::writeFile;

namespace {

const QString T = QStringLiteral("SwiftUIBaseSetup");

bool setMode(const QString &path, mode_t mode)
{
    return ::chmod(QFile::encodeName(path).constData(), mode) == 0;
}

mode_t modeOf(const QString &path)
{
    struct stat status {};
    return ::lstat(QFile::encodeName(path).constData(), &status) == 0 ? status.st_mode & 07777 : 0;
}

bool makeOld(const QString &path)
{
    const struct timespec times[2] = {{1577934245, 123456789}, {1577934245, 123456789}};
    return ::utimensat(AT_FDCWD, QFile::encodeName(path).constData(), times, AT_SYMLINK_NOFOLLOW) == 0;
}

// Everything below `root` as the file system holds it, links not followed:
// kind, bytes (or link target), permission bits and modification time.
QMap<QString, QString> snapshot(const QString &root)
{
    QMap<QString, QString> items;
    const std::function<void(const QString &)> visit = [&](const QString &relative) {
        const QDir folder(root + QLatin1Char('/') + relative);
        const auto entries = folder.entryInfoList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                                                  QDir::Name);
        for (const QFileInfo &info : entries) {
            const QString path = relative.isEmpty() ? info.fileName() : relative + QLatin1Char('/') + info.fileName();
            struct stat status {};
            ::lstat(QFile::encodeName(info.filePath()).constData(), &status);
            QString description = QStringLiteral("mode %1 mtime %2.%3 ")
                                      .arg(status.st_mode, 0, 8)
                                      .arg(status.st_mtim.tv_sec)
                                      .arg(status.st_mtim.tv_nsec);
            if (info.isSymLink()) {
                description += QStringLiteral("link to ") + info.symLinkTarget();
            } else if (info.isDir()) {
                description += QStringLiteral("folder");
                visit(path);
            } else {
                description += QString::fromLatin1(readFile(info.filePath()).toHex());
            }
            items.insert(path, description);
        }
    };
    visit(QString());
    return items;
}

// Bytes that are not UTF-8 and carry the template name, as an image's
// metadata might.
QByteArray imageBytes()
{
    return QByteArray("\x89PNG\r\n\x1a\n\x00\x00\x00\rIHDR\xff\xfe", 18) + T.toUtf8() + QByteArray("\x00\xc3\x28", 3);
}

ProjectDetailsModel orbit(const QString &root, bool aws = false, bool ble = false)
{
    ProjectDetailsModel details;
    details.projectName = QStringLiteral("Orbit");
    details.projectPath = QFileInfo(root).absolutePath();
    details.selectedUI = text(key::swiftUi);
    details.doesIncludeAWS = aws;
    details.doesIncludeBLE = ble;
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
        m_bundleRoot = m_work.filePath(QStringLiteral("bundle"));
        QDir(m_bundleRoot).removeRecursively();
        QVERIFY(QDir().mkpath(m_bundleRoot));
        QVERIFY(QProcess::execute(QStringLiteral("cp"), {QStringLiteral("-R"), QStringLiteral(PLINTH_FIXTURES_DIR "/templates/") + T,
                                                        m_bundleRoot + QLatin1Char('/')})
                == 0);
        const QString app = m_bundleRoot + QLatin1Char('/') + T + QLatin1Char('/') + T;
        QVERIFY(writeFile(app + QStringLiteral("/Assets/") + T + QStringLiteral("Icon.png"), imageBytes()));
        QVERIFY(writeFile(app + QStringLiteral("/.DS_Store"), QByteArray("Bud1\x00", 5) + T.toUtf8()));
        QVERIFY(writeFile(app + QStringLiteral("/Scripts/lint.sh"), "#!/bin/sh\necho " + T.toUtf8() + "\n"));
        QVERIFY(setMode(app + QStringLiteral("/Scripts/lint.sh"), 0755));
        QVERIFY(writeFile(app + QStringLiteral("/Windows.swift"),
                           "// " + T.toUtf8() + "\r\nlet a = 1\r\n\r\nlet b = \"" + T.toUtf8() + "\"\r\n"));
        QVERIFY(writeFile(app + QStringLiteral("/Plain.swift"), "let nothingToReplace = true"));
    }

    void makeProjectRoot(const ProjectDetailsModel &details)
    {
        m_projectRoot = details.projectRoot();
        QDir(m_projectRoot).removeRecursively();
        for (const QString &suffix : {QString(), QStringLiteral("Tests"), QStringLiteral("UITests")})
            QVERIFY(QDir().mkpath(m_projectRoot + QLatin1Char('/') + details.projectName + suffix));
    }

    QString inProject(const QString &relative) const { return m_projectRoot + QLatin1Char('/') + relative; }

private slots:
    void initTestCase()
    {
        QVERIFY(m_work.isValid());
        makeBundle();
    }

    void resourceLookup()
    {
        const ResourceBundle bundle(m_bundleRoot);
        QCOMPARE(templateResourceURL(T, bundle), m_bundleRoot + QLatin1Char('/') + T);
        QCOMPARE(templateResourceURL(T + QLatin1Char('/') + T + QStringLiteral("Tests"), bundle),
                 m_bundleRoot + QLatin1Char('/') + T + QLatin1Char('/') + T + QStringLiteral("Tests"));
        QCOMPARE(templateResourceURL(QStringLiteral("UIKitBaseSetup"), bundle), QString());

        QCOMPARE(templateResourceURL(QStringLiteral("../bundle"), bundle), QString());
    }

    void copyStage_data()
    {
        QTest::addColumn<bool>("aws");
        QTest::addColumn<bool>("ble");
        QTest::newRow("both left out") << false << false;
        QTest::newRow("AWS S3 only") << true << false;
        QTest::newRow("BLE only") << false << true;
        QTest::newRow("both") << true << true;
    }

    void copyStage()
    {
        QFETCH(bool, aws);
        QFETCH(bool, ble);
        const auto details = orbit(m_work.filePath(QStringLiteral("copy/Orbit")), aws, ble);
        makeProjectRoot(details);
        ConsoleCapture console;
        QVERIFY(copyTemplate(T, m_projectRoot, details, ResourceBundle(m_bundleRoot)));
        QCOMPARE(console.lines(), QStringList());

        QCOMPARE(QFileInfo::exists(inProject(QStringLiteral("Orbit/") + text(key::awss3))), aws);
        QCOMPARE(QFileInfo::exists(inProject(QStringLiteral("Orbit/") + text(key::ble))), ble);
        for (const QString &present : {QStringLiteral("Gemfile"), QStringLiteral(".arkana.yml"), QStringLiteral(".env"),
                                       QStringLiteral("README.md"), QStringLiteral("Orbit/SwiftUIBaseSetupApp.swift"),
                                       QStringLiteral("OrbitTests/SwiftUIBaseSetupTests.swift"),
                                       QStringLiteral("OrbitUITests/SwiftUIBaseSetupUITests.swift")})
            QVERIFY2(QFileInfo::exists(inProject(present)), qPrintable(present));
        for (const QString &absent : {QStringLiteral("Podfile"), QStringLiteral("Podfile.lock"), QStringLiteral("docs"),
                                      T})
            QVERIFY2(!QFileInfo::exists(inProject(absent)), qPrintable(absent));
        QCOMPARE(modeOf(inProject(QStringLiteral("Orbit/Scripts/lint.sh"))), mode_t(0755));
        QCOMPARE(readFile(inProject(QStringLiteral("Orbit/Assets/SwiftUIBaseSetupIcon.png"))), imageBytes());
    }

    void copyNeverOverwrites()
    {
        const auto details = orbit(m_work.filePath(QStringLiteral("keep/Orbit")));
        makeProjectRoot(details);
        QVERIFY(writeFile(inProject(QStringLiteral("README.md")), "mine"));
        QVERIFY(writeFile(inProject(QStringLiteral("Orbit/SwiftUIBaseSetupApp.swift")), "mine too"));
        ConsoleCapture console;
        QVERIFY(!copyTemplate(T, m_projectRoot, details, ResourceBundle(m_bundleRoot)));
        QCOMPARE(readFile(inProject(QStringLiteral("README.md"))), QByteArray("mine"));
        QCOMPARE(readFile(inProject(QStringLiteral("Orbit/SwiftUIBaseSetupApp.swift"))), QByteArray("mine too"));
        // Only the top-level stage reports; the rest of each stage is copied.
        QCOMPARE(console.lines().size(), 1);
        QVERIFY(console.lines().first().contains(QStringLiteral("README.md")));
        QVERIFY(QFileInfo::exists(inProject(QStringLiteral("Gemfile"))));
        QVERIFY(QFileInfo::exists(inProject(QStringLiteral("Orbit/Utilities/Constants.swift"))));
    }

    void copyWithMissingParts()
    {
        ConsoleCapture console;
        const QString missing = m_work.filePath(QStringLiteral("no such folder"));
        QVERIFY(!copyDirectoryContents(missing, m_work.filePath(QStringLiteral("anywhere")), {}));
        QCOMPARE(console.lines(), QStringList{QStringLiteral("Source directory does not exist at ") + missing});

        // Target folders that do not exist: nothing copied, nothing said.
        const auto details = orbit(m_work.filePath(QStringLiteral("bare/Orbit")));
        QDir(details.projectRoot()).removeRecursively();
        ConsoleCapture quiet;
        QVERIFY(!copyTemplate(T, details.projectRoot(), details, ResourceBundle(m_bundleRoot)));
        QVERIFY(QFileInfo::exists(details.projectRoot() + QStringLiteral("/Gemfile")));
        QVERIFY(!QFileInfo::exists(details.projectRoot() + QStringLiteral("/Orbit")));
        QCOMPARE(quiet.lines(), QStringList());

        // A template that is not in the bundle: every stage skipped.
        QVERIFY(!copyTemplate(QStringLiteral("UIKitBaseSetup"), details.projectRoot(), details,
                              ResourceBundle(m_bundleRoot)));
        QCOMPARE(quiet.lines(), QStringList());
    }

    void contentRules_data()
    {
        QTest::addColumn<QString>("fileName");
        QTest::addColumn<QString>("product");
        QTest::addColumn<QString>("before");
        QTest::addColumn<QString>("after");

        QTest::newRow("app source") << "App.swift" << "Orbit" << "struct SwiftUIBaseSetupApp {}\n"
                                    << "struct OrbitApp {}\n";
        QTest::newRow("test class and testable import")
            << "SwiftUIBaseSetupTests.swift" << "Orbit"
            << "@testable import SwiftUIBaseSetup\nfinal class SwiftUIBaseSetupTests: XCTestCase {}"
            << "@testable import Orbit\nfinal class OrbitTestsTests: XCTestCase {}";
        QTest::newRow("pbxproj takes the underscored name")
            << "project.pbxproj" << "My App" << "path = SwiftUIBaseSetup/SwiftUIBaseSetupApp.swift;"
            << "path = My_App/My_AppApp.swift;";
        QTest::newRow("source keeps the spaced name") << "App.swift" << "My App" << "// SwiftUIBaseSetup"
                                                      << "// My App";
        QTest::newRow("secrets module underscored")
            << "App.swift" << "My App" << "import SwiftUIBaseSetupSecrets\nlet x = \"SwiftUIBaseSetup\""
            << "import My_AppSecrets\nlet x = \"My App\"";
        QTest::newRow("secrets module unchanged without spaces")
            << "App.swift" << "Orbit" << "import SwiftUIBaseSetupSecrets" << "import OrbitSecrets";
        QTest::newRow("CRLF and final line break kept")
            << "App.swift" << "Orbit" << "a SwiftUIBaseSetup\r\n\r\nb\r\n" << "a Orbit\r\n\r\nb\r\n";
        QTest::newRow("test file with CRLF") << "OrbitTests.swift" << "Orbit" << "let a = Orbit\r\n@testable import Orbit\r\n"
                                             << "let a = OrbitTests\r\n@testable import Orbit\r\n";
        QTest::newRow("nothing to do") << "README.md" << "Orbit" << "no names here\n" << "no names here\n";
    }

    void contentRules()
    {
        QFETCH(QString, fileName);
        QFETCH(QString, product);
        QFETCH(QString, before);
        QFETCH(QString, after);
        QCOMPARE(rewriteContent(before, fileName, InstantiationNames::of(T, product)), after);
    }

    void renaming_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("expected");
        QTest::newRow("folder") << T << "My App";
        QTest::newRow("test file") << T + QStringLiteral("Tests.swift") << "My_AppTests.swift";
        QTest::newRow("pbxproj plays no part") << T + QStringLiteral(".pbxproj") << "My App.pbxproj";
        QTest::newRow("unrelated") << "Info.plist" << "Info.plist";
    }

    void renaming()
    {
        QFETCH(QString, name);
        QFETCH(QString, expected);
        QCOMPARE(renamedItemName(name, InstantiationNames::of(T, QStringLiteral("My App"))), expected);
    }

    void newProject()
    {
        const auto details = orbit(m_work.filePath(QStringLiteral("new/Orbit")));
        makeProjectRoot(details);
        QVERIFY(copyTemplate(T, m_projectRoot, details, ResourceBundle(m_bundleRoot)));
        // What XcodeGen and the post-generation script leave before the walk.
        QVERIFY(writeFile(inProject(QStringLiteral("Orbit.xcodeproj/project.pbxproj")),
                           "/* SwiftUIBaseSetupTests.swift in Sources */\npath = SwiftUIBaseSetup;\n"));
        QVERIFY(writeFile(inProject(QStringLiteral("Podfile")), "target 'SwiftUIBaseSetup' do\nend\n"));
        QVERIFY(makeOld(inProject(QStringLiteral("Orbit/Plain.swift"))));
        const auto plainBefore = snapshot(inProject(QStringLiteral("Orbit"))).value(QStringLiteral("Plain.swift"));

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

        QCOMPARE(readFile(inProject(QStringLiteral("Orbit.xcodeproj/project.pbxproj"))),
                 QByteArray("/* OrbitTests.swift in Sources */\npath = Orbit;\n"));
        QCOMPARE(readFile(inProject(QStringLiteral("Podfile"))), QByteArray("target 'Orbit' do\nend\n"));
        QCOMPARE(readFile(inProject(QStringLiteral("Orbit/Windows.swift"))),
                 QByteArray("// Orbit\r\nlet a = 1\r\n\r\nlet b = \"Orbit\"\r\n"));
        QCOMPARE(readFile(inProject(QStringLiteral("Orbit/Scripts/lint.sh"))), QByteArray("#!/bin/sh\necho Orbit\n"));
        QCOMPARE(modeOf(inProject(QStringLiteral("Orbit/Scripts/lint.sh"))), mode_t(0755));
        QCOMPARE(readFile(inProject(QStringLiteral("Orbit/Assets/OrbitIcon.png"))), imageBytes());
        QCOMPARE(readFile(inProject(QStringLiteral("Orbit/.DS_Store"))), QByteArray("Bud1\x00", 5) + T.toUtf8());
        QCOMPARE(snapshot(inProject(QStringLiteral("Orbit"))).value(QStringLiteral("Plain.swift")), plainBefore);

        // Console: one note per Finder file, one line per non-text file.
        const QStringList lines = console.lines();
        QCOMPARE(lines.filter(QStringLiteral("Skipping ")).size(), 1);
        QVERIFY(lines.contains(text(key::skippingIgnoreFile, inProject(QStringLiteral("Orbit/.DS_Store")))));
        const QStringList reading = lines.filter(QStringLiteral("ERROR READING: "));
        QCOMPARE(reading.size(), 1);
        QVERIFY(reading.first().startsWith(QStringLiteral("ERROR READING: file:///")));
        QVERIFY(reading.first().endsWith(QStringLiteral("Icon.png")));
    }

    void walkFailures()
    {
        const auto details = orbit(m_work.filePath(QStringLiteral("fail/Orbit")));
        makeProjectRoot(details);
        QVERIFY(writeFile(inProject(QStringLiteral("Orbit/SwiftUIBaseSetupApp.swift")), "SwiftUIBaseSetup"));
        QVERIFY(writeFile(inProject(QStringLiteral("Orbit/OrbitApp.swift")), "already here"));
        QVERIFY(writeFile(inProject(QStringLiteral("Locked/Note.txt")), "SwiftUIBaseSetup"));

        ConsoleCapture console;
        InstantiationResult result;
        {
            ReadOnlyFolder locked(inProject(QStringLiteral("Locked")));
            if (!locked.isLocked())
                QSKIP("this file system cannot make a folder read-only for this user");
            result = instantiateTemplate(m_projectRoot, T, details);
        }
        QCOMPARE(result.failures, 2);
        QVERIFY(!result.succeeded());
        // The move would replace a file: the item keeps its name, the other
        // file is untouched, and the text was still rewritten.
        QCOMPARE(readFile(inProject(QStringLiteral("Orbit/OrbitApp.swift"))), QByteArray("already here"));
        QCOMPARE(readFile(inProject(QStringLiteral("Orbit/SwiftUIBaseSetupApp.swift"))), QByteArray("Orbit"));
        QCOMPARE(readFile(inProject(QStringLiteral("Locked/Note.txt"))), QByteArray("SwiftUIBaseSetup"));
        QCOMPARE(console.lines().filter(QStringLiteral("Error while renaming content: ")).size(), 1);
        QCOMPARE(console.lines().filter(QStringLiteral("Error while updating an content")).size(), 1);

        ConsoleCapture missing;
        QVERIFY(!instantiateTemplate(m_work.filePath(QStringLiteral("nowhere")), T, details).rootListed);
        QCOMPARE(missing.lines().size(), 1);
    }

    void existingProject()
    {
        // A user's project; the Arkana step has just copied in its three files.
        auto details = orbit(m_work.filePath(QStringLiteral("existing/Shop")));
        details.projectName = QStringLiteral("Shop");
        m_projectRoot = details.projectRoot();
        QDir(m_projectRoot).removeRecursively();
        QTemporaryDir outside;
        QVERIFY(writeFile(outside.filePath(QStringLiteral("shared.swift")), "// SwiftUIBaseSetup Shop\n"));
        QVERIFY(writeFile(outside.filePath(QStringLiteral("Library/SwiftUIBaseSetupTests.swift")), "Shop\n"));
        const auto outsideBefore = snapshot(outside.path());

        QVERIFY(writeFile(inProject(QStringLiteral("Shop/AppDelegate.swift")), "// made from SwiftUIBaseSetup\n"));
        QVERIFY(writeFile(inProject(QStringLiteral("ShopTests/ShopTests.swift")),
                           "@testable import Shop\nfinal class ShopTests: XCTestCase {}\n"));
        QVERIFY(writeFile(inProject(QStringLiteral("Shop/Windows.swift")), "let shop = \"Shop\"\r\n// SwiftUIBaseSetup\r\n"));
        QVERIFY(writeFile(inProject(QStringLiteral("scripts/build.sh")), "#!/bin/sh\necho Shop SwiftUIBaseSetup\n"));
        QVERIFY(setMode(inProject(QStringLiteral("scripts/build.sh")), 0750));
        QVERIFY(writeFile(inProject(QStringLiteral("Shop/Assets/logo.png")), imageBytes()));
        QVERIFY(writeFile(inProject(QStringLiteral("Shop/SceneDelegate.swift")),
                           "#if DEBUG\nlet keep = 1\n#endif\n// Development\n"));
        QVERIFY(writeFile(inProject(QStringLiteral("Shop/Constants.swift")), "struct URL {\n\tlet mine = 1\n}\n"));
        QVERIFY(writeFile(inProject(QStringLiteral("SwiftUIBaseSetupNotes.txt")), "Shop notes\n"));
        QVERIFY(writeFile(inProject(QStringLiteral("Shop/.DS_Store")), "Bud1"));
        QVERIFY(QFile::link(outside.filePath(QStringLiteral("shared.swift")), inProject(QStringLiteral("Shop/Shared.swift"))));
        QVERIFY(QFile::link(outside.filePath(QStringLiteral("Library")), inProject(QStringLiteral("Library"))));
        QVERIFY(QFile::link(outside.filePath(QStringLiteral("Library")), inProject(QStringLiteral("SwiftUIBaseSetupLink"))));
        for (const QString &copied : {QStringLiteral("Gemfile"), QStringLiteral(".arkana.yml"), QStringLiteral(".env")})
            QVERIFY(QFile::copy(m_bundleRoot + QLatin1Char('/') + T + QLatin1Char('/') + copied, inProject(copied)));
        const auto all = snapshot(m_projectRoot);
        for (auto item = all.begin(); item != all.end(); ++item)
            QVERIFY(makeOld(inProject(item.key())));
        auto userFiles = snapshot(m_projectRoot);
        for (const QString &copied : {QStringLiteral("Gemfile"), QStringLiteral(".arkana.yml"), QStringLiteral(".env")})
            userFiles.remove(copied);

        ConsoleCapture console;
        const InstantiationResult result = instantiateTemplate(
            m_projectRoot, T, details,
            InstantiationScope::existing({QStringLiteral("Gemfile"), QStringLiteral(".arkana.yml"), QStringLiteral(".env")}));
        QVERIFY(result.succeeded());
        QCOMPARE(result.itemsRenamed, 0);

        auto after = snapshot(m_projectRoot);
        for (const QString &copied : {QStringLiteral("Gemfile"), QStringLiteral(".arkana.yml"), QStringLiteral(".env")})
            after.remove(copied);
        QCOMPARE(after, userFiles);
        QCOMPARE(snapshot(outside.path()), outsideBefore);

        QVERIFY(readFile(inProject(QStringLiteral(".arkana.yml"))).contains("environments:\n  - Development\n  - UAT\n"));
        QVERIFY(readFile(inProject(QStringLiteral(".arkana.yml"))).contains("import_name: 'ShopSecrets'"));
        QVERIFY(readFile(inProject(QStringLiteral(".env"))).contains("# UAT Keys\nexport ApiKeyUAT=\n"));
        QVERIFY(console.lines().filter(QStringLiteral("ERROR READING")).isEmpty());
    }
};

QTEST_GUILESS_MAIN(TestTemplateInstantiation)
#include "TestTemplateInstantiation.moc"
