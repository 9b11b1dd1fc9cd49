#include "app/base/TextCatalog.h"
#include "catalogs/SupplementalPodsPage.h"
#include "cli/CliRun.h"
#include "cli/PodsCommand.h"
#include "cli/ProjectDescription.h"
#include "generation/GenerationFixture.h"
#include "tools/PageServer.h"
#include "tools/TestFiles.h"
#include "tools/YamlSummary.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QRegularExpression>
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

/// `object` read as a description file in `folder`, in this process.
ProjectDescription read(const QJsonObject &object, const QString &folder)
{
    return readProjectDescription(QJsonDocument(object).toJson(), folder);
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

} // namespace

class TestCli : public QObject
{
    Q_OBJECT

private slots:
    void commandLine_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<int>("exitCode");
        // A line of stdout (exit 0) or stderr; with %1, the program runs as a
        // copy in a folder (%1/bin) without its resource bundle.
        QTest::addColumn<QString>("expected");
        QTest::newRow("help") << QStringList{"--help"} << 0
                              << "Usage: plinth-cli generate FILE.json [--no-install] [--dry-run]";
        QTest::newRow("unknown command") << QStringList{"build"} << 2 << "plinth-cli: unknown command \"build\"";
        QTest::newRow("generate without file")
            << QStringList{"generate"} << 2 << "plinth-cli: generate takes one description file (plinth-cli generate FILE.json)";
        QTest::newRow("missing file")
            << QStringList{"generate", "absent.json"} << 2 << "absent.json: cannot be read: No such file or directory";
        QTest::newRow("pods for another UI kind")
            << QStringList{"pods", "--ui", "AppKit"} << 2 << "plinth-cli: --ui takes \"UIKit\" or \"SwiftUI\", not \"AppKit\"";
        QTest::newRow("pods option of another command")
            << QStringList{"doctor", "--page", "p.html"} << 2 << "plinth-cli: --page belongs to pods";
        QTest::newRow("--allow-dirty elsewhere") << QStringList{"pods", "--allow-dirty"} << 2
                                                 << "plinth-cli: --allow-dirty belongs to generate";
        QTest::newRow("no resource bundle")
            << QStringList{"doctor"} << 2
            << "plinth-cli: the resource bundle (templates, scripts, texts) is missing; looked for it at %1/share/plinth";
    }

    void commandLine()
    {
        QFETCH(QStringList, arguments);
        QFETCH(int, exitCode);
        QFETCH(QString, expected);
        QTemporaryDir work;
        QTemporaryDir elsewhere;
        QString program = cli::shipped;
        if (expected.contains("%1")) {
            program = elsewhere.filePath("bin/plinth-cli");
            QVERIFY(QDir().mkpath(elsewhere.filePath("bin")) && QFile::copy(cli::shipped, program));
            expected = expected.arg(elsewhere.path());
        }
        const cli::Result result = cli::run(program, arguments, work.path());
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
        QTest::newRow("values no screen offers, no development variant chosen")
            << patched(base, {{"selectedUI", "AppKit"},
                              {"userSelectedPods", array({"SwiftLint", "Evil'; system('rm -rf ~')", ".."})},
                              {"bundleIdentifier", "com.tarnwick.My App"}, {"userSelectedModules", array({"BLE"})},
                              {"configVariant", array({"UAT", "Staging"})}})
            << QStringList{"userSelectedPods: \"Evil'; system('rm -rf ~')\" is not a pod name",
                           "userSelectedPods: \"..\" is not a pod name",
                           "bundleIdentifier: \"com.tarnwick.My App\" may hold only",
                           "selectedUI: must be one of \"UIKit\", \"SwiftUI\", not \"AppKit\"",
                           "developmentSchemeName: " + text(key::selectDevelopmentSchemeSubTitle) + " (one of \"UAT\", \"Staging\")",
                           "userSelectedModules: modules are added to existing projects only"};
        QTest::newRow("wrong types, destination is a file")
            << patched(base, {{"projectName", 42}, {"userSelectedPods", QJsonArray{"SwiftLint", true}},
                              {"projectPath", "notes.txt"}})
            << QStringList{"userSelectedPods[1]: must be a text, not true or false",
                           "projectName: must be a text, not a number", "notes.txt: not a folder)"};
        QTest::newRow("misspelt field, missing type")
            << patched(base, {{"projectNmae", "Golden"}, {"projectType", QJsonValue::Null}})
            << QStringList{"projectNmae: not a field of a project description", "projectType: missing"};
        QTest::newRow("malformed JSON") << QByteArray("{\n  \"projectType\": \"new\",\n  \"projectName\": Golden\n}\n")
                                        << QStringList{"not valid JSON: illegal number (line 3, column 18)"};

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

    // The reader in this process. A new project: fields left out take what
    // the screens start with, the bundle identifier is derived and the
    // destination is taken from the description's folder. A development
    // scheme named among the variants wins over Development (invalidDescription
    // has the refusals, the golden project Development taken when none is
    // named, TestProjectRules which variants count as Development).
    void readNewProject()
    {
        QTemporaryDir work;
        QVERIFY(QDir().mkpath(work.filePath("Projects")));
        const auto description = read({{"projectType", "new"}, {"projectName", "Orbit"}, {"authorName", "Ada"},
                                       {"projectPath", "Projects/"}, {"configVariant", array({"Development", "UAT"})},
                                       {"developmentSchemeName", "UAT"}},
                                      work.path());
        QVERIFY2(description.isValid(), qPrintable(description.problems.join('\n')));
        const ProjectDetailsModel &details = description.details;
        QCOMPARE(details.developmentSchemeName, "UAT");
        QCOMPARE(details.bundleIdentifier, "com.tarnwick.Orbit");
        QCOMPARE(details.organizationName, "Tarnwick Solutions");
        QCOMPARE(details.selectedUI, text(key::uiKit));
        QCOMPARE(details.minimumDeploymentTarget, text(key::deploymentTarget18_0));
        QCOMPARE(details.projectPath, work.filePath("Projects"));
        QVERIFY(details.doesIncludeArkana);
    }

    // An existing project: the folder holding the .xcodeproj gives the
    // project's name and parent; the UI kind comes from the sources, else
    // from the description (without either no module can be chosen, as the
    // module screen offers none); the modules are the catalog's entries for
    // the kind, in the description's order.
    void readExistingProject_data()
    {
        QTest::addColumn<QString>("folder");
        QTest::addColumn<QString>("given"); // selectedUI; empty: left out
        QTest::addColumn<QString>("ui");    // empty: refused
        QTest::addColumn<QStringList>("modules"); // title=folder
        QTest::newRow("UIKit") << "Kit" << "" << text(key::uiKit)
                               << QStringList{"Dynamics=Dynamics", "KeyChain manager=Helpers/KeychainManager.swift",
                                              "User Manager=Helpers/User"};
        QTest::newRow("undetectable, kind given") << "Bare" << "UIKit" << text(key::uiKit) << QStringList{"BLE=BLE"};
        QTest::newRow("undetectable, no kind given") << "Bare" << "" << "" << QStringList{"BLE=BLE"};
    }

    void readExistingProject()
    {
        QFETCH(QString, folder);
        QFETCH(QString, given);
        QFETCH(QString, ui);
        QFETCH(QStringList, modules);
        QStringList chosen;
        for (const QString &module : modules)
            chosen << module.section('=', 0, 0);
        QJsonObject object{{"projectType", "existing"}, {"projectPath", folder + "/"}, {"doesIncludeArkana", false},
                           {"userSelectedModules", QJsonArray::fromStringList(chosen)}};
        if (!given.isEmpty())
            object.insert("selectedUI", given);
        QTemporaryDir work;
        // An existing UIKit project and one without an app file. (A SwiftUI
        // project's kind found and its modules' folders:
        // generateInstallAndExtend.)
        QVERIFY(writeFile(work.filePath("Kit/Kit.xcodeproj/project.pbxproj"), "//\n"));
        QVERIFY(writeFile(work.filePath("Kit/Kit/AppDelegate.swift"), "import UIKit\n@main class AppDelegate {}\n"));
        QVERIFY(writeFile(work.filePath("Bare/Bare.xcodeproj/project.pbxproj"), "//\n"));
        const auto description = read(object, work.path());
        if (ui.isEmpty()) {
            QCOMPARE(description.problems.size(), 1);
            QVERIFY(description.problems.first().startsWith("userSelectedModules: the project's UI kind could not be detected"));
            return;
        }
        QVERIFY2(description.isValid(), qPrintable(description.problems.join('\n')));
        const ProjectDetailsModel &details = description.details;
        QCOMPARE(details.projectName, folder);
        QCOMPARE(details.projectPath, work.path());
        QCOMPARE(details.selectedUI, ui);
        QStringList found;
        for (const ListItem &module : details.userSelectedModules)
            found << module.title + '=' + module.directoryName;
        QCOMPARE(found, modules);
        QVERIFY(details.minimumDeploymentTarget.isEmpty()); // the project keeps its own
    }

    // One fixed description through plinth-cli (the destination relative to
    // the description) over the small fixture template gives exactly the
    // committed tree, the temporary folder written as /Users/dev/Projects;
    // once with the libraries as pods, once as Swift packages (no Podfile,
    // the secrets as local packages). PLINTH_UPDATE_GOLDEN=1 rewrites the
    // committed trees instead.
    void goldenProject_data()
    {
        QTest::addColumn<QString>("manager");
        QTest::addColumn<QString>("golden");
        QTest::newRow("CocoaPods") << "cocoapods" << fixture::goldenProject();
        QTest::newRow("Swift Package Manager") << "spm" << fixture::goldenProject() + "-spm";
    }
    void goldenProject()
    {
        QFETCH(QString, manager);
        QFETCH(QString, golden);
        QTemporaryDir work;
        const QString bundle = fixture::makeFixtureBundle(work.filePath("bundle"));
        const QString byCli = work.filePath("cli/Projects");
        QVERIFY(QDir().mkpath(byCli));
        QJsonObject description = goldenDescription("Projects");
        description["dependencyManager"] = manager;
        if (manager == "spm") // AWS S3: one package, two products
            description["doesIncludeAWS"] = true;
        const cli::Result result = generate(work.filePath("cli"), "golden.json", description, {"--no-install"},
                                            cli::fakeToolchain(bundle));
        QVERIFY2(result.exitCode == 0, qPrintable(result.all()));
        QCOMPARE(result.out.first(), "Generating " + byCli + "/Golden");
        QVERIFY(result.out.contains("Done: " + byCli + "/Golden")); // and no Pods folder in the tree below

        const auto generated = fixture::normalisedFiles(byCli);
        if (qEnvironmentVariableIsSet("PLINTH_UPDATE_GOLDEN")) {
            QDir(golden).removeRecursively();
            for (auto file = generated.begin(); file != generated.end(); ++file)
                QVERIFY(writeFile(golden + '/' + file.key(), file.value()));
        }
        const auto expected = fixture::files(golden);
        QCOMPARE(generated.keys(), expected.keys());
        for (auto file = generated.begin(); file != generated.end(); ++file)
            QCOMPARE(QString::fromUtf8(file.value()), QString::fromUtf8(expected.value(file.key())));

        // The description the project keeps makes the same project again
        // elsewhere, byte for byte.
        const QString elsewhere = work.filePath("elsewhere");
        QVERIFY(QDir().mkpath(elsewhere));
        const cli::Result again = cli::run(cli::underTest,
                                           {"generate", byCli + "/Golden/plinth.json", "--destination", elsewhere,
                                            "--no-install"},
                                           work.path(), cli::fakeToolchain(bundle));
        QVERIFY2(again.exitCode == 0, qPrintable(again.all()));
        QCOMPARE(fixture::files(elsewhere), fixture::files(byCli));

        // What XcodeGen reads: every package the app names is declared, from
        // an https repository or the project's own folder.
        const QJsonObject project = test::yamlSummary(byCli + "/Golden/project.yml");
        QCOMPARE(test::packageProblems(project), QStringList());
        QCOMPARE(QFileInfo::exists(byCli + "/Golden/Podfile"), manager == "cocoapods");
    }

    // --dry-run writes nothing into the destination or the project; the
    // diff it prints, applied with patch -p1 to a copy of the project, gives
    // what the real run then gives; a new project's listed tree is the one
    // the real run makes.
    void dryRun_data()
    {
        QTest::addColumn<bool>("existing");
        QTest::newRow("existing project") << true;
        QTest::newRow("new project") << false;
    }
    void dryRun()
    {
        QFETCH(bool, existing);
        QTemporaryDir work;
        const QString root = work.filePath(existing ? "Team's $apps/orbit-ios" : "Projects");
        const QString pristine = work.filePath("pristine");
        QJsonObject description = goldenDescription(root);
        if (existing) {
            QVERIFY(fixture::copyTeamProject(root) && fixture::copyTeamProject(pristine));
            description = {{"projectType", "existing"}, {"projectPath", root},
                           {"userSelectedModules", array({"Network layer", "KeyChain manager"})},
                           {"userSelectedPods", array({"Kingfisher"})}};
        } else {
            QVERIFY(QDir().mkpath(root));
        }
        const auto before = cli::snapshot(root);
        const cli::Result preview = generate(work.path(), "d.json", description, {"--dry-run"});
        QVERIFY2(preview.exitCode == 0, qPrintable(preview.all()));
        QCOMPARE(cli::snapshot(root), before);
        QCOMPARE(QDir(QDir::tempPath()).entryList({"plinth-preview-*"}, QDir::Dirs), QStringList());

        const cli::Result real = generate(work.path(), "r.json", description, {"--no-install"});
        QVERIFY2(real.exitCode == 0, qPrintable(real.all()));
        if (!existing) {
            QStringList tree;
            for (const QString &line : preview.out.mid(1))
                tree << line.trimmed();
            QCOMPARE(tree, fixture::files(root + "/Golden").keys());
            return;
        }
        QVERIFY2(!preview.out.filter(QRegularExpression("^Would change: Podfile \\(\\+[1-9]")).isEmpty(),
                 qPrintable(preview.all()));
        QVERIFY(writeFile(work.filePath("preview.diff"), preview.out.join('\n').toUtf8() + '\n'));
        QProcess patch;
        patch.setWorkingDirectory(pristine);
        patch.setStandardInputFile(work.filePath("preview.diff"));
        patch.start("patch", {"-p1", "--quiet"});
        QVERIFY(patch.waitForFinished());
        QVERIFY2(patch.exitCode() == 0, patch.readAll().constData());
        QCOMPARE(fixture::files(pristine), fixture::files(root));
    }

    // An existing project in a Git work tree: uncommitted changes in a file
    // the run would change stop plinth-cli (status 2, the files named,
    // nothing written) unless --allow-dirty; other changes, ignored files
    // and a project outside Git do not.
    void uncommittedWork_data()
    {
        QTest::addColumn<bool>("repository");
        QTest::addColumn<QString>("changed");
        QTest::addColumn<QStringList>("options");
        QTest::addColumn<bool>("refused");
        QTest::newRow("Podfile changed") << true << "Podfile" << QStringList{} << true;
        QTest::newRow("Podfile changed, --allow-dirty") << true << "Podfile" << QStringList{"--allow-dirty"} << false;
        QTest::newRow("an unrelated file changed") << true << "README.md" << QStringList{} << false;
        QTest::newRow("an ignored file changed") << true << ".env" << QStringList{} << false;
        QTest::newRow("no repository") << false << "Podfile" << QStringList{} << false;
    }
    void uncommittedWork()
    {
        QFETCH(bool, repository);
        QFETCH(QString, changed);
        QFETCH(QStringList, options);
        QFETCH(bool, refused);
        QTemporaryDir work;
        const QString root = work.filePath("orbit-ios");
        QVERIFY(fixture::copyTeamProject(root));
        QVERIFY(writeFile(root + "/.gitignore", ".env\n"));
        QVERIFY(writeFile(root + "/README.md", "Orbit\n"));
        if (repository)
            QVERIFY(fixture::commitAll(root));
        QVERIFY(writeFile(root + '/' + changed, test::readFile(root + '/' + changed) + "# edited\n"));
        const auto before = cli::snapshot(root);

        const QJsonObject description{{"projectType", "existing"}, {"projectPath", root},
                                      {"userSelectedModules", array({"KeyChain manager"})}};
        const cli::Result result = generate(work.path(), "d.json", description, QStringList{"--no-install"} + options);
        if (refused) {
            QCOMPARE(result.exitCode, 2);
            QVERIFY2(result.err.contains("    " + changed), qPrintable(result.all()));
            QCOMPARE(cli::snapshot(root), before);
        } else {
            QVERIFY2(result.exitCode == 0, qPrintable(result.all()));
            QVERIFY(QFileInfo(root + "/Orbit/Helpers/KeychainManager.swift").isFile());
        }
    }

    // The shipped template into an odd folder, then the pods installed in
    // the foreground: the script's own lines come between the step's start
    // and its outcome. Then the project extended with modules, for the UI
    // kind its sources name, their pods installed. (The steps' order, the
    // modules' folders and .arkana.yml's environments: TestGenerationRun's
    // existingProject.)
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
        // The diagnostics are plain lines, as the scripts print them.
        QVERIFY2(result.err.contains("post_gen: wrote " + root + "/Podfile with 2 pod(s)"), qPrintable(result.all()));
        QVERIFY(QFileInfo(root + "/Pods/SwiftLint").isDir());

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
        QVERIFY(!result.err.filter(QRegularExpression("^Module successfully added\\.\\. ScriptResult")).isEmpty());
        QVERIFY(result.err.filter(QRegularExpression("^\"|^$")).isEmpty());
        QVERIFY(QFileInfo(root + "/Orbit/Helpers/Keychain").isDir()); // the SwiftUI folder: the UI kind was detected
        QVERIFY(QFileInfo(root + "/Pods/AWSS3").isDir()); // the module's pod
    }

    // A step that fails gives exit status 1, and no pod installation. (Which
    // step fails and why: TestGenerationRun's failuresAreRecorded.)
    void failingStep()
    {
        QTemporaryDir work;
        QVERIFY(QDir().mkpath(work.filePath("Projects")));
        // No xcodegen and no pod on the search path.
        const cli::Result result = generate(work.path(), "d.json", goldenDescription("Projects"), {},
                                            cli::fakeToolchain({}, QStringLiteral("/usr/bin:/bin")));
        QVERIFY2(result.exitCode == 1, qPrintable(result.all()));
        QCOMPARE(result.out.last(), "1 of 7 steps failed; the pods were not installed.");
        QVERIFY(!result.out.contains(text(key::generationStepPodInstallation) + ": running"));
    }

    // The pods the pod screen offers an existing SwiftUI project, read from
    // a saved page, but those its Podfile already has, each with its Swift
    // package where it has one; exit status 1 when the page cannot be
    // fetched. (Reading and fetching the page: TestPodSelection.)
    void pods()
    {
        QTemporaryDir work;
        QVERIFY(writeFile(work.filePath("Podfile"), "source 'https://cdn.cocoapods.org/'\nabstract_target 'All' do\n"
                                                    "  pod 'KWNetworking', '~> 2.0'\n  target 'Shop' do\n  end\nend\n"));
        QVERIFY(QDir().mkpath(work.filePath("Shop.xcodeproj")));
        const QString page = QStringLiteral(PLINTH_FIXTURES_DIR "/pages/mobile-libraries.html");
        const QStringList arguments{"pods", "--ui", "SwiftUI", "--podfile", "Podfile", "--page", page};
        cli::Result result = cli::run(cli::underTest, arguments, work.path());
        QVERIFY2(result.exitCode == 0, qPrintable(result.all()));
        QCOMPARE(result.out, (QStringList{"KWSwiftUIKit\tButtons, cards and sheets in the house style.\t",
                                          "KWMaps\tMap annotations and clustering for SwiftUI.\t"}));
        PodsCommand::Options options;
        options.isUIKitProject = false;
        options.packages = LibraryPackages({{"KWMaps", "KWMaps", "https://github.com/tarnwick/KWMaps.git", "1.2.0",
                                             {"KWMaps"}, {}}});
        QCOMPARE(PodsCommand::lines(parseSupplementalPods(test::readText(page)), options).last(),
                 "KWMaps\tMap annotations and clustering for SwiftUI.\thttps://github.com/tarnwick/KWMaps.git");

        test::PageServer closed("");
        const QString url = closed.url().toString();
        closed.close();
        result = cli::run(cli::underTest, {"pods"}, work.path(), {{"PLINTH_CLI_TEST_PAGE_URL", url}});
        QVERIFY2(result.exitCode == 1, qPrintable(result.all()));
        QVERIFY(result.err.last().startsWith("plinth-cli: the library page " + url + " cannot be read: "));
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
