#include "app/base/TextCatalog.h"
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
    return {{"projectType", "new"}, {"projectName", "Golden"}, {"organizationName", "Tarnwick Labs"},
            {"authorName", "Ada Lovelace"}, {"selectedUI", "SwiftUI"}, {"minimumDeploymentTarget", "17.0"},
            {"projectPath", projectPath}, {"configVariant", array({"Development", "UAT", "Production"})},
            {"doesIncludeBLE", true}, {"userSelectedPods", array({"SwiftLint", "R.swift"})}};
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

/// Writes `description` to `directory`/`file` and runs the test program's
/// generate on it there, with the fake toolchain unless told otherwise.
cli::Result generate(const QString &directory, const QString &file, const QJsonObject &description,
                     const QStringList &options = {}, const QMap<QString, QString> &environment = cli::fakeToolchain())
{
    if (!writeFile(directory + '/' + file, QJsonDocument(description).toJson()))
        return {-1, {}, {"cannot write " + file}};
    return cli::run(cli::underTest, QStringList{"generate", file} + options, directory, environment);
}

/// The lines that give a step's outcome.
QStringList stepLines(const QStringList &out)
{
    return out.filter(QRegularExpression(": (done|failed|skipped)$"));
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
        QTest::newRow("help") << QStringList{"--help"} << 0 << "Usage: plinth-cli generate FILE.json [--no-install]";
        QTest::newRow("no command") << QStringList{} << 2 << "plinth-cli: no command given";
        QTest::newRow("unknown command") << QStringList{"build"} << 2 << "plinth-cli: unknown command \"build\"";
        QTest::newRow("unknown option") << QStringList{"generate", "x.json", "--fast"} << 2 << "plinth-cli: Unknown option 'fast'.";
        QTest::newRow("generate without file")
            << QStringList{"generate"} << 2 << "plinth-cli: generate takes one description file (plinth-cli generate FILE.json)";
        QTest::newRow("doctor with --no-install")
            << QStringList{"doctor", "--no-install"} << 2 << "plinth-cli: --no-install belongs to generate";
        QTest::newRow("missing file")
            << QStringList{"generate", "absent.json"} << 2 << "absent.json: cannot be read: No such file or directory";
        QTest::newRow("pods for another UI kind")
            << QStringList{"pods", "--ui", "AppKit"} << 2 << "plinth-cli: --ui takes \"UIKit\" or \"SwiftUI\", not \"AppKit\"";
        QTest::newRow("pods option of another command")
            << QStringList{"doctor", "--page", "p.html"} << 2 << "plinth-cli: --page belongs to pods";
        QTest::newRow("missing page")
            << QStringList{"pods", "--page", "absent.html"} << 2 << "absent.html: cannot be read: No such file or directory";
    }

    void commandLine()
    {
        QFETCH(QStringList, arguments);
        QFETCH(int, exitCode);
        QFETCH(QString, expected);
        QTemporaryDir work;
        const cli::Result result = cli::run(cli::shipped, arguments, work.path());
        QVERIFY2(result.exitCode == exitCode, qPrintable(result.all()));
        QVERIFY2((exitCode == 0 ? result.out : result.err).contains(expected), qPrintable(result.all()));
        QVERIFY(cli::snapshot(work.path()).isEmpty());
    }

    // Each description is refused with exit status 2 and one line per
    // problem, in this order, and nothing on disk changes.
    void invalidDescription_data()
    {
        QTest::addColumn<QByteArray>("json");
        QTest::addColumn<QStringList>("problems"); // one fragment per expected line, in order

        const QJsonObject base = goldenDescription(QStringLiteral("Projects"));
        const QJsonObject existing{{"projectType", "existing"}, {"projectPath", "Shop"},
                                   {"configVariant", array({"Development"})}, {"userSelectedModules", array({"Network layer"})}};

        QTest::newRow("every problem of the screens at once")
            << patched(base, {{"projectName", "my app"}, {"projectPath", "Nowhere"}, {"authorName", ""},
                              {"configVariant", QJsonArray()}})
            << QStringList{"projectName: " + text(key::projectNameContainsSpace) + " (\"my app\")",
                           "authorName: must not be empty",
                           "projectPath: " + text(key::inValidPath),
                           "configVariant: " + text(key::noConfigVariantSelectionSubTitle)};
        QTest::newRow("no destination, development scheme not among the variants")
            << patched(base, {{"projectPath", QJsonValue::Null}, {"configVariant", array({"UAT", "Production"})},
                              {"developmentSchemeName", "Staging"}})
            << QStringList{"projectPath: missing",
                           "developmentSchemeName: \"Staging\" is not among the configuration variants (\"UAT\", \"Production\")"};
        QTest::newRow("project folder already there, variant twice, variant with a space")
            << patched(base, {{"projectName", "Taken"}, {"configVariant", array({"Development", "UAT", "UAT", "Pre Prod"})}})
            << QStringList{"projectPath: " + text(key::directoryAlreadyExistSubTitle, "Taken"),
                           "configVariant: \"UAT\" is listed twice", "configVariant: \"Pre Prod\" must be a name"};
        // The name rules' own tables are TestProjectRules'; here each message
        // the reader gives a variant label.
        QTest::newRow("variants YAML or Swift read as something else")
            << patched(base, {{"configVariant", array({"Development", "On", "nil", ""})}})
            << QStringList{"configVariant: \"On\": " + text(key::variantLabelReadsAsYamlValue),
                           "configVariant: \"nil\": " + text(key::variantLabelSwiftKeyword),
                           "configVariant: a variant has an empty name"};
        QTest::newRow("values no screen offers, no development variant chosen")
            << patched(base, {{"selectedUI", "AppKit"}, {"minimumDeploymentTarget", "15.0"},
                              {"userSelectedPods", array({"SwiftLint", "Evil'; system('rm -rf ~')"})},
                              {"bundleIdentifier", "com.tarnwick.My App"}, {"userSelectedModules", array({"BLE"})},
                              {"configVariant", array({"UAT", "Staging"})}})
            << QStringList{"minimumDeploymentTarget: must be one of \"16.0\", \"17.0\", \"18.0\", not \"15.0\"",
                           "userSelectedPods: \"Evil'; system('rm -rf ~')\" is not a pod name",
                           "bundleIdentifier: \"com.tarnwick.My App\" may hold only",
                           "selectedUI: must be one of \"UIKit\", \"SwiftUI\", not \"AppKit\"",
                           "developmentSchemeName: " + text(key::selectDevelopmentSchemeSubTitle) + " (one of \"UAT\", \"Staging\")",
                           "userSelectedModules: modules are added to existing projects only"};
        QTest::newRow("wrong types, destination is a file")
            << patched(base, {{"projectName", 42}, {"doesIncludeAWS", "yes"}, {"configVariant", "UAT"},
                              {"userSelectedPods", QJsonArray{"SwiftLint", true}}, {"projectPath", "notes.txt"}})
            << QStringList{"doesIncludeAWS: must be true or false, not a text",
                           "userSelectedPods[1]: must be a text, not true or false",
                           "projectName: must be a text, not a number", "notes.txt: not a folder)",
                           "configVariant: must be a list of texts, not a text"};
        QTest::newRow("misspelt field, missing type")
            << patched(base, {{"projectNmae", "Golden"}, {"projectType", QJsonValue::Null}})
            << QStringList{"projectNmae: not a field of a project description", "projectType: missing"};
        QTest::newRow("malformed JSON") << QByteArray("{\n  \"projectType\": \"new\",\n  \"projectName\": Golden\n}\n")
                                        << QStringList{"not valid JSON: illegal number (line 3, column 18)"};
        QTest::newRow("not an object") << QByteArray("[\"new\"]") << QStringList{"a project description is a JSON object"};

        QTest::newRow("modules unknown, for UIKit only, twice")
            << patched(existing, {{"userSelectedModules", array({"Network layer", "Teleporter", "Dynamics", "BLE", "BLE"})}})
            << QStringList{"userSelectedModules: unknown module \"Teleporter\"",
                           "userSelectedModules: \"Dynamics\" is not offered for SwiftUI projects",
                           "userSelectedModules: \"BLE\" is listed twice"};
        // Without variants the project's own environments are taken.
        QTest::newRow("existing project under another name and UI kind, with Arkana but no variants")
            << patched(existing, {{"projectName", "Store"}, {"selectedUI", "UIKit"}, {"configVariant", QJsonValue::Null}})
            << QStringList{"projectName: \"Store\" does not match the project Shop.xcodeproj",
                           "selectedUI: the project is a SwiftUI project, not \"UIKit\""};
        QTest::newRow("existing project without .xcodeproj")
            << patched(existing, {{"projectPath", "Plain"}}) << QStringList{"Plain holds no .xcodeproj"};
        QTest::newRow("existing project that is not there")
            << patched(existing, {{"projectPath", "Gone"}}) << QStringList{"Gone does not exist"};
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
        QVERIFY(writeFile(work.filePath("Plain/main.swift"), "import UIKit\n"));
        QVERIFY(writeFile(work.filePath("description.json"), json));
        const auto before = cli::snapshot(work.path());

        const cli::Result result = cli::run(cli::shipped, {"generate", "description.json"}, work.path());
        QVERIFY2(result.exitCode == 2 && result.out.isEmpty() && result.err.size() == problems.size(), qPrintable(result.all()));
        for (qsizetype i = 0; i < problems.size(); ++i) {
            QVERIFY2(result.err.at(i).startsWith("description.json: ") && result.err.at(i).contains(problems.at(i)),
                     qPrintable(problems.at(i) + "\n" + result.all()));
        }
        QCOMPARE(cli::snapshot(work.path()), before);
    }

    // One fixed description through plinth-cli (the destination relative to
    // the description) over the small fixture template gives exactly the
    // committed tree, the temporary folder written as /Users/dev/Projects.
    // PLINTH_UPDATE_GOLDEN=1 rewrites the committed tree instead.
    void goldenProject()
    {
        QTemporaryDir work;
        const QString bundle = fixture::makeFixtureBundle(work.filePath("bundle"));
        const QString byCli = work.filePath("cli/Projects");
        QVERIFY(QDir().mkpath(byCli));
        const cli::Result result = generate(work.filePath("cli"), "golden.json", goldenDescription("Projects"),
                                            {"--no-install"}, cli::fakeToolchain(bundle));
        QVERIFY2(result.exitCode == 0, qPrintable(result.all()));
        QCOMPARE(result.out.first(), "Generating " + byCli + "/Golden");
        QVERIFY(result.out.contains("Done: " + byCli + "/Golden")); // and no Pods folder in the tree below

        const auto generated = fixture::normalisedFiles(byCli);
        if (qEnvironmentVariableIsSet("PLINTH_UPDATE_GOLDEN")) {
            QDir(fixture::goldenProject()).removeRecursively();
            for (auto file = generated.begin(); file != generated.end(); ++file)
                QVERIFY(writeFile(fixture::goldenProject() + '/' + file.key(), file.value()));
        }
        const auto expected = fixture::files(fixture::goldenProject());
        QCOMPARE(generated.keys(), expected.keys());
        for (auto file = generated.begin(); file != generated.end(); ++file)
            QCOMPARE(QString::fromUtf8(file.value()), QString::fromUtf8(expected.value(file.key())));
    }

    // The shipped template into an odd folder, then the pods installed in
    // the foreground: the script's own lines come between the step's start
    // and its outcome. Then the project extended with modules, in the
    // description's order, for the UI kind its sources name.
    void generateInstallAndExtend()
    {
        QTemporaryDir work;
        const QString folder = work.filePath("My 'Apps' $HOME Über");
        QVERIFY(QDir().mkpath(folder));
        QJsonObject description = goldenDescription(folder);
        description.insert("projectName", "Orbit");
        cli::Result result = generate(work.path(), "orbit.json", description);
        QVERIFY2(result.exitCode == 0, qPrintable(result.all()));
        const QString install = text(key::generationStepPodInstallation);
        const qsizetype running = result.out.indexOf(install + ": running");
        const qsizetype done = result.out.indexOf(install + ": done");
        QVERIFY2(running > 0 && done > running, qPrintable(result.all()));
        QVERIFY(result.out.indexOf(text(key::generationStepInstantiation) + ": done") < running);
        QVERIFY(result.out.mid(running, done - running).contains("==> Installing the pods..."));
        QString root = folder + "/Orbit";
        QCOMPARE(result.out.last(), "Done: " + root + "/Orbit.xcworkspace");
        QVERIFY(QFileInfo(root + "/Pods/SwiftLint").isDir());
        QVERIFY(QFileInfo(root + "/Orbit.xcworkspace/contents.xcworkspacedata").isFile());

        // The project extended where it lies, in a folder named unlike it (as
        // a repository often is): everything goes into that folder.
        const QString repository = folder + "/orbit-ios";
        QVERIFY(QDir().rename(root, repository));
        root = repository;
        const QJsonObject extension{{"projectType", "existing"}, {"projectPath", root},
                                    {"configVariant", array({"Development", "UAT"})}, {"userSelectedPods", array({"SwiftLint"})},
                                    {"userSelectedModules", array({"KeyChain manager", "AWSS3"})}};
        result = generate(work.path(), "existing.json", extension);
        QVERIFY2(result.exitCode == 0, qPrintable(result.all()));
        QCOMPARE(result.out.first(), "Adding to " + root);
        QCOMPARE(stepLines(result.out),
                 (QStringList{text(key::generationStepPostGeneration) + ": done", text(key::generationStepArkanaFiles) + ": done",
                              text(key::generationStepModuleCopy, "KeyChain manager") + ": done",
                              text(key::generationStepModuleCopy, "AWSS3") + ": done",
                              text(key::generationStepModuleTarget, "KeyChain manager") + ": done",
                              text(key::generationStepModuleTarget, "AWSS3") + ": done",
                              text(key::generationStepPodInstallation) + ": done"}));
        QVERIFY(QFileInfo(root + "/Orbit/Helpers/Keychain").isDir()); // the SwiftUI folder: the UI kind was detected
        QVERIFY(QFileInfo(root + "/Orbit/AWSS3").isDir());
        QVERIFY(QFileInfo(root + "/Pods/AWSS3").isDir()); // the module's pod
        QVERIFY(fixture::files(root).value(".arkana.yml").contains("environments:\n  - Development\n  - UAT\n"));
    }

    // A step that fails gives exit status 1, and no pod installation.
    void failingStep()
    {
        QTemporaryDir work;
        QVERIFY(QDir().mkpath(work.filePath("Projects")));
        // No xcodegen and no pod on the search path.
        const cli::Result result = generate(work.path(), "d.json", goldenDescription("Projects"), {},
                                            cli::fakeToolchain({}, QStringLiteral("/usr/bin:/bin")));
        QVERIFY2(result.exitCode == 1, qPrintable(result.all()));
        QVERIFY(result.out.contains(text(key::generationStepXcodeGen) + ": failed"));
        QCOMPARE(result.out.last(), "1 of 7 steps failed; the pods were not installed.");
        QVERIFY(!result.out.contains(text(key::generationStepPodInstallation) + ": running"));
    }

    // The pods the pod screen offers, from a saved page or fetched from a
    // loopback server.
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
        QTest::newRow("a Podfile without the target's block")
            << QStringList{"--podfile", "Podfile", "--target", "Store", "--page", page} << false << 2 << QStringList{};
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
        QVERIFY(writeFile(work.filePath("Podfile"), "source 'https://cdn.cocoapods.org/'\nabstract_target 'All' do\n"
                                                    "  pod 'KWNetworking', '~> 2.0'\n  target 'Shop' do\n  end\nend\n"));
        QVERIFY(QDir().mkpath(work.filePath("Shop.xcodeproj")));
        test::PageServer server(test::readFile(QStringLiteral(PLINTH_FIXTURES_DIR "/pages/mobile-libraries.html")));
        const QUrl url = server.url();
        if (!serve)
            server.close();
        const cli::Result result = cli::run(cli::underTest, QStringList{"pods"} + arguments, work.path(),
                                            {{"PLINTH_CLI_TEST_PAGE_URL", url.toString()}});
        QVERIFY2(result.exitCode == exitCode, qPrintable(result.all()));
        QCOMPARE(QStringList(result.out).replaceInStrings(QRegularExpression("\t.*"), QString()), names); // the names
        if (names.contains("KWForms"))
            QVERIFY(result.out.contains("KWForms\tForm building blocks with validation"));
        if (exitCode == 1)
            QVERIFY(result.err.last().startsWith("plinth-cli: the library page " + url.toString() + " cannot be read: "));
        if (exitCode == 2)
            QVERIFY2(result.err.join('\n').contains("Podfile: PodfileEditor: ") && result.err.join('\n').contains("Store"),
                     qPrintable(result.all()));
    }

    // The header, the six tools with their status and where they were
    // found, the verdict; exit status 1 while a tool is missing.
    void doctor_data()
    {
        QTest::addColumn<QStringList>("extraTools"); // made beside the fake toolchain
        QTest::addColumn<QStringList>("missing");
        QTest::newRow("fake toolchain") << QStringList{} << QStringList{"Homebrew", "Command line tools"};
        QTest::newRow("every tool") << QStringList{"brew", "xcode-select"} << QStringList{};
        // The gem counts only where the scripts' Ruby (the first on the
        // search path) can load it, not where some xcodeproj program exists.
        QTest::newRow("a Ruby without the gem") << QStringList{"brew", "xcode-select", "xcodeproj", "ruby"}
                                                << QStringList{"XcodeProj"};
    }

    void doctor()
    {
        QFETCH(QStringList, extraTools);
        QFETCH(QStringList, missing);
        QTemporaryDir tools;
        for (const QString &tool : extraTools)
            QVERIFY(writeFile(tools.filePath(tool), tool == "ruby" ? "#!/bin/sh\nexit 1\n" : "#!/bin/sh\nexit 0\n", true));
        const QString searchPath = tools.path() + ":" + fixture::fakeToolchain() + ":/usr/bin:/bin";
        const cli::Result result = cli::run(cli::underTest, {"doctor"}, tools.path(), cli::fakeToolchain({}, searchPath));
        QVERIFY2(result.exitCode == (missing.isEmpty() ? 0 : 1) && result.out.size() == 9, qPrintable(result.all()));
        QCOMPARE(result.out.at(0), text(key::checkForDependencies)); // then the table's header
        const QStringList rows = result.out.mid(2, 6);
        QCOMPARE(rows.filter(QRegularExpression(" present( |$)")).size(), 6 - missing.size());
        for (const QString &tool : missing)
            QCOMPARE(rows.filter(QRegularExpression("^" + tool + " +missing$")).size(), 1);
        QVERIFY(rows.first().contains(fixture::fakeToolchain() + "/xcodebuild"));
        QCOMPARE(result.out.last(), text(missing.isEmpty() ? key::dependenciesExistAndReadyToProceed : key::dependenciesNotFound));
    }
};

QTEST_GUILESS_MAIN(TestCli)
#include "TestCli.moc"
