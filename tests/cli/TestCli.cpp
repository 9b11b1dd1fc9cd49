#include "app/TextCatalog.h"
#include "cli/CliRun.h"
#include "generation/GenerationFixture.h"
#include "tools/PageServer.h"
#include "tools/TestFiles.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>
#include <QtTest>

using namespace plinth;
using plinth::test::writeFile;

namespace {

QJsonArray array(const QStringList &values)
{
    return QJsonArray::fromStringList(values);
}

/// The description of the golden project (as the generation tests describe
/// it), with `projectPath` as given.
QJsonObject goldenDescription(const QString &projectPath)
{
    return QJsonObject{
        {"projectType", "new"},
        {"projectName", "Golden"},
        {"organizationName", "Tarnwick Labs"},
        {"authorName", "Ada Lovelace"},
        {"selectedUI", "SwiftUI"},
        {"minimumDeploymentTarget", "17.0"},
        {"projectPath", projectPath},
        {"configVariant", array({"Development", "UAT", "Production"})},
        {"doesIncludeBLE", true},
        {"userSelectedPods", array({"SwiftLint", "R.swift"})},
    };
}

/// `base` with the fields of `patch`; a null field in the patch removes it.
QByteArray patched(QJsonObject base, const QJsonObject &patch)
{
    for (auto it = patch.begin(); it != patch.end(); ++it) {
        if (it.value().isNull())
            base.remove(it.key());
        else
            base.insert(it.key(), it.value());
    }
    return QJsonDocument(base).toJson();
}

QStringList stepLines(const QStringList &out)
{
    QStringList steps;
    for (const QString &line : out) {
        if (line.endsWith(QLatin1String(": done")) || line.endsWith(QLatin1String(": failed"))
            || line.endsWith(QLatin1String(": skipped")))
            steps << line;
    }
    return steps;
}

} // namespace

class TestCli : public QObject
{
    Q_OBJECT

private slots:
    void commandLine_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QString>("expected"); // a line of stdout (exit 0) or stderr
        QTest::newRow("version") << QStringList{"--version"} << 0 << "plinth-cli 0.1.0";
        QTest::newRow("help") << QStringList{"--help"} << 0 << "Usage: plinth-cli generate FILE.json [--no-install]";
        QTest::newRow("no command") << QStringList{} << 2 << "plinth-cli: no command given";
        QTest::newRow("unknown command") << QStringList{"build"} << 2 << "plinth-cli: unknown command \"build\"";
        QTest::newRow("unknown option") << QStringList{"generate", "x.json", "--fast"} << 2
                                        << "plinth-cli: Unknown option 'fast'.";
        QTest::newRow("generate without file") << QStringList{"generate"} << 2
                                               << "plinth-cli: generate takes one description file (plinth-cli generate FILE.json)";
        QTest::newRow("doctor with --no-install") << QStringList{"doctor", "--no-install"} << 2
                                                  << "plinth-cli: --no-install belongs to generate";
        QTest::newRow("missing file") << QStringList{"generate", "absent.json"} << 2
                                      << "absent.json: cannot be read: No such file or directory";
        QTest::newRow("pods for another UI kind") << QStringList{"pods", "--ui", "AppKit"} << 2
                                                  << "plinth-cli: --ui takes \"UIKit\" or \"SwiftUI\", not \"AppKit\"";
        QTest::newRow("pods option of another command") << QStringList{"doctor", "--page", "p.html"} << 2
                                                        << "plinth-cli: --page belongs to pods";
        QTest::newRow("missing page") << QStringList{"pods", "--page", "absent.html"} << 2
                                      << "absent.html: cannot be read: No such file or directory";
    }

    void commandLine()
    {
        QFETCH(QStringList, arguments);
        QFETCH(int, exitCode);
        QFETCH(QString, expected);
        QTemporaryDir work;
        const cli::Result result = cli::run(cli::shipped(), arguments, work.path());
        QVERIFY2(result.exitCode == exitCode, qPrintable(result.all()));
        QVERIFY2((exitCode == 0 ? result.out : result.err).contains(expected), qPrintable(result.all()));
        QVERIFY(cli::snapshot(work.path()).isEmpty());
    }

    // Each description is refused with exit status 2 and one line per
    // problem, and nothing on disk changes.
    void invalidDescription_data()
    {
        QTest::addColumn<QByteArray>("json");
        QTest::addColumn<QStringList>("problems"); // one fragment per expected line, in order

        const QJsonObject base = goldenDescription(QStringLiteral("Projects"));
        const QJsonObject existing{{"projectType", "existing"},
                                   {"projectPath", "Shop"},
                                   {"configVariant", array({"Development"})},
                                   {"userSelectedModules", array({"Network layer"})}};

        QTest::newRow("product name with a space and !")
            << patched(base, {{"projectName", "Gold en!"}})
            << QStringList{"projectName: " + text(key::projectNameContainsSpace)};
        QTest::newRow("missing destination")
            << patched(base, {{"projectPath", "Nowhere/Deeper"}})
            << QStringList{"projectPath: " + text(key::inValidPath)};
        QTest::newRow("destination is a file")
            << patched(base, {{"projectPath", "notes.txt"}}) << QStringList{"notes.txt: not a folder)"};
        QTest::newRow("no destination given")
            << patched(base, {{"projectPath", QJsonValue::Null}}) << QStringList{"projectPath: missing"};
        QTest::newRow("project folder already there")
            << patched(base, {{"projectName", "Taken"}})
            << QStringList{"projectPath: " + text(key::directoryAlreadyExistSubTitle, "Taken")};
        QTest::newRow("no variants")
            << patched(base, {{"configVariant", QJsonArray()}})
            << QStringList{"configVariant: " + text(key::noConfigVariantSelectionSubTitle)};
        QTest::newRow("development scheme not among the variants")
            << patched(base, {{"configVariant", array({"UAT", "Production"})}, {"developmentSchemeName", "Staging"}})
            << QStringList{"developmentSchemeName: \"Staging\" is not among the configuration variants (\"UAT\", \"Production\")"};
        QTest::newRow("variant twice, variant with a space")
            << patched(base, {{"configVariant", array({"Development", "UAT", "UAT", "Pre Prod"})}})
            << QStringList{"configVariant: \"UAT\" is listed twice", "configVariant: \"Pre Prod\" must be a name"};
        QTest::newRow("unknown UI kind and target")
            << patched(base, {{"selectedUI", "AppKit"}, {"minimumDeploymentTarget", "15.0"}})
            << QStringList{"minimumDeploymentTarget: must be one of \"16.0\", \"17.0\", \"18.0\", not \"15.0\"",
                           "selectedUI: must be one of \"UIKit\", \"SwiftUI\", not \"AppKit\""};
        QTest::newRow("wrong types")
            << patched(base, {{"projectName", 42}, {"doesIncludeAWS", "yes"}, {"configVariant", "UAT"},
                              {"userSelectedPods", QJsonArray{"SwiftLint", true}}})
            << QStringList{"doesIncludeAWS: must be true or false, not a text",
                           "userSelectedPods[1]: must be a text, not true or false",
                           "projectName: must be a text, not a number",
                           "configVariant: must be a list of texts, not a text"};
        QTest::newRow("pod name that would break the Podfile")
            << patched(base, {{"userSelectedPods", array({"SwiftLint", "Evil'; system('rm -rf ~')"})}})
            << QStringList{"userSelectedPods: \"Evil'; system('rm -rf ~')\" is not a pod name"};
        QTest::newRow("bundle identifier with a space")
            << patched(base, {{"bundleIdentifier", "com.tarnwick.My App"}})
            << QStringList{"bundleIdentifier: \"com.tarnwick.My App\" may hold only"};
        QTest::newRow("misspelt field, missing type")
            << patched(base, {{"projectNmae", "Golden"}, {"projectType", QJsonValue::Null}})
            << QStringList{"projectNmae: not a field of a project description", "projectType: missing"};
        QTest::newRow("modules for a new project")
            << patched(base, {{"userSelectedModules", array({"BLE"})}})
            << QStringList{"userSelectedModules: modules are added to existing projects only"};
        QTest::newRow("every problem at once")
            << patched(base, {{"projectName", "my app"}, {"projectPath", "Nowhere"}, {"authorName", ""},
                              {"configVariant", QJsonArray()}})
            << QStringList{"projectName: " + text(key::projectNameContainsSpace), "authorName: must not be empty",
                           "projectPath: " + text(key::inValidPath),
                           "configVariant: " + text(key::noConfigVariantSelectionSubTitle)};
        QTest::newRow("malformed JSON") << QByteArray("{\n  \"projectType\": \"new\",\n  \"projectName\": Golden\n}\n")
                                        << QStringList{"not valid JSON: illegal number (line 3, column 18)"};
        QTest::newRow("not an object") << QByteArray("[\"new\"]")
                                       << QStringList{"a project description is a JSON object"};

        QTest::newRow("unknown module")
            << patched(existing, {{"userSelectedModules", array({"Network layer", "Teleporter"})}})
            << QStringList{"userSelectedModules: unknown module \"Teleporter\""};
        QTest::newRow("UIKit module for a SwiftUI project")
            << patched(existing, {{"userSelectedModules", array({"Dynamics"})}})
            << QStringList{"userSelectedModules: \"Dynamics\" is not offered for SwiftUI projects"};
        QTest::newRow("module twice")
            << patched(existing, {{"userSelectedModules", array({"BLE", "BLE"})}})
            << QStringList{"userSelectedModules: \"BLE\" is listed twice"};
        QTest::newRow("UI kind other than detected")
            << patched(existing, {{"selectedUI", "UIKit"}})
            << QStringList{"selectedUI: the project is a SwiftUI project, not \"UIKit\""};
        QTest::newRow("existing project without .xcodeproj")
            << patched(existing, {{"projectPath", "Plain"}}) << QStringList{"Plain holds no .xcodeproj"};
        QTest::newRow("existing project folder named otherwise")
            << patched(existing, {{"projectPath", "Src"}}) << QStringList{"Src holds App.xcodeproj but is named otherwise"};
        QTest::newRow("existing project that is not there")
            << patched(existing, {{"projectPath", "Gone"}}) << QStringList{"Gone does not exist"};
        QTest::newRow("existing project under another name")
            << patched(existing, {{"projectName", "Store"}})
            << QStringList{"projectName: \"Store\" does not match the project Shop.xcodeproj"};
        QTest::newRow("existing project with Arkana but no variants")
            << patched(existing, {{"configVariant", QJsonValue::Null}})
            << QStringList{"configVariant: " + text(key::noConfigVariantSelectionSubTitle) + " (the Arkana secrets files"};
    }

    void invalidDescription()
    {
        QFETCH(QByteArray, json);
        QFETCH(QStringList, problems);
        QTemporaryDir work;
        QVERIFY(QDir().mkpath(work.filePath("Projects/Taken")));
        QVERIFY(writeFile(work.filePath("notes.txt"), "notes\n"));
        QVERIFY(writeFile(work.filePath("Shop/Shop.xcodeproj/project.pbxproj"), "// Shop\n"));
        QVERIFY(writeFile(work.filePath("Shop/Shop/ShopApp.swift"), "import SwiftUI\n"));
        QVERIFY(writeFile(work.filePath("Src/App.xcodeproj/project.pbxproj"), "// App\n"));
        QVERIFY(writeFile(work.filePath("Plain/main.swift"), "import UIKit\n"));
        QVERIFY(writeFile(work.filePath("description.json"), json));
        const auto before = cli::snapshot(work.path());

        const cli::Result result = cli::run(cli::shipped(), {"generate", "description.json"}, work.path());
        QVERIFY2(result.exitCode == 2, qPrintable(result.all()));
        QVERIFY2(result.out.isEmpty(), qPrintable(result.all()));
        QVERIFY2(result.err.size() == problems.size(), qPrintable(result.all()));
        for (qsizetype i = 0; i < problems.size(); ++i) {
            QVERIFY2(result.err.at(i).startsWith("description.json: "), qPrintable(result.all()));
            QVERIFY2(result.err.at(i).contains(problems.at(i)), qPrintable(problems.at(i) + "\n" + result.all()));
        }
        QCOMPARE(cli::snapshot(work.path()), before);
    }

    // The golden project made through plinth-cli is the committed one, which
    // TestGenerationRun compares with what the generation run makes.
    void goldenProject()
    {
        QTemporaryDir work;
        const QString bundle = fixture::makeFixtureBundle(work.filePath("bundle"));

        // Through plinth-cli, the destination given relative to the description.
        const QString byCli = work.filePath("cli/Projects");
        QVERIFY(QDir().mkpath(byCli));
        QVERIFY(writeFile(work.filePath("cli/golden.json"),
                          QJsonDocument(goldenDescription("Projects")).toJson()));
        const cli::Result result = cli::run(cli::underTest(), {"generate", "golden.json", "--no-install"},
                                            work.filePath("cli"), cli::fakeToolchain(bundle));
        QVERIFY2(result.exitCode == 0, qPrintable(result.all()));
        QCOMPARE(result.out.first(), "Generating " + byCli + "/Golden");
        QCOMPARE(stepLines(result.out),
                 (QStringList{text(key::generationStepProjectRoot) + ": done",
                              text(key::generationStepTargetDirectories) + ": done",
                              text(key::generationStepXcodeGenSpecification) + ": done",
                              text(key::generationStepTemplateCopy) + ": done",
                              text(key::generationStepXcodeGen) + ": done",
                              text(key::generationStepPostGeneration) + ": done",
                              text(key::generationStepInstantiation) + ": done"}));
        QVERIFY(result.out.contains("Done: " + byCli + "/Golden"));
        QVERIFY(!QFileInfo::exists(byCli + "/Golden/Pods"));

        const auto cliTree = fixture::normalisedFiles(byCli);
        const auto golden = fixture::files(fixture::goldenProject());
        QCOMPARE(cliTree.keys(), golden.keys());
        for (auto file = cliTree.begin(); file != cliTree.end(); ++file)
            QCOMPARE(QString::fromUtf8(file.value()), QString::fromUtf8(golden.value(file.key())));
    }

    // The shipped template into an odd folder, then the pods installed in
    // the foreground: the script's own lines come between the step's start
    // and its outcome.
    void generateAndInstall()
    {
        QTemporaryDir work;
        const QString folder = work.filePath("My 'Apps' $HOME Über");
        QVERIFY(QDir().mkpath(folder));
        QJsonObject description = goldenDescription(folder);
        description.insert("projectName", "Orbit");
        QVERIFY(writeFile(work.filePath("orbit.json"), QJsonDocument(description).toJson()));

        const cli::Result result = cli::run(cli::underTest(), {"generate", "orbit.json"}, work.path(), cli::fakeToolchain());
        QVERIFY2(result.exitCode == 0, qPrintable(result.all()));
        const QString install = text(key::generationStepPodInstallation);
        const qsizetype running = result.out.indexOf(install + ": running");
        const qsizetype done = result.out.indexOf(install + ": done");
        QVERIFY2(running > 0 && done > running, qPrintable(result.all()));
        QVERIFY(result.out.indexOf(text(key::generationStepInstantiation) + ": done") < running);
        QVERIFY(result.out.mid(running, done - running).contains("==> Installing the pods..."));
        QCOMPARE(result.out.last(), "Done: " + folder + "/Orbit/Orbit.xcworkspace");
        QVERIFY(QFileInfo(folder + "/Orbit/Pods/SwiftLint").isDir());
        QVERIFY(QFileInfo(folder + "/Orbit/Pods/R.swift").isDir());
        QVERIFY(QFileInfo(folder + "/Orbit/Orbit.xcworkspace/contents.xcworkspacedata").isFile());
    }

    // A step that fails gives exit status 1, and no pod installation.
    void failingStep()
    {
        QTemporaryDir work;
        QVERIFY(QDir().mkpath(work.filePath("Projects")));
        QVERIFY(writeFile(work.filePath("d.json"), QJsonDocument(goldenDescription("Projects")).toJson()));
        // No xcodegen and no pod on the search path.
        const cli::Result result = cli::run(cli::underTest(), {"generate", "d.json"}, work.path(),
                                            cli::fakeToolchain({}, QStringLiteral("/usr/bin:/bin")));
        QVERIFY2(result.exitCode == 1, qPrintable(result.all()));
        QVERIFY(result.out.contains(text(key::generationStepXcodeGen) + ": failed"));
        QCOMPARE(result.out.last(), "1 of 7 steps failed; the pods were not installed.");
        QVERIFY(!result.out.contains(text(key::generationStepPodInstallation) + ": running"));
        QVERIFY(!QFileInfo::exists(work.filePath("Projects/Golden/Pods")));
    }

    // A project made by plinth-cli, extended by plinth-cli with modules.
    void existingProject()
    {
        QTemporaryDir work;
        QVERIFY(QDir().mkpath(work.filePath("Projects")));
        QJsonObject made = goldenDescription("Projects");
        made.insert("projectName", "Shop");
        QVERIFY(writeFile(work.filePath("new.json"), QJsonDocument(made).toJson()));
        QCOMPARE(cli::run(cli::underTest(), {"generate", "new.json", "--no-install"}, work.path(), cli::fakeToolchain())
                     .exitCode,
                 0);

        const QJsonObject extension{{"projectType", "existing"},
                                    {"projectPath", "Projects/Shop"},
                                    {"configVariant", array({"Development", "UAT"})},
                                    {"userSelectedPods", array({"SwiftLint"})},
                                    {"userSelectedModules", array({"KeyChain manager", "AWSS3"})}};
        QVERIFY(writeFile(work.filePath("existing.json"), QJsonDocument(extension).toJson()));
        const cli::Result result =
            cli::run(cli::underTest(), {"generate", "existing.json"}, work.path(), cli::fakeToolchain());
        QVERIFY2(result.exitCode == 0, qPrintable(result.all()));
        QCOMPARE(result.out.first(), "Adding to " + work.filePath("Projects/Shop"));
        QCOMPARE(stepLines(result.out),
                 (QStringList{text(key::generationStepPostGeneration) + ": done",
                              text(key::generationStepArkanaFiles) + ": done",
                              text(key::generationStepModuleCopy, "KeyChain manager") + ": done",
                              text(key::generationStepModuleCopy, "AWSS3") + ": done",
                              text(key::generationStepModuleTarget, "KeyChain manager") + ": done",
                              text(key::generationStepModuleTarget, "AWSS3") + ": done",
                              text(key::generationStepPodInstallation) + ": done"}));
        const QString root = work.filePath("Projects/Shop");
        QVERIFY(QFileInfo(root + "/Shop/Helpers/Keychain").isDir()); // the SwiftUI folder: the UI kind was detected
        QVERIFY(QFileInfo(root + "/Shop/AWSS3").isDir());
        QVERIFY(QFileInfo(root + "/Pods/AWSS3").isDir()); // the module's pod
        const QByteArray arkana = fixture::files(root).value(".arkana.yml");
        QVERIFY(arkana.contains("environments:\n  - Development\n  - UAT\n"));
    }

    // The pods the pod screen offers, from a saved page or fetched from a
    // loopback server; the test keeps its event loop running meanwhile.
    void pods_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<bool>("serve");
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QStringList>("names");
        const QString page = QStringLiteral(PLINTH_FIXTURES_DIR "/pages/mobile-libraries.html");
        QTest::newRow("new UIKit project") << QStringList{"--page", page} << false << 0
                                           << QStringList{"KWNetworking", "KWKeychain", "KWForms"};
        QTest::newRow("existing SwiftUI project") << QStringList{"--ui", "SwiftUI", "--podfile", "Podfile", "--page", page}
                                                  << false << 0 << QStringList{"KWSwiftUIKit", "KWMaps"};
        QTest::newRow("fetched") << QStringList{} << true << 0 << QStringList{"KWNetworking", "KWKeychain", "KWForms"};
        QTest::newRow("page unreachable") << QStringList{} << false << 1 << QStringList{};
    }

    void pods()
    {
        QFETCH(QStringList, arguments);
        QFETCH(bool, serve);
        QFETCH(int, exitCode);
        QFETCH(QStringList, names);
        QTemporaryDir work;
        QVERIFY(writeFile(work.filePath("Podfile"), "# Default pods\npod 'KWNetworking'\npost_install do |i|\nend\n"));
        test::PageServer server(test::readFile(QStringLiteral(PLINTH_FIXTURES_DIR "/pages/mobile-libraries.html")));
        const QUrl url = server.url();
        if (!serve)
            server.close();
        QProcess process;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert("PLINTH_CLI_TEST_PAGE_URL", url.toString());
        process.setProcessEnvironment(environment);
        process.setWorkingDirectory(work.path());
        process.start(cli::underTest(), QStringList{"pods"} + arguments);
        QTRY_VERIFY_WITH_TIMEOUT(process.state() == QProcess::NotRunning, 20000);
        const QStringList out = cli::lines(process.readAllStandardOutput());
        const QStringList err = cli::lines(process.readAllStandardError());
        QCOMPARE(process.exitCode(), exitCode);
        QStringList listed;
        for (const QString &line : out)
            listed << line.section('\t', 0, 0);
        QCOMPARE(listed, names);
        if (names.contains("KWForms"))
            QVERIFY(out.contains("KWForms\tForm building blocks with validation"));
        if (exitCode == 1)
            QVERIFY(err.last().startsWith("plinth-cli: the library page " + url.toString() + " cannot be read: "));
    }

    void doctor_data()
    {
        QTest::addColumn<QStringList>("extraTools"); // made beside the fake toolchain
        QTest::addColumn<QStringList>("missing");
        QTest::newRow("fake toolchain") << QStringList{}
                                        << QStringList{"Homebrew", "Command line tools", "XcodeProj"};
        QTest::newRow("every tool") << QStringList{"brew", "xcode-select", "xcodeproj"} << QStringList{};
    }

    void doctor()
    {
        QFETCH(QStringList, extraTools);
        QFETCH(QStringList, missing);
        QTemporaryDir tools;
        for (const QString &tool : extraTools) {
            QVERIFY(writeFile(tools.filePath(tool), "#!/bin/sh\nexit 0\n", true));
        }
        const QString searchPath = tools.path() + ":" + fixture::fakeToolchain() + ":/usr/bin:/bin";
        const cli::Result result = cli::run(cli::underTest(), {"doctor"}, tools.path(), cli::fakeToolchain({}, searchPath));
        QVERIFY2(result.exitCode == (missing.isEmpty() ? 0 : 1), qPrintable(result.all()));

        // The header, the six rows in the screen's order, the verdict.
        QCOMPARE(result.out.size(), 9);
        QCOMPARE(result.out.at(0), text(key::checkForDependencies));
        QVERIFY(result.out.at(1).startsWith("Tool "));
        const QStringList order{"Xcode build", "Cocoapods", "Homebrew", "Command line tools", "Xcodegen", "XcodeProj"};
        for (qsizetype i = 0; i < order.size(); ++i) {
            const QString row = result.out.at(i + 2);
            QVERIFY2(row.startsWith(order.at(i) + " "), qPrintable(row));
            const QString status = row.mid(20, 7);
            QCOMPARE(status, missing.contains(order.at(i)) ? "missing" : "present");
        }
        QVERIFY(result.out.at(2).contains(fixture::fakeToolchain() + "/xcodebuild"));
        QCOMPARE(result.out.last(), text(missing.isEmpty() ? key::dependenciesExistAndReadyToProceed : key::dependenciesNotFound));
    }

    // The shipped program checks the real toolchain: whatever it finds, its
    // exit status agrees with its table.
    void doctorOfTheShippedProgram()
    {
        QTemporaryDir work;
        const cli::Result result = cli::run(cli::shipped(), {"doctor"}, work.path());
        QCOMPARE(result.out.size(), 9);
        const bool allPresent = result.out.mid(2, 6).filter(QRegularExpression(" present( |$)")).size() == 6;
        QCOMPARE(result.exitCode, allPresent ? 0 : 1);
    }
};

QTEST_GUILESS_MAIN(TestCli)
#include "TestCli.moc"
