// The two project templates of the resource bundle: layout, module folders,
// the markers the secrets rewrites rely on, imports, and real parsers over
// every Swift and data file.

#include "app/TextCatalog.h"
#include "catalogs/ModuleCatalog.h"
#include "catalogs/ProjectUIDetection.h"
#include "tools/RunProcess.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtTest>

using namespace plinth::test;

namespace {

const QString resourcesDir = QStringLiteral(PLINTH_SOURCE_DIR "/resources");
const QStringList templateNames = {QStringLiteral("SwiftUIBaseSetup"), QStringLiteral("UIKitBaseSetup")};

QString readText(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return QString::fromUtf8(file.readAll());
}

/// Every file below `root` (hidden ones too), as absolute paths.
QStringList filesBelow(const QString &root, const QStringList &nameFilters = {})
{
    QStringList files;
    QDirIterator it(root, nameFilters, QDir::Files | QDir::Hidden | QDir::NoDotAndDotDot, QDirIterator::Subdirectories);
    while (it.hasNext())
        files << it.next();
    files.sort();
    return files;
}

} // namespace

class TestTemplates : public QObject
{
    Q_OBJECT

    void addTemplateRows()
    {
        QTest::addColumn<QString>("name");
        for (const QString &name : templateNames)
            QTest::newRow(qPrintable(name)) << name;
    }

private slots:
    void layout_data() { addTemplateRows(); }
    void layout()
    {
        QFETCH(QString, name);
        const QDir root(resourcesDir + QLatin1Char('/') + name);
        for (const char *file : {"Gemfile", ".arkana.yml", ".env", "Tests.plist", "UITests.plist", ".swiftlint.yml",
                                 "Podfile"})
            QVERIFY2(QFileInfo(root.filePath(QString::fromLatin1(file))).isFile(), file);
        for (const QString &folder : {name, name + QStringLiteral("Tests"), name + QStringLiteral("UITests")})
            QVERIFY2(QFileInfo(root.filePath(folder)).isDir(), qPrintable(folder));
        const QDir app(root.filePath(name));
        for (const char *file : {"Info.plist", "AppSecrets.swift", "Constants.swift", "SceneDelegate.swift",
                                 "Resources/R.generated.swift", "Resources/LaunchScreen.storyboard",
                                 "Resources/Assets.xcassets/Contents.json",
                                 "Resources/Assets.xcassets/AccentColor.colorset/Contents.json"})
            QVERIFY2(QFileInfo(app.filePath(QString::fromLatin1(file))).isFile(), file);
        QVERIFY(QFileInfo(root.filePath(name + QStringLiteral("Tests/") + name + QStringLiteral("Tests.swift"))).isFile());
        QVERIFY(QFileInfo(root.filePath(name + QStringLiteral("UITests/") + name + QStringLiteral("UITests.swift")))
                    .isFile());
        QVERIFY2(readText(root.filePath(QStringLiteral("Gemfile"))).contains(QStringLiteral("gem \"arkana\"")),
                 "the Gemfile installs Arkana");
    }

    // The project's UI kind is detected from its app entry file, so the
    // templates must be detected as what they are.
    void appEntryIsDetected_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("ui");
        QTest::newRow("SwiftUI") << "SwiftUIBaseSetup" << plinth::text(plinth::key::swiftUi);
        QTest::newRow("UIKit") << "UIKitBaseSetup" << plinth::text(plinth::key::uiKit);
    }
    void appEntryIsDetected()
    {
        QFETCH(QString, name);
        QFETCH(QString, ui);
        QCOMPARE(plinth::detectProjectUI(resourcesDir + QLatin1Char('/') + name, name).value_or(QString()), ui);
    }

    void modules_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("uiKit");
        QTest::newRow("UIKit") << "UIKitBaseSetup" << true;
        QTest::newRow("SwiftUI") << "SwiftUIBaseSetup" << false;
    }
    // Modules are copied into existing projects as they are, so every one
    // offered must exist at its catalog path and name no template.
    void modules()
    {
        QFETCH(QString, name);
        QFETCH(bool, uiKit);
        const QString app = resourcesDir + QLatin1Char('/') + name + QLatin1Char('/') + name + QLatin1Char('/');
        const QList<plinth::ListItem> offered = plinth::offeredModules(uiKit);
        for (const plinth::ListItem &item : offered) {
            const QString &directoryName = item.directoryName;
            const QFileInfo module(app + directoryName);
            const bool singleFile = directoryName.contains(QLatin1Char('.'));
            QVERIFY2(singleFile ? module.isFile() : module.isDir(), qPrintable(directoryName));
            const QStringList files = singleFile ? QStringList{module.absoluteFilePath()} : filesBelow(module.absoluteFilePath());
            QVERIFY2(!files.isEmpty(), qPrintable(directoryName));
            for (const QString &file : files) {
                const QString text = readText(file);
                QVERIFY2(!text.contains(QStringLiteral("BaseSetup")) && !file.contains(QStringLiteral("BaseSetup/BaseSetup")),
                         qPrintable(file + QStringLiteral(" names a template")));
            }
        }
    }

    void secretsMarkers_data() { addTemplateRows(); }
    // The rewrites replace from a start marker through the first end marker
    // after it; that end marker has to close the section.
    void secretsMarkers()
    {
        QFETCH(QString, name);
        const QString app = resourcesDir + QLatin1Char('/') + name + QLatin1Char('/') + name + QLatin1Char('/');

        const QString secrets = readText(app + QStringLiteral("AppSecrets.swift"));
        const qsizetype environment = secrets.indexOf(QStringLiteral("private static var environment:"));
        QVERIFY(environment >= 0);
        const qsizetype environmentEnd = secrets.indexOf(QLatin1Char('}'), environment);
        QVERIFY(environmentEnd > environment);
        QCOMPARE(secrets.mid(environment, environmentEnd - environment).count(QLatin1Char('{')), 1);
        QVERIFY(secrets.contains(QStringLiteral("return Secrets.Development()")));

        const QString constants = readText(app + QStringLiteral("Constants.swift"));
        const qsizetype url = constants.indexOf(QStringLiteral("struct URL {"));
        QVERIFY(url >= 0);
        const qsizetype urlEnd = constants.indexOf(QLatin1Char('}'), url);
        QVERIFY(urlEnd > url);
        QCOMPARE(constants.mid(url, urlEnd - url).count(QLatin1Char('{')), 1);
        QVERIFY(constants.mid(url, urlEnd - url).contains(QStringLiteral("static let baseURL")));
        QVERIFY(constants.mid(url, urlEnd - url).contains(QStringLiteral("static let awsURL")));

        const QString scene = readText(app + QStringLiteral("SceneDelegate.swift"));
        QVERIFY(scene.indexOf(QStringLiteral("#if")) >= 0);
        QCOMPARE(scene.indexOf(QStringLiteral("#if")), scene.indexOf(QStringLiteral("#if Development\n")));

        const QString arkana = readText(resourcesDir + QLatin1Char('/') + name + QStringLiteral("/.arkana.yml"));
        const QRegularExpression environments(QStringLiteral("(environments:\\s*\\n)((\\s*-.*\\n)+)"));
        const QRegularExpressionMatch match = environments.match(arkana);
        QVERIFY(match.hasMatch());
        QVERIFY(!match.captured(2).contains(QStringLiteral("secrets")));
        QVERIFY(QRegularExpression(QStringLiteral("global_secrets:\\s*(\\n\\s*-.*)+")).match(arkana).hasMatch());
        QVERIFY(QRegularExpression(QStringLiteral("environment_secrets:\\s*(\\n\\s*-.*)+")).match(arkana).hasMatch());
        QVERIFY(arkana.contains(QStringLiteral("import_name: '") + name + QStringLiteral("Secrets'")));
    }

    void importsOnlyFixedDependencies_data() { addTemplateRows(); }
    // Pods can be removed on the pod screen, so the sources import only
    // system frameworks, the Swift packages of project.yml, the Arkana pods
    // (guarded) and, inside the AWS S3 module only, the AWS pods.
    void importsOnlyFixedDependencies()
    {
        QFETCH(QString, name);
        const QStringList fixed = {"Foundation", "SwiftUI", "UIKit", "Combine", "CoreBluetooth", "Security",
                                   "XCTest", "Alamofire", "Logging", name, name + "Secrets",
                                   name + "SecretsInterfaces"};
        const QRegularExpression importLine(QStringLiteral("^\\s*(?:@testable\\s+)?import\\s+(\\w+)"),
                                            QRegularExpression::MultilineOption);
        const QString root = resourcesDir + QLatin1Char('/') + name;
        int imports = 0;
        for (const QString &file : filesBelow(root, {QStringLiteral("*.swift")})) {
            const bool awsModule = file.contains(QStringLiteral("/AWSS3/"));
            for (auto it = importLine.globalMatch(readText(file)); it.hasNext();) {
                const QString module = it.next().captured(1);
                ++imports;
                const bool allowed = fixed.contains(module) ||
                                     (awsModule && (module == QStringLiteral("AWSS3") || module == QStringLiteral("AWSCore")));
                QVERIFY2(allowed, qPrintable(file + QStringLiteral(" imports ") + module));
            }
        }
        QVERIFY(imports > 20);
    }

    void testsImportTheAppModule_data() { addTemplateRows(); }
    // The instantiation renames the module in the @testable line only; the
    // unit tests have to reach the app through it.
    void testsImportTheAppModule()
    {
        QFETCH(QString, name);
        const QStringList tests = filesBelow(resourcesDir + QLatin1Char('/') + name + QLatin1Char('/') + name +
                                                 QStringLiteral("Tests"),
                                             {QStringLiteral("*.swift")});
        QVERIFY(tests.size() >= 4);
        for (const QString &file : tests) {
            QVERIFY2(QFileInfo(file).fileName().contains(QStringLiteral("Tests")), qPrintable(file));
            const QString text = readText(file);
            QVERIFY2(text.contains(QStringLiteral("@testable import ") + name + QLatin1Char('\n')), qPrintable(file));
            QVERIFY2(text.contains(QStringLiteral(": XCTestCase")), qPrintable(file));
        }
    }

    void swiftParses_data() { addTemplateRows(); }
    void swiftParses()
    {
        QFETCH(QString, name);
        const QString checker = QStringLiteral(PLINTH_SWIFT_SYNTAX_CHECK);
        if (checker.isEmpty())
            QFAIL("the Swift syntax checker was not built: run scripts/setup.sh and configure again");
        const ProcessResult result = runProcess(checker, {resourcesDir + QLatin1Char('/') + name});
        QVERIFY2(result.exitCode == 0, qPrintable(result.output));
        QVERIFY2(!result.output.contains(QStringLiteral("checked 0 ")), qPrintable(result.output));
    }

    // The checker itself: it must find real errors, in every #if branch, and
    // accept #if around declarations in a type body.
    void swiftCheckerFindsErrors_data()
    {
        QTest::addColumn<QByteArray>("source");
        QTest::addColumn<int>("expectedExitCode");
        QTest::newRow("clean") << QByteArray("import Foundation\nlet x = [1, 2].map { $0 * 2 }\n") << 0;
        QTest::newRow("#if in a type body") << QByteArray("struct A {\n    #if X\n    let a = 1\n    #elseif Y\n"
                                                          "    let a = 2\n    #else\n    #endif\n}\n")
                                            << 0;
        QTest::newRow("error in the first branch") << QByteArray("#if X\nlet a = = 1\n#else\nlet a = 1\n#endif\n") << 1;
        QTest::newRow("error in the #else branch") << QByteArray("#if X\nlet a = 1\n#else\nlet a = = 1\n#endif\n") << 1;
        QTest::newRow("unclosed brace") << QByteArray("func f() {\n    print(1)\n") << 1;
        QTest::newRow("missing #endif") << QByteArray("#if X\nlet a = 1\n") << 1;
        QTest::newRow("stray #endif") << QByteArray("let a = 1\n#endif\n") << 1;
    }
    void swiftCheckerFindsErrors()
    {
        QFETCH(QByteArray, source);
        QFETCH(int, expectedExitCode);
        const QString checker = QStringLiteral(PLINTH_SWIFT_SYNTAX_CHECK);
        if (checker.isEmpty())
            QFAIL("the Swift syntax checker was not built: run scripts/setup.sh and configure again");
        QTemporaryDir dir;
        QFile file(dir.filePath(QStringLiteral("Sample File.swift")));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(source);
        file.close();
        const ProcessResult result = runProcess(checker, {dir.path()});
        QVERIFY2(result.exitCode == expectedExitCode, qPrintable(result.output));
    }

    // Property lists, YAML (.arkana.yml, .swiftlint.yml), JSON (asset
    // catalogs, colours) and XML (storyboard, SVG) of the whole bundle.
    void dataFilesParse()
    {
        const ProcessResult result = runProcess(QStringLiteral(PLINTH_PYTHON),
                                                {QStringLiteral(PLINTH_SOURCE_DIR "/tests/tools/check_data_files.py"),
                                                 resourcesDir});
        QVERIFY2(result.exitCode == 0, qPrintable(result.output));
        QVERIFY2(!result.output.contains(QStringLiteral("checked 0 ")), qPrintable(result.output));
    }

    void dataCheckerFindsErrors_data()
    {
        QTest::addColumn<QString>("fileName");
        QTest::addColumn<QByteArray>("content");
        QTest::newRow("YAML") << ".arkana.yml" << QByteArray("environments:\n  - A\n bad: [\n");
        QTest::newRow("plist") << "Info.plist" << QByteArray("<plist><dict><key>A</key></plist>");
        QTest::newRow("JSON") << "Contents.json" << QByteArray("{\"a\": }");
        QTest::newRow("storyboard") << "Launch.storyboard" << QByteArray("<document><scenes></document>");
    }
    void dataCheckerFindsErrors()
    {
        QFETCH(QString, fileName);
        QFETCH(QByteArray, content);
        QTemporaryDir dir;
        QFile file(dir.filePath(fileName));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(content);
        file.close();
        const ProcessResult result = runProcess(
            QStringLiteral(PLINTH_PYTHON), {QStringLiteral(PLINTH_SOURCE_DIR "/tests/tools/check_data_files.py"), dir.path()});
        QVERIFY2(result.exitCode == 1, qPrintable(result.output));
        QVERIFY2(result.output.contains(fileName), qPrintable(result.output));
    }

    // The screens name these; the UI loads them from the bundle.
    void artwork()
    {
        QVERIFY(QFileInfo(resourcesDir + QStringLiteral("/images/Logo.svg")).isFile());
        const QString colors = readText(resourcesDir + QStringLiteral("/colors/Colors.json"));
        for (const char *color : {"AccentColor", "ExistingProjectForgroundColor", "ExistingProjectButton"})
            QVERIFY2(colors.contains(QLatin1Char('"') + QString::fromLatin1(color) + QLatin1Char('"')), color);
        for (const char *symbol : {"plus", "plus.circle", "plus.circle.fill", "minus", "minus.circle.fill", "xmark",
                                   "folder", "square", "checkmark", "checkmark.square", "ellipsis", "chevron.up",
                                   "chevron.down"})
            QVERIFY2(QFileInfo(resourcesDir + QStringLiteral("/symbols/") + QString::fromLatin1(symbol) +
                               QStringLiteral(".svg"))
                         .isFile(),
                     symbol);
    }
};

QTEST_GUILESS_MAIN(TestTemplates)
#include "TestTemplates.moc"
