#include "app/base/ResourceBundle.h"
#include "catalogs/ProjectUIDetection.h"
#include "generation/GenerationFixture.h"
#include "generation/GenerationRun.h"
#include "generation/ModuleInstallation.h"
#include "generation/SecretsMerge.h"
#include "tools/RunProcess.h"
#include "tools/TestFiles.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>
#include <QtTest>

using namespace plinth;
using Outcome = GenerationStep::Outcome;
using plinth::test::lineChanges;
using plinth::test::writeFile;

namespace {

using enum GenerationStepKind;

const QList<GenerationStepKind> newProjectSteps = {projectRoot, targetDirectories, xcodeGenSpecification, templateCopy,
                                                   xcodeGen,    postGeneration,    instantiation};

using fixture::runGeneration;

QList<GenerationStepKind> kinds(const QList<GenerationStep> &steps)
{
    QList<GenerationStepKind> list;
    for (const GenerationStep &step : steps)
        list << step.kind;
    return list;
}

/// The outcome of each step as a letter: d(one), f(ailed), s(kipped).
QString outcomeLetters(const QList<GenerationStep> &steps)
{
    QString letters;
    for (const GenerationStep &step : steps)
        letters += step.outcome == Outcome::done ? 'd' : step.outcome == Outcome::failed ? 'f' : 's';
    return letters;
}

QString failures(const QList<GenerationStep> &steps)
{
    QStringList lines;
    for (const GenerationStep &step : steps) {
        if (step.outcome != Outcome::done)
            lines << step.title() + QStringLiteral(": ") + step.detail;
    }
    return lines.join(QLatin1Char('\n'));
}

/// A YAML file as a real parser reads it, as JSON.
QJsonObject parsedYaml(const QString &path)
{
    const auto result = test::runProcess(QStringLiteral(PLINTH_PYTHON),
                                         {"-c", "import json, sys, yaml\n"
                                                "print(json.dumps(yaml.safe_load(open(sys.argv[1], encoding='utf-8'))))",
                                          path});
    return QJsonDocument::fromJson(result.output.toUtf8()).object();
}

} // namespace

class TestGenerationRun : public QObject
{
    Q_OBJECT

    ResourceBundle m_shipped{fixture::shippedBundle()};
    std::shared_ptr<CommandRunner> m_runner = fixture::fakeRunner();

private slots:
    // A whole new project from each shipped template, for several sets of
    // choices and names that a YAML reader, Swift or the walk could take for
    // something else: every Swift file parses, every data file reads back,
    // project.yml and .arkana.yml read back the names as given, the
    // template's test sources keep each identifier but the renamed ones, and
    // a destination named after the template is left as it is.
    void newProject_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("uiKit");
        QTest::addColumn<bool>("aws");
        QTest::addColumn<bool>("ble");
        QTest::addColumn<QString>("folder");
        QTest::addColumn<QStringList>("variants"); // the last one is the development scheme
        QTest::newRow("SwiftUI, AWS S3 and BLE, odd folder")
            << "Orbit" << false << true << true << "My 'Apps' $HOME Über"
            << QStringList{"Development", "UAT", "Production"};
        // Keychain: a name the template's own tests start with.
        QTest::newRow("UIKit, BLE, production first, custom variants, Keychain in a folder named after the template")
            << "Keychain" << true << false << true << "UIKitBaseSetup work"
            << QStringList{"Production", "QA_1", "_Dev"};
        QTest::newRow("UIKit, AWS S3")
            << "Orbit" << true << true << false << "Apps" << QStringList{"Development", "UAT"};
        QTest::newRow("App, in a folder named after the template")
            << "App" << false << false << false << "SwiftUIBaseSetup work" << QStringList{"Development", "UAT"};
        QTest::newRow("XCTestKit") << "XCTestKit" << false << false << false << "Apps" << QStringList{"Prod"};
    }

    void newProject()
    {
        QFETCH(QString, name);
        QFETCH(bool, uiKit);
        QFETCH(bool, aws);
        QFETCH(bool, ble);
        QFETCH(QString, folder);
        QFETCH(QStringList, variants);
        QTemporaryDir work;
        auto details = fixture::newProject(work.filePath(folder), name, uiKit);
        details.doesIncludeAWS = aws;
        details.doesIncludeBLE = ble;
        details.configVariant.clear();
        for (const QString &label : variants)
            details.configVariant.append({label, true});
        details.developmentSchemeName = variants.last();
        const QString templateName = uiKit ? "UIKitBaseSetup" : "SwiftUIBaseSetup";

        const auto steps = runGeneration(details, m_shipped, *m_runner);
        QCOMPARE(kinds(steps), newProjectSteps);
        QVERIFY2(failures(steps).isEmpty(), qPrintable(failures(steps)));

        const QString root = details.projectRoot();
        const auto tree = fixture::files(root);
        for (auto file = tree.begin(); file != tree.end(); ++file) {
            QVERIFY2(!file.key().contains(templateName), qPrintable(file.key()));
            const QByteArray text = QByteArray(file.value()).replace(root.toUtf8(), "");
            QVERIFY2(!text.contains(templateName.toUtf8()), qPrintable(file.key() + " holds the template name"));
        }
        QVERIFY(!tree.contains("Podfile.lock"));
        QCOMPARE(tree.contains(name + "/AWSS3/S3TransferService.swift"), aws);
        QCOMPARE(QFileInfo(root + '/' + name + "/BLE").isDir(), ble);

        // XcodeGen's project, rewritten; the chosen UI kind's template. (That
        // the project names the files as the walk renamed them, spaced names
        // too, is the golden project's and contentRules()'.)
        QVERIFY(tree.value(name + ".xcodeproj/project.pbxproj").contains("{ name = " + name.toUtf8() + "Tests; }"));
        QVERIFY(tree.contains(name + (uiKit ? "/AppDelegate.swift" : '/' + name + "App.swift")));

        // The Podfile's form is TestScripts'; here the choices reach it.
        const QByteArray podfile = tree.value("Podfile");
        QVERIFY(podfile.contains("  pod 'SwiftLint'\n  pod 'R.swift'\n"));
        QCOMPARE(podfile.contains("pod 'AWSS3'"), aws);
        const QString secretsPod = name + "Secrets";
        QVERIFY(podfile.contains(("pod '" + secretsPod + "', :path => 'Dependencies/" + secretsPod + "'").toUtf8()));

        // The secrets rewrites reached the shipped template's files (the
        // golden project pins their text).
        const QByteArray secrets = tree.value(name + "/AppSecrets.swift");
        QVERIFY(secrets.contains("import " + secretsPod.toUtf8() + "\n"));
        for (const QString &variant : variants)
            QVERIFY2(secrets.contains("Secrets." + variant.toUtf8() + "()"), qPrintable(variant));
        QVERIFY(!secrets.contains("Secrets.Staging()"));
        QVERIFY(tree.value(name + "/SceneDelegate.swift").contains("#if " + variants.last().toUtf8()));
        const QJsonObject arkana = parsedYaml(root + "/.arkana.yml");
        QCOMPARE(arkana["import_name"].toString(), secretsPod);
        QCOMPARE(arkana["pod_name"].toString(), secretsPod);
        QCOMPARE(arkana["environments"].toVariant().toStringList(), variants);
        const QString summarise = QStringLiteral(PLINTH_SOURCE_DIR "/tests/tools/yaml_summary.py");
        const auto summary = test::runProcess(QStringLiteral(PLINTH_PYTHON), {summarise, root + "/project.yml"});
        const QJsonObject project = QJsonDocument::fromJson(summary.output.toUtf8()).object();
        QCOMPARE(project["name"].toString(), name);
        QCOMPARE(project["configVariants"].toVariant().toStringList(), variants);
        const QJsonObject targets = project["targets"].toObject();
        QCOMPARE(targets.keys(), (QStringList{name, name + "Tests", name + "UITests"}));
        for (const QString &target : targets.keys())
            QCOMPARE(targets[target].toObject()["sources"].toString(), target);

        // (TestTemplates says so when the Swift syntax checker was not built.)
        for (const test::ProcessResult &check :
             {test::runProcess(QStringLiteral(PLINTH_SWIFT_SYNTAX_CHECK), {root}),
              test::runProcess(QStringLiteral(PLINTH_PYTHON), {QStringLiteral(PLINTH_SOURCE_DIR "/tests/tools/check_data_files.py"), root})})
            QVERIFY2(check.exitCode == 0 && !check.output.contains(QStringLiteral("checked 0 ")), qPrintable(check.output));
    }

    // A project as a team keeps it, not made by Plinth (an abstract target,
    // a helper method, pods over two lines and tab-indented, other targets,
    // its own file header and secrets), in a folder named unlike it: the
    // network layer and BLE with Arkana, the Podfile's pods kept but SnapKit,
    // Kingfisher added. The Podfile, Gemfile, .env and .arkana.yml are edited
    // in place (every line kept, no copy beside them); the modules are copied
    // whole and reach the target with their packages; a module whose place a
    // file of the project's own takes is neither copied over it nor added to
    // the target. Every other file is as it was; a second run changes nothing.
    void existingProject_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QByteArray>("ownArkana");  // the project's .arkana.yml; empty: none
        QTest::addColumn<QString>("podfileTarget"); // how the Podfile names the app target's block
        QTest::addColumn<bool>("keychainTaken");    // the project's own file where the keychain module goes
        QTest::addColumn<QStringList>("environments");
        QTest::addColumn<QString>("outcomes"); // a letter a step: done, failed, skipped
        QTest::addColumn<QString>("secrets");  // the secrets pod
        QTest::addColumn<QStringList>("podfileAdded");
        QTest::addColumn<QStringList>("arkanaAdded");
        QTest::addColumn<QStringList>("envAdded");

        const QString envComment = "# Keys the Arkana secrets need (added by Plinth; fill in the values)";
        const QStringList templateKeys{envComment,
                                       "export APIKey=",
                                       "export APIClientSecretDebug=",
                                       "export APIClientSecretStaging=",
                                       "export APIClientSecretRelease=",
                                       "export AWSIdentityPoolIDDebug=",
                                       "export AWSIdentityPoolIDStaging=",
                                       "export AWSIdentityPoolIDRelease="};
        const QStringList environments{"Debug", "Staging", "Release"};
        const auto podLines = [](const QString &pod, const QString &folder) {
            return QStringList{"    pod 'Kingfisher'",
                               QStringLiteral("    pod '%1', :path => '%2/%1'").arg(pod, folder),
                               QStringLiteral("    pod '%1Interfaces', :path => '%2/%1Interfaces'").arg(pod, folder)};
        };
        QTest::newRow("environments from the build configurations")
            << "Orbit" << QByteArray() << "'Orbit'" << false << environments << "dddddd" << "OrbitSecrets"
            << podLines("OrbitSecrets", "Dependencies") << QStringList{} << templateKeys;
        QTest::newRow("own .arkana.yml, the keychain module's place taken")
            << "Orbit"
            << QByteArray("# Secrets of the Orbit apps: bundle exec arkana\n"
                          "import_name: 'OrbitKeys'\nnamespace: 'Keys'\npod_name: 'OrbitKeys'\nresult_path: 'Keys'\n"
                          "package_manager: cocoapods\n\nenvironments:\n  - Debug\n  - Release\n"
                          "global_secrets:\n  - MapsAPIKey # Google Maps\nenvironment_secrets:\n  - BackendToken\n")
            << "'Orbit'" << true << QStringList{"Debug", "Release"} << "ddddfdds" << "OrbitKeys"
            << podLines("OrbitKeys", "Keys")
            << QStringList{"  - APIKey", "  - APIClientSecret", "  - AWSIdentityPoolID"}
            << QStringList{envComment, "export MapsAPIKey=", "export APIKey=", "export BackendTokenDebug=",
                           "export BackendTokenRelease=", "export APIClientSecretDebug=", "export APIClientSecretRelease=",
                           "export AWSIdentityPoolIDDebug=", "export AWSIdentityPoolIDRelease="};
        // The project and its app folder renamed so; its Xcode project has no
        // target of that name, and Debug and Release are taken.
        QTest::newRow("a name with a quote, spaces, a leading digit and non-ASCII, its block in double quotes")
            << "3D O'Brien Ü" << QByteArray() << "\"3D O'Brien Ü\"" << false << QStringList{"Debug", "Release"}
            << "dddddd" << "_D_O_Brien__Secrets" << podLines("_D_O_Brien__Secrets", "Dependencies") << QStringList{}
            << QStringList{envComment, "export APIKey=", "export APIClientSecretDebug=", "export APIClientSecretRelease=",
                           "export AWSIdentityPoolIDDebug=", "export AWSIdentityPoolIDRelease="};
    }

    void existingProject()
    {
        QFETCH(QString, name);
        QFETCH(QByteArray, ownArkana);
        QFETCH(QString, podfileTarget);
        QFETCH(bool, keychainTaken);
        QFETCH(QStringList, environments);
        QFETCH(QString, outcomes);
        QFETCH(QString, secrets);
        QFETCH(QStringList, podfileAdded);
        QFETCH(QStringList, arkanaAdded);
        QFETCH(QStringList, envAdded);
        QTemporaryDir work;
        const QString root = work.filePath("Team's $apps #1: Über/orbit-ios");
        QVERIFY(fixture::copyTeamProject(root));
        if (name != "Orbit")
            QVERIFY(QDir(root).rename("Orbit.xcodeproj", name + ".xcodeproj") && QDir(root).rename("Orbit", name));
        QByteArray podfile = test::readFile(root + "/Podfile");
        QVERIFY(podfile.contains("  target 'Orbit' do\n"));
        podfile.replace("  target 'Orbit' do\n", "  target " + podfileTarget.toUtf8() + " do\n");
        QVERIFY(writeFile(root + "/Podfile", podfile));
        if (!ownArkana.isEmpty())
            QVERIFY(writeFile(root + "/.arkana.yml", ownArkana));
        // A file of the user's that names the template: the module walk
        // must not even open it.
        QVERIFY(writeFile(root + '/' + name + "/Feature/Checkout.swift", "// UIKitBaseSetup Orbit Tests\n"));
        if (keychainTaken)
            QVERIFY(writeFile(root + '/' + name + "/Helpers/KeychainManager.swift", "// the team's own\n"));
        const auto before = fixture::files(root);

        // As the home, module and pod screens fill the description.
        ProjectDetailsModel details;
        details.projectType = ProjectType::existing;
        details.projectName = name;
        details.projectFolder = root;
        details.projectPath = QFileInfo(root).path();
        QCOMPARE(detectProjectUI(details), std::optional<QString>(text(key::uiKit)));
        details.selectedUI = text(key::uiKit);
        QCOMPARE(existingProjectEnvironments(root, details.projectName), environments);
        for (const QString &environment : environments)
            details.configVariant.append({environment, true});
        details.developmentSchemeName = environments.first();
        details.doesIncludeArkana = true;
        details.userSelectedModules = {fixture::catalogEntry("Network layer", true), fixture::catalogEntry("BLE", true)};
        if (keychainTaken)
            details.userSelectedModules << fixture::catalogEntry("KeyChain manager", true);
        details.userSelectedPods = {"SwiftLint", "Alamofire", "Lottie", "Firebase/Analytics", "OrbitDesign", "Kingfisher"};
        details.removedPods = {"SnapKit"};

        const auto steps = runGeneration(details, m_shipped, *m_runner);
        using Kinds = QList<GenerationStepKind>;
        const qsizetype modules = details.userSelectedModules.size();
        QCOMPARE(kinds(steps), (Kinds{postGeneration, arkanaFiles} + Kinds(modules, moduleCopy) + Kinds(modules, moduleTarget)));
        QVERIFY2(outcomeLetters(steps) == outcomes, qPrintable(failures(steps)));
        // The module whose place is taken says why.
        if (keychainTaken) {
            const QString taken = root + '/' + name + "/Helpers/KeychainManager.swift";
            QVERIFY2(steps[4].detail.startsWith(taken + " already exists and differs"), qPrintable(steps[4].detail));
        }

        // Only the modules and (without one of the project's own) .arkana.yml
        // are new; the other files that changed are these five.
        const auto after = fixture::files(root);
        const QString source = m_shipped.path("UIKitBaseSetup") + "/UIKitBaseSetup/";
        auto expectedKeys = before.keys();
        for (const char *module : {"Network", "BLE"}) {
            const auto files = fixture::files(source + module);
            QVERIFY(!files.isEmpty());
            for (auto file = files.begin(); file != files.end(); ++file) {
                const QString path = QStringLiteral("%1/%2/").arg(name, module) + file.key();
                QCOMPARE(after.value(path), file.value());
                expectedKeys << path;
            }
        }
        if (ownArkana.isEmpty())
            expectedKeys << ".arkana.yml";
        std::sort(expectedKeys.begin(), expectedKeys.end());
        QCOMPARE(after.keys(), expectedKeys);
        const QString pbxprojPath = name + ".xcodeproj/project.pbxproj";
        const QStringList edited{"Podfile", "Gemfile", ".env", ".arkana.yml", pbxprojPath};
        for (auto file = before.begin(); file != before.end(); ++file) {
            if (!edited.contains(file.key()))
                QVERIFY2(after.value(file.key()) == file.value(), qPrintable(file.key()));
        }

        // Each edited file: every line it had, in order, and only the
        // additions.
        const auto changes = [&](const char *file) { return lineChanges(before.value(file), after.value(file)); };
        QCOMPARE(changes("Podfile").removed, QStringList{"    pod 'SnapKit', '5.7.1' # layout DSL"});
        QCOMPARE(changes("Podfile").added, podfileAdded);
        QCOMPARE(changes("Gemfile").removed, QStringList{});
        QCOMPARE(changes("Gemfile").added, QStringList{"gem \"arkana\""});
        QCOMPARE(changes(".env").removed, QStringList{});
        QCOMPARE(changes(".env").added, envAdded);
        if (!ownArkana.isEmpty()) {
            QCOMPARE(changes(".arkana.yml").removed, QStringList{});
            QCOMPARE(changes(".arkana.yml").added, arkanaAdded);
            QCOMPARE(arkanaListEntries(after.value(".arkana.yml"), "environment_secrets"),
                     (QStringList{"BackendToken", "APIClientSecret", "AWSIdentityPoolID"}));
        }
        const QJsonObject arkana = parsedYaml(root + "/.arkana.yml");
        QCOMPARE(arkana["import_name"].toString(), secrets);
        QCOMPARE(arkana["pod_name"].toString(), secrets);
        QCOMPARE(arkana["environments"].toVariant().toStringList(), environments);

        // The Podfile is Ruby still. (Which block each pod lands in is
        // podfile_editor_test.rb's.)
        const auto syntax = test::runProcess("ruby", {"-c", root + "/Podfile"});
        QVERIFY2(syntax.exitCode == 0, qPrintable(syntax.output));

        // The copied modules reached the target, the network layer with its
        // two packages, in the order chosen (the keychain module, not copied,
        // did not).
        QString calls;
        for (const ListItem &module : details.userSelectedModules.mid(0, 2)) {
            calls += QStringLiteral("// module %1/%2/%3 target %2 group %2/%3\n").arg(root, name, module.directoryName);
            for (const SwiftPackage &package : module.requiredPackages)
                calls += QStringLiteral("// package %1 product %2 version %3\n").arg(package.url, package.product, package.requirement);
        }
        QCOMPARE(calls.count("// package "), 2);
        QVERIFY(calls.contains(" product Alamofire version ") && calls.contains(" product Logging version "));
        QCOMPARE(QString::fromUtf8(after.value(pbxprojPath)), QString::fromUtf8(before.value(pbxprojPath)) + calls);

        // Once more: no file changes (but for the fake script's record of the
        // calls) and none is added.
        const auto again = runGeneration(details, m_shipped, *m_runner);
        QCOMPARE(outcomeLetters(again), outcomes);
        auto expected = after;
        expected[pbxprojPath] += calls.toUtf8();
        const auto twice = fixture::files(root);
        QCOMPARE(twice.keys(), expected.keys());
        for (auto file = expected.begin(); file != expected.end(); ++file)
            QVERIFY2(twice.value(file.key()) == file.value(), qPrintable(file.key()));
    }

    // An existing project's libraries with Swift Package Manager: those with
    // a package are linked in one call and stay out of the Podfile, the
    // others reach it; no Podfile is made when none is needed. CocoaPods:
    // pods only. The Podfile's own lines stay.
    void existingProjectLibraries_data()
    {
        QTest::addColumn<bool>("packages");
        QTest::addColumn<QStringList>("pods"); // without a Podfile: only Kingfisher
        QTest::addColumn<QString>("outcomes");
        QTest::addColumn<QStringList>("podfileAdded");
        const QStringList pods{"Alamofire", "Kingfisher", "KWNetworking"};
        QTest::newRow("packages beside a Podfile") << true << pods << "dsd" << QStringList{"    pod 'KWNetworking'"};
        QTest::newRow("packages, no Podfile") << true << QStringList{"Kingfisher"} << "ssd" << QStringList{};
        QTest::newRow("CocoaPods") << false << pods << "ds"
                                   << QStringList{"    pod 'Kingfisher'", "    pod 'KWNetworking'"};
    }

    void existingProjectLibraries()
    {
        QFETCH(bool, packages);
        QFETCH(QStringList, pods);
        QFETCH(QString, outcomes);
        QFETCH(QStringList, podfileAdded);
        QTemporaryDir work;
        const QString root = work.filePath("orbit-ios");
        const bool podfile = pods.size() > 1;
        QVERIFY(fixture::copyTeamProject(root) && (podfile || QFile::remove(root + "/Podfile")));
        const auto before = fixture::files(root);
        ProjectDetailsModel details;
        details.projectType = ProjectType::existing;
        details.projectName = "Orbit";
        details.projectFolder = root;
        details.selectedUI = text(key::uiKit);
        details.doesIncludeArkana = false;
        details.dependencyManager = packages ? DependencyManager::swiftPackageManager : DependencyManager::cocoaPods;
        details.userSelectedPods = pods;

        QCOMPARE(outcomeLetters(runGeneration(details, m_shipped, *m_runner)), outcomes);
        const auto after = fixture::files(root);
        QCOMPARE(after.contains("Podfile"), podfile);
        const auto changes = lineChanges(before.value("Podfile"), after.value("Podfile"));
        QCOMPARE(changes.removed, QStringList{});
        QCOMPARE(changes.added, podfileAdded);
        const QString call = "// packages target Orbit\n// package https://github.com/onevcat/Kingfisher.git"
                             " product Kingfisher version from:8.0.0\n";
        const QString pbxproj = "Orbit.xcodeproj/project.pbxproj";
        QCOMPARE(QString::fromUtf8(after.value(pbxproj)),
                 QString::fromUtf8(before.value(pbxproj)) + (packages ? call : QString()));
    }

    // A failed XcodeGen step and the run going on past it are
    // TestProjectSetupViewModel's and TestCli::failingStep's; a destination
    // that cannot be made is TestGenerationScreen's.
    void failuresAreRecorded()
    {
        QTemporaryDir work;
        auto details = fixture::newProject(work.filePath("Projects"));
        // A project of no type takes the existing project's steps: a module
        // the template lacks, no module script.
        QTemporaryDir bundleRoot;
        QCOMPARE(QProcess::execute("cp", {"-R", m_shipped.path("SwiftUIBaseSetup"), bundleRoot.path()}), 0);
        details.projectType = ProjectType::none;
        details.doesIncludeArkana = false;
        ListItem ghost;
        ghost.title = "Ghost";
        ghost.directoryName = "Helpers/Ghost";
        details.userSelectedModules = {ghost, fixture::catalogEntry("BLE")};
        const auto existing = runGeneration(details, ResourceBundle(bundleRoot.path()), *m_runner);
        QCOMPARE(kinds(existing),
                 (QList<GenerationStepKind>{postGeneration, arkanaFiles, moduleCopy, moduleCopy, moduleTarget, moduleTarget}));
        // No post_gen.sh in this bundle, no Arkana asked for; the module that
        // was not copied is not added to the target.
        QCOMPARE(outcomeLetters(existing), "fsfdsf");
        QVERIFY(existing[2].detail.startsWith("Directory does not exist at path: "));
    }

    // A single-file module goes into its folder's group, a top-level one into
    // none. (Folder modules' groups, and hostile project paths reaching the
    // script unchanged, are existingProject()'s; XcodeGen runs in odd folders
    // in newProject().)
    void moduleCommandLine()
    {
        ProjectDetailsModel details;
        details.projectPath = "/Users/a/Work";
        details.projectName = "Shop";
        const ListItem keychain = fixture::catalogEntry("KeyChain manager", true);
        QCOMPARE(addModuleCommand("/App/AddModulesInTarget.rb", details, keychain),
                 "ruby /App/AddModulesInTarget.rb -p /Users/a/Work/Shop/Shop.xcodeproj -d "
                 "/Users/a/Work/Shop/Shop/Helpers/KeychainManager.swift -t Shop -g Shop/Helpers");
        QCOMPARE(moduleGroupPath("Module.swift"), QString());
    }

    void duplicateReplacesWithoutFollowingLinks()
    {
        QTemporaryDir work;
        const QString source = work.filePath("source");
        QVERIFY(writeFile(source + "/A.swift", "a\n"));
        QVERIFY(QFile::link("A.swift", source + "/Link.swift"));

        const QString destination = work.filePath("project/Module");
        QVERIFY(writeFile(destination + "/Old.swift", "old\n"));
        QVERIFY(duplicateDirectoryFromBundle(source, destination));
        QCOMPARE(fixture::files(destination).keys(), QStringList{"A.swift"});
        QCOMPARE(QFileInfo(destination + "/Link.swift").symLinkTarget(), destination + "/A.swift");

        // A destination that is a link to a folder elsewhere: the link goes,
        // the folder it pointed to stays whole.
        const QString elsewhere = work.filePath("elsewhere");
        QVERIFY(writeFile(elsewhere + "/Keep.swift", "keep\n"));
        const QString linked = work.filePath("project/Linked");
        QVERIFY(QFile::link(elsewhere, linked));
        QVERIFY(duplicateDirectoryFromBundle(source, linked));
        QVERIFY(!QFileInfo(linked).isSymLink());
        QCOMPARE(fixture::files(elsewhere).keys(), QStringList{"Keep.swift"});
    }
};

QTEST_GUILESS_MAIN(TestGenerationRun)
#include "TestGenerationRun.moc"
