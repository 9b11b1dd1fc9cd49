// The two project templates of the resource bundle: module folders,
// imports, the files both keep, and real parsers over every Swift and data
// file.

#include "app/base/TextCatalog.h"
#include "catalogs/ModuleCatalog.h"
#include "catalogs/ProjectUIDetection.h"
#include "tools/RunProcess.h"
#include "tools/TestFiles.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QRegularExpression>
#include <QSet>
#include <QTemporaryDir>
#include <QtTest>

using namespace plinth::test;

namespace {

const QString resourcesDir = QStringLiteral(PLINTH_SOURCE_DIR "/resources");

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

/// The iOS SDK frameworks the template sources import.
const QStringList appleFrameworks = {"Foundation", "UIKit", "SwiftUI", "Combine", "CoreBluetooth", "Security"};

/// The Swift modules a pod makes importable (with those of the pods it
/// depends on).
const QHash<QString, QStringList> podModules = {{"AWSS3", {"AWSS3", "AWSCore"}}};

/// The modules `source` imports, in order: plain, attributed
/// (`@testable import X`, `@_exported import X`) and kind imports
/// (`import struct X.Y`) name the first component.
QStringList importedModules(const QString &source)
{
    static const QRegularExpression importLine(
        "^[ \\t]*(?:@\\w+(?:\\([^)\\n]*\\))?[ \\t]+)*import[ \\t]+"
        "(?:(?:typealias|struct|class|enum|protocol|let|var|func)[ \\t]+)?(\\w+)",
        QRegularExpression::MultilineOption);
    QStringList modules;
    for (auto it = importLine.globalMatch(source); it.hasNext();)
        modules << it.next().captured(1);
    return modules;
}

} // namespace

class TestTemplates : public QObject
{
    Q_OBJECT

private slots:
    // The Gemfile installs Arkana, the UI kind of a project is detected from
    // its app entry file, and the sources import only what every project
    // has. (The secrets rewrites over the shipped templates, the test
    // sources' renaming and project.yml's targets: TestGenerationRun's
    // newProject.)
    void contents_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("uiKit");
        QTest::newRow("SwiftUIBaseSetup") << "SwiftUIBaseSetup" << false;
        QTest::newRow("UIKitBaseSetup") << "UIKitBaseSetup" << true;
    }
    void contents()
    {
        QFETCH(QString, name);
        QFETCH(bool, uiKit);
        const QString root = resourcesDir + QLatin1Char('/') + name;
        QVERIFY2(readText(root + "/Gemfile").contains("gem \"arkana\""), "the Gemfile installs Arkana");
        QCOMPARE(plinth::detectProjectUI(root, name).value_or(QString()),
                 plinth::text(uiKit ? plinth::key::uiKit : plinth::key::swiftUi));

        // Pods can be removed on the pod screen, so the sources import only
        // system frameworks, the Swift packages of project.yml, the Arkana
        // pods (guarded) and, inside the AWS S3 module only, the AWS pods.
        const QStringList fixed = appleFrameworks
                                  + QStringList{"XCTest", "Alamofire", "Logging", name, name + "Secrets",
                                                name + "SecretsInterfaces"};
        int imports = 0;
        for (const QString &file : filesBelow(root, {"*.swift"})) {
            const bool awsModule = file.contains("/AWSS3/");
            for (const QString &module : importedModules(readText(file))) {
                ++imports;
                const bool allowed = fixed.contains(module) || (awsModule && podModules.value("AWSS3").contains(module));
                QVERIFY2(allowed, qPrintable(file + " imports " + module));
            }
        }
        QVERIFY(imports > 20);
    }

    // A module is copied into a project as it is, so it must exist at its
    // catalog path and name no template; and the project may have none of
    // the template's packages or pods: what its sources import comes from
    // the SDK or from what the module itself asks for (its Swift packages,
    // its pods).
    void moduleImportsAreProvided_data()
    {
        QTest::addColumn<QString>("templateName");
        QTest::addColumn<bool>("uiKit");
        QTest::addColumn<QString>("module");
        for (const bool uiKit : {true, false}) {
            const QString templateName = uiKit ? "UIKitBaseSetup" : "SwiftUIBaseSetup";
            for (const plinth::ListItem &item : plinth::offeredModules(uiKit))
                QTest::addRow("%s %s", qPrintable(templateName), qPrintable(item.title))
                    << templateName << uiKit << item.title;
        }
    }
    void moduleImportsAreProvided()
    {
        QFETCH(QString, templateName);
        QFETCH(bool, uiKit);
        QFETCH(QString, module);
        plinth::ListItem item;
        for (const plinth::ListItem &entry : plinth::moduleCatalog(uiKit)) {
            if (entry.title == module)
                item = entry;
        }
        QStringList provided = appleFrameworks;
        for (const plinth::SwiftPackage &package : item.requiredPackages)
            provided << package.product;
        for (const QString &pod : item.requiredPods) {
            QVERIFY2(podModules.contains(pod), qPrintable("no modules listed for the pod " + pod));
            provided << podModules.value(pod);
        }

        const QString app = resourcesDir + '/' + templateName + '/' + templateName + '/';
        const QString path = app + item.directoryName;
        const bool singleFile = item.directoryName.contains(QLatin1Char('.'));
        QVERIFY2(singleFile ? QFileInfo(path).isFile() : QFileInfo(path).isDir(), qPrintable(path));
        const QStringList files = singleFile ? QStringList{path} : filesBelow(path);
        QVERIFY2(!files.isEmpty(), qPrintable(path));
        for (const QString &file : files) {
            const QString text = readText(file);
            QVERIFY2(!text.contains("BaseSetup") && !file.mid(app.size()).contains("BaseSetup"),
                     qPrintable(file + " names a template"));
            for (const QString &imported : file.endsWith(".swift") ? importedModules(text) : QStringList()) {
                QVERIFY2(provided.contains(imported),
                         qPrintable(QStringLiteral("module \"%1\": %2 imports %3, which neither the SDK nor the "
                                                   "module's packages and pods provide")
                                        .arg(module, file.mid(app.size()), imported)));
            }
        }
    }

    // The Swift syntax checker and the data-file checker (property lists,
    // YAML, JSON, XML) accept the whole bundle and find real errors in a
    // sample: the Swift checker in a later #if branch and in unbalanced
    // directives, while it accepts #if around declarations in a type body;
    // the data checker in the two kinds the generation rewrites.
    void checkers_data()
    {
        QTest::addColumn<QString>("checker"); // a program, or a Python script
        QTest::addColumn<QString>("fileName"); // empty: the whole bundle
        QTest::addColumn<QByteArray>("source");
        QTest::addColumn<int>("exitCode");
        const QString swift = QStringLiteral(PLINTH_SWIFT_SYNTAX_CHECK);
        const QString sample = "Sample File.swift";
        const QString data = QStringLiteral(PLINTH_SOURCE_DIR "/tests/tools/check_data_files.py");
        QTest::newRow("Swift: the bundle") << swift << "" << QByteArray() << 0;
        QTest::newRow("Swift: #if in a type body")
            << swift << sample
            << QByteArray("struct A {\n    #if X\n    let a = 1\n    #elseif Y\n    let a = 2\n    #else\n    #endif\n}\n")
            << 0;
        QTest::newRow("Swift: error in the #else branch")
            << swift << sample << QByteArray("#if X\nlet a = 1\n#else\nlet a = = 1\n#endif\n") << 1;
        QTest::newRow("Swift: missing #endif") << swift << sample << QByteArray("#if X\nlet a = 1\n") << 1;
        QTest::newRow("data: the bundle") << data << "" << QByteArray() << 0;
        QTest::newRow("data: YAML") << data << ".arkana.yml" << QByteArray("environments:\n  - A\n bad: [\n") << 1;
        QTest::newRow("data: plist") << data << "Info.plist" << QByteArray("<plist><dict><key>A</key></plist>") << 1;
    }
    void checkers()
    {
        QFETCH(QString, checker);
        QFETCH(QString, fileName);
        QFETCH(QByteArray, source);
        QFETCH(int, exitCode);
        if (checker.isEmpty())
            QFAIL("the Swift syntax checker was not built: run scripts/setup.sh and configure again");
        QTemporaryDir dir;
        QVERIFY(fileName.isEmpty() || writeFile(dir.filePath(fileName), source));
        const QString checked = fileName.isEmpty() ? resourcesDir : dir.path();
        const ProcessResult result = checker.endsWith(".py") ? runProcess(PLINTH_PYTHON, {checker, checked})
                                                             : runProcess(checker, {checked});
        QVERIFY2(result.exitCode == exitCode, qPrintable(result.output));
        QVERIFY2(exitCode == 0 ? !result.output.contains("checked 0 ") : result.output.contains(fileName),
                 qPrintable(result.output));
    }

    // A file both templates ship is one file kept twice: equal once each
    // template's name reads <T> and the UIKit template's own names (its
    // folders, its class) read as the SwiftUI template's. A fix made in one
    // copy only fails here.
    void sharedFilesStayIdentical_data()
    {
        QTest::addColumn<QString>("swiftUIFile");
        QTest::addColumn<QString>("uiKitFile");
        // SwiftUI place -> UIKit place, for the parts the templates name differently
        const QList<std::pair<QString, QString>> places = {
            {"<T>/NetworkLayer/", "<T>/Network/"},
            {"<T>/Helpers/UserDefaults/", "<T>/Helpers/User/"},
            {"<T>/Helpers/Keychain/KeychainStore.swift", "<T>/Helpers/KeychainManager.swift"}};
        // Files each template writes its own way.
        const QStringList ownVersions = {"<T>/Info.plist", "<T>/SceneDelegate.swift", "<T>Tests/AdaptiveLayoutTests.swift"};
        const QDir swiftUI(resourcesDir + "/SwiftUIBaseSetup");
        QSet<QString> placesUsed;
        for (const QString &file : filesBelow(swiftUI.path())) {
            const QString generic = swiftUI.relativeFilePath(file).replace("SwiftUIBaseSetup", "<T>");
            QString counterpart = generic;
            for (const auto &[from, to] : places) {
                if (counterpart.startsWith(from)) {
                    counterpart.replace(0, from.size(), to);
                    placesUsed << from;
                }
            }
            const QString uiKitFile = resourcesDir + "/UIKitBaseSetup/" + counterpart.replace("<T>", "UIKitBaseSetup");
            if (!ownVersions.contains(generic) && QFileInfo::exists(uiKitFile))
                QTest::newRow(qPrintable(generic)) << file << uiKitFile;
        }
        QCOMPARE(placesUsed.size(), places.size());
    }
    void sharedFilesStayIdentical()
    {
        QFETCH(QString, swiftUIFile);
        QFETCH(QString, uiKitFile);
        const QString swiftUI = readText(swiftUIFile).replace("SwiftUIBaseSetup", "<T>");
        const QString uiKit = readText(uiKitFile)
                                  .replace("UIKitBaseSetup", "<T>")
                                  .replace("KeychainManager", "KeychainStore");
        QCOMPARE(uiKit.split('\n'), swiftUI.split('\n'));
    }
};

QTEST_GUILESS_MAIN(TestTemplates)
#include "TestTemplates.moc"
