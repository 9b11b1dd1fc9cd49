#include "app/base/DebugConsole.h"
#include "app/base/ResourceBundle.h"
#include "catalogs/ProjectUIDetection.h"
#include "generation/GenerationFixture.h"
#include "generation/GenerationRun.h"
#include "generation/ModuleInstallation.h"
#include "generation/SecretsMerge.h"
#include "tools/RunProcess.h"
#include "tools/TestFiles.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>
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

QList<Outcome> outcomes(const QList<GenerationStep> &steps)
{
    QList<Outcome> list;
    for (const GenerationStep &step : steps)
        list << step.outcome;
    return list;
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

/// The identifiers of a Swift text, in order (words of strings and comments
/// too).
QStringList identifiers(const QByteArray &text)
{
    static const QRegularExpression identifier(QStringLiteral("[A-Za-z_][A-Za-z0-9_]*"));
    QStringList found;
    for (auto match = identifier.globalMatch(QString::fromUtf8(text)); match.hasNext();)
        found << match.next().captured();
    return found;
}

/// The file paths that the fake XcodeGen listed in the project file.
QStringList projectFileEntries(const QByteArray &pbxproj)
{
    QStringList entries;
    static const QRegularExpression entry(QStringLiteral("^\\t\\t\"(.+)\",$"), QRegularExpression::MultilineOption);
    auto match = entry.globalMatch(QString::fromUtf8(pbxproj));
    while (match.hasNext())
        entries << match.next().captured(1);
    return entries;
}

} // namespace

class TestGenerationRun : public QObject
{
    Q_OBJECT

    ResourceBundle m_shipped{fixture::shippedBundle()};
    std::shared_ptr<CommandRunner> m_runner = fixture::fakeRunner();

private slots:
    // A whole new project from each shipped template, for several sets of
    // choices; every Swift file of it parses and every data file reads back.
    void newProject_data()
    {
        QTest::addColumn<bool>("uiKit");
        QTest::addColumn<bool>("aws");
        QTest::addColumn<bool>("ble");
        QTest::addColumn<QString>("folder");
        QTest::addColumn<QStringList>("variants");
        QTest::newRow("SwiftUI, AWS S3 and BLE, odd folder")
            << false << true << true << "My 'Apps' $HOME Über" << QStringList{"Development", "UAT", "Production"};
        QTest::newRow("UIKit, BLE, production first, custom variant, spaced folder")
            << true << false << true << "Work space" << QStringList{"Production", "UAT", "QA"};
        QTest::newRow("UIKit, AWS S3") << true << true << false << "Apps" << QStringList{"Development", "UAT"};
    }

    void newProject()
    {
        QFETCH(bool, uiKit);
        QFETCH(bool, aws);
        QFETCH(bool, ble);
        QFETCH(QString, folder);
        QFETCH(QStringList, variants);
        QTemporaryDir work;
        auto details = fixture::newProject(work.filePath(folder), "Orbit", uiKit);
        details.doesIncludeAWS = aws;
        details.doesIncludeBLE = ble;
        details.developmentSchemeName = "UAT";
        details.configVariant.clear();
        for (const QString &label : variants)
            details.configVariant.append({label, true});
        const QString templateName = uiKit ? "UIKitBaseSetup" : "SwiftUIBaseSetup";

        const auto steps = runGeneration(details, m_shipped, *m_runner);
        QCOMPARE(kinds(steps), newProjectSteps);
        QVERIFY2(failures(steps).isEmpty(), qPrintable(failures(steps)));

        const QString root = details.projectRoot();
        const auto tree = fixture::files(root);
        for (auto file = tree.begin(); file != tree.end(); ++file) {
            QVERIFY2(!file.key().contains(templateName), qPrintable(file.key()));
            QVERIFY2(!file.value().contains(templateName.toUtf8()), qPrintable(file.key() + " holds the template name"));
        }
        QVERIFY(!tree.contains("Podfile.lock"));
        QCOMPARE(tree.contains("Orbit/AWSS3/S3TransferService.swift"), aws);
        QCOMPARE(QFileInfo(root + "/Orbit/BLE").isDir(), ble);

        // XcodeGen's project, rewritten and naming only files that exist.
        const QByteArray pbxproj = tree.value("Orbit.xcodeproj/project.pbxproj");
        QVERIFY(pbxproj.contains("{ name = OrbitTests; }"));
        const QStringList entries = projectFileEntries(pbxproj);
        QVERIFY(entries.size() > 10);
        for (const QString &entry : entries)
            QVERIFY2(tree.contains(entry), qPrintable(entry));
        QVERIFY(entries.contains(uiKit ? "Orbit/AppDelegate.swift" : "Orbit/OrbitApp.swift"));

        // The Podfile's form is TestScripts'; here the choices reach it.
        const QByteArray podfile = tree.value("Podfile");
        QVERIFY(podfile.contains("  pod 'SwiftLint'\n  pod 'R.swift'\n"));
        QCOMPARE(podfile.contains("pod 'AWSS3'"), aws);
        QVERIFY(podfile.contains("pod 'OrbitSecrets', :path => 'Dependencies/OrbitSecrets'"));

        // The secrets rewrites reached the shipped template's files (the
        // golden project pins their text).
        const QByteArray secrets = tree.value("Orbit/AppSecrets.swift");
        QVERIFY(secrets.contains("import OrbitSecrets\n") && secrets.contains("Secrets.UAT()"));
        QVERIFY(!secrets.contains("Secrets.Staging()"));
        QVERIFY(tree.value("Orbit/SceneDelegate.swift").contains("#if UAT"));

        // (TestTemplates says so when the Swift syntax checker was not built.)
        for (const test::ProcessResult &check :
             {test::runProcess(QStringLiteral(PLINTH_SWIFT_SYNTAX_CHECK), {root}),
              test::runProcess(QStringLiteral(PLINTH_PYTHON), {QStringLiteral(PLINTH_SOURCE_DIR "/tests/tools/check_data_files.py"), root})})
            QVERIFY2(check.exitCode == 0 && !check.output.contains(QStringLiteral("checked 0 ")), qPrintable(check.output));
    }

    // A project made by the new-project run, reopened as an existing one.
    void existingProject()
    {
        QTemporaryDir work;
        auto details = fixture::newProject(work.filePath("Work 'n' $stuff ü"), "Shop");
        details.doesIncludeArkana = false;
        QVERIFY(failures(runGeneration(details, m_shipped, *m_runner)).isEmpty());
        const QString root = details.projectRoot();

        // The user's own work: a file, a changed Gemfile with secrets of
        // their own in .env, and a stale copy of a module installed before.
        QVERIFY(writeFile(root + "/Shop/Feature/Checkout.swift", "// SwiftUIBaseSetup Shop Tests\n"));
        QVERIFY(writeFile(root + "/Gemfile", "source 'https://rubygems.org'\ngem 'fastlane'\n"));
        QVERIFY(writeFile(root + "/.env", "export APIKey=my-real-key\n"));
        QVERIFY(writeFile(root + "/Shop/Helpers/Keychain/Stale.swift", "old\n"));
        const auto before = fixture::files(root);

        details.projectType = ProjectType::existing;
        details.doesIncludeArkana = true;
        details.userSelectedModules = {fixture::catalogEntry("KeyChain manager"), fixture::catalogEntry("Network layer"),
                                       fixture::catalogEntry("Adaptive layout")};
        details.userSelectedPods = {"SwiftLint"};

        const auto steps = runGeneration(details, m_shipped, *m_runner);
        QCOMPARE(kinds(steps), (QList<GenerationStepKind>{postGeneration, arkanaFiles, moduleCopy, moduleCopy, moduleCopy,
                                                          moduleTarget, moduleTarget, moduleTarget}));
        // The project's own Keychain folder is left alone, and the module is
        // neither copied over it nor added to the target.
        const auto keychainFailedOnly = [&](const QList<GenerationStep> &run) {
            return run[2].subject == "KeyChain manager" && run[2].outcome == Outcome::failed
                   && run[2].detail.startsWith(root + "/Shop/Helpers/Keychain already exists and differs")
                   && run[5].outcome == Outcome::skipped && failures(run).count('\n') == 1;
        };
        QVERIFY2(keychainFailedOnly(steps), qPrintable(failures(steps)));

        const auto after = fixture::files(root);
        const QString source = m_shipped.path("SwiftUIBaseSetup") + "/SwiftUIBaseSetup/";
        const auto sameModule = [&](const QString &directory) {
            return fixture::files(root + "/Shop/" + directory) == fixture::files(source + directory);
        };
        const auto keychain = [](QMap<QString, QByteArray> files) {
            files.removeIf([](const auto &file) { return !file.key().startsWith("Shop/Helpers/Keychain/"); });
            return files;
        };
        QCOMPARE(keychain(after), keychain(before));
        QVERIFY(sameModule("NetworkLayer"));

        // The script ran once per module, in order, with the exact values.
        const QString pbxproj = QString::fromUtf8(after.value("Shop.xcodeproj/project.pbxproj"));
        QStringList calls;
        for (const QString &line : pbxproj.split(QLatin1Char('\n'))) {
            if (line.startsWith("// module "))
                calls << line;
        }
        QStringList expectedCalls;
        for (const char *module : {"NetworkLayer", "Helpers/AdaptiveLayout"})
            expectedCalls << QStringLiteral("// module %1/Shop/%2 target Shop group Shop/%2").arg(root, module);
        QCOMPARE(calls, expectedCalls);

        // Arkana: the project's own files gain what they lack (the team
        // project's test has the exact lines), no copy beside them.
        QVERIFY(after.value(".arkana.yml").contains("import_name: 'ShopSecrets'"));
        QCOMPARE(after.value("Gemfile"), before.value("Gemfile") + "gem \"arkana\"\n");
        QVERIFY(after.value(".env").startsWith(before.value(".env")));
        QVERIFY(!after.contains("Gemfile.backup") && !after.contains(".env.backup"));

        // Everything else is as it was, byte for byte.
        const auto untouched = [](QMap<QString, QByteArray> files) {
            files.removeIf([](const auto &file) {
                for (const char *prefix : {"Shop/Helpers/AdaptiveLayout/", "Shop/NetworkLayer/", "Podfile",
                                           "Shop.xcodeproj/project.pbxproj", "Gemfile", ".env", ".arkana.yml"}) {
                    if (file.key().startsWith(QLatin1String(prefix)))
                        return true;
                }
                return false;
            });
            return files;
        };
        QCOMPARE(untouched(after).keys(), untouched(before).keys());
        QCOMPARE(untouched(after), untouched(before));

        // Once more: the unchanged copies of the first run replaced, the
        // script run again for them; the project's own folder still alone.
        const auto again = runGeneration(details, m_shipped, *m_runner);
        QVERIFY2(keychainFailedOnly(again), qPrintable(failures(again)));
        QCOMPARE(QString::fromUtf8(fixture::files(root).value("Shop.xcodeproj/project.pbxproj")).count("// module "), 4);
        QCOMPARE(keychain(fixture::files(root)), keychain(before));
        QVERIFY(!QFileInfo::exists(root + "/PlinthBackups"));
        // No new file at all, and the Arkana files and the Podfile as the
        // first run left them.
        QCOMPARE(fixture::files(root).keys(), after.keys());
        for (const char *file : {"Gemfile", ".env", ".arkana.yml", "Podfile"})
            QCOMPARE(fixture::files(root).value(file), after.value(file));
    }

    // A project as a team keeps it, not made by Plinth (an abstract target,
    // a helper method, pods over two lines and tab-indented, other targets,
    // its own file header and secrets): the network layer and BLE with
    // Arkana, the Podfile's pods kept but SnapKit, Kingfisher added. Every
    // file keeps each of its lines; a second run changes nothing.
    void teamProject_data()
    {
        QTest::addColumn<QByteArray>("ownArkana"); // the project's .arkana.yml; empty: none
        QTest::addColumn<QString>("podfileTarget"); // the app target's block in the Podfile
        QTest::addColumn<QStringList>("environments");
        QTest::addColumn<QStringList>("podfileAdded"); // empty: the Podfile stays as it is
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
        QTest::newRow("environments from the build configurations")
            << QByteArray() << "Orbit" << QStringList{"Debug", "Staging", "Release"}
            << QStringList{"    pod 'Kingfisher'", "    pod 'OrbitSecrets', :path => 'Dependencies/OrbitSecrets'",
                           "    pod 'OrbitSecretsInterfaces', :path => 'Dependencies/OrbitSecretsInterfaces'"}
            << QStringList{} << templateKeys;
        QTest::newRow("own .arkana.yml")
            << QByteArray("# Secrets of the Orbit apps: bundle exec arkana\n"
                          "import_name: 'OrbitKeys'\nnamespace: 'Keys'\npod_name: 'OrbitKeys'\nresult_path: 'Keys'\n"
                          "package_manager: cocoapods\n\nenvironments:\n  - Debug\n  - Release\n"
                          "global_secrets:\n  - MapsAPIKey # Google Maps\nenvironment_secrets:\n  - BackendToken\n")
            << "Orbit" << QStringList{"Debug", "Release"}
            << QStringList{"    pod 'Kingfisher'", "    pod 'OrbitKeys', :path => 'Keys/OrbitKeys'",
                           "    pod 'OrbitKeysInterfaces', :path => 'Keys/OrbitKeysInterfaces'"}
            << QStringList{"  - APIKey", "  - APIClientSecret", "  - AWSIdentityPoolID"}
            << QStringList{envComment, "export MapsAPIKey=", "export APIKey=", "export BackendTokenDebug=",
                           "export BackendTokenRelease=", "export APIClientSecretDebug=", "export APIClientSecretRelease=",
                           "export AWSIdentityPoolIDDebug=", "export AWSIdentityPoolIDRelease="};
        QTest::newRow("no block for the app target in the Podfile")
            << QByteArray() << "OrbitApp" << QStringList{"Debug", "Staging", "Release"} << QStringList{} << QStringList{}
            << templateKeys;
    }

    void teamProject()
    {
        QFETCH(QByteArray, ownArkana);
        QFETCH(QString, podfileTarget);
        QFETCH(QStringList, environments);
        QFETCH(QStringList, podfileAdded);
        QFETCH(QStringList, arkanaAdded);
        QFETCH(QStringList, envAdded);
        QTemporaryDir work;
        const QString root = work.filePath("Team's Apps/orbit-ios");
        QVERIFY(QDir().mkpath(work.filePath("Team's Apps")));
        QCOMPARE(QProcess::execute("cp", {"-R", PLINTH_FIXTURES_DIR "/existing/orbit-ios", root}), 0);
        if (!ownArkana.isEmpty())
            QVERIFY(writeFile(root + "/.arkana.yml", ownArkana));
        if (podfileTarget != "Orbit") {
            QByteArray podfile = test::readFile(root + "/Podfile");
            QVERIFY(podfile.contains("  target 'Orbit' do\n"));
            QVERIFY(writeFile(root + "/Podfile", podfile.replace("  target 'Orbit' do\n", "  target '" + podfileTarget.toUtf8() + "' do\n")));
        }
        const auto before = fixture::files(root);

        // As the home, module and pod screens fill the description.
        ProjectDetailsModel details;
        details.projectType = ProjectType::existing;
        details.projectName = "Orbit";
        details.projectFolder = root;
        details.projectPath = work.filePath("Team's Apps");
        QCOMPARE(detectProjectUI(details), std::optional<QString>(text(key::uiKit)));
        details.selectedUI = text(key::uiKit);
        QCOMPARE(existingProjectEnvironments(root, details.projectName), environments);
        for (const QString &environment : environments)
            details.configVariant.append({environment, true});
        details.developmentSchemeName = environments.first();
        details.doesIncludeArkana = true;
        details.userSelectedModules = {fixture::catalogEntry("Network layer", true), fixture::catalogEntry("BLE", true)};
        details.userSelectedPods = {"SwiftLint", "Alamofire", "Lottie", "Firebase/Analytics", "OrbitDesign", "Kingfisher"};
        details.removedPods = {"SnapKit"};

        const auto steps = runGeneration(details, m_shipped, *m_runner);
        QCOMPARE(kinds(steps), (QList<GenerationStepKind>{postGeneration, arkanaFiles, moduleCopy, moduleCopy, moduleTarget,
                                                          moduleTarget}));
        // A Podfile without the app target's block fails its step alone,
        // saying why.
        const bool podfileEdited = !podfileAdded.isEmpty();
        QList<Outcome> expectedOutcomes(steps.size(), Outcome::done);
        if (!podfileEdited)
            expectedOutcomes[0] = Outcome::failed;
        QVERIFY2(outcomes(steps) == expectedOutcomes, qPrintable(failures(steps)));
        const auto after = fixture::files(root);
        if (!podfileEdited) {
            QCOMPARE(after.value("Podfile"), before.value("Podfile"));
            QVERIFY2(steps[0].detail.contains("the Podfile has no block for target 'Orbit' (its targets: OrbitApp, "
                                              "OrbitTests, OrbitAdmin, OrbitWidget)"),
                     qPrintable(steps[0].detail));
        }

        // Only the modules and (without one of the project's own) .arkana.yml
        // are new; the other files that changed are these five.
        const QString source = m_shipped.path("UIKitBaseSetup") + "/UIKitBaseSetup/";
        auto expectedKeys = before.keys();
        for (const char *module : {"Network", "BLE"}) {
            const auto files = fixture::files(source + module);
            QVERIFY(!files.isEmpty());
            for (auto file = files.begin(); file != files.end(); ++file) {
                const QString path = QStringLiteral("Orbit/%1/").arg(module) + file.key();
                QCOMPARE(after.value(path), file.value());
                expectedKeys << path;
            }
        }
        if (ownArkana.isEmpty())
            expectedKeys << ".arkana.yml";
        std::sort(expectedKeys.begin(), expectedKeys.end());
        QCOMPARE(after.keys(), expectedKeys);
        const QStringList edited{"Podfile", "Gemfile", ".env", ".arkana.yml", "Orbit.xcodeproj/project.pbxproj"};
        for (auto file = before.begin(); file != before.end(); ++file) {
            if (!edited.contains(file.key()))
                QVERIFY2(after.value(file.key()) == file.value(), qPrintable(file.key()));
        }
        QVERIFY(after.value("Orbit.xcodeproj/xcshareddata/IDETemplateMacros.plist").contains("Orbit Labs GmbH"));

        // Each edited file: every line it had, in order, and only the
        // additions.
        const auto changes = [&](const char *name) { return lineChanges(before.value(name), after.value(name)); };
        QCOMPARE(changes("Podfile").removed,
                 podfileEdited ? QStringList{"    pod 'SnapKit', '5.7.1' # layout DSL"} : QStringList{});
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
        } else {
            const QByteArray arkana = after.value(".arkana.yml");
            QVERIFY(arkana.contains("pod_name: 'OrbitSecrets'\n") && arkana.contains("environments:\n  - Debug\n  - Staging\n  - Release\n"));
        }

        // The Podfile is Ruby still, and the pods are where they belong: the
        // new ones in Orbit's own block (the widget keeps its SnapKit).
        const QString podfile = root + "/Podfile";
        const auto syntax = test::runProcess("ruby", {"-c", podfile});
        QVERIFY2(syntax.exitCode == 0, qPrintable(syntax.output));
        if (podfileEdited) {
            const auto listing = test::runProcess("ruby", {m_shipped.path("PodfileEditor.rb"), "list", podfile, "Orbit"});
            QStringList own;
            for (const QString &line : listing.output.split('\n')) {
                if (line.contains("\town\t"))
                    own << line.section('\t', 0, 0);
            }
            const QString secrets = ownArkana.isEmpty() ? "OrbitSecrets" : "OrbitKeys";
            QCOMPARE(own, (QStringList{"Alamofire", "Lottie", "Firebase/Analytics", "OrbitDesign", "Kingfisher", secrets,
                                       secrets + "Interfaces"}));
        }

        // The modules reached the target, the network layer with its two
        // packages, in the order chosen.
        QString calls;
        for (const ListItem &module : details.userSelectedModules) {
            calls += QStringLiteral("// module %1/Orbit/%2 target Orbit group Orbit/%2\n").arg(root, module.directoryName);
            for (const SwiftPackage &package : module.requiredPackages)
                calls += QStringLiteral("// package %1 product %2 version %3\n").arg(package.url, package.product, package.requirement);
        }
        QCOMPARE(calls.count("// package "), 2);
        QVERIFY(calls.contains(" product Alamofire version ") && calls.contains(" product Logging version "));
        const QByteArray pbxproj = before.value("Orbit.xcodeproj/project.pbxproj");
        QCOMPARE(QString::fromUtf8(after.value("Orbit.xcodeproj/project.pbxproj")), QString::fromUtf8(pbxproj) + calls);

        // Once more: no file changes (but for the fake script's record of the
        // calls) and none is added.
        const auto again = runGeneration(details, m_shipped, *m_runner);
        QCOMPARE(outcomes(again), outcomes(steps));
        auto expected = after;
        expected["Orbit.xcodeproj/project.pbxproj"] += calls.toUtf8();
        const auto twice = fixture::files(root);
        QCOMPARE(twice.keys(), expected.keys());
        for (auto file = expected.begin(); file != expected.end(); ++file)
            QVERIFY2(twice.value(file.key()) == file.value(), qPrintable(file.key()));
    }

    // Names that a YAML reader, Swift or the walk could take for something
    // else, through whole runs: project.yml and .arkana.yml read back the
    // names as given, every Swift file parses, the template's test sources
    // keep each identifier but the renamed ones, and a destination named
    // after the template is left as it is.
    void unusualNames_data()
    {
        QTest::addColumn<bool>("existing");
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("uiKit");
        QTest::addColumn<QString>("folder");
        QTest::addColumn<QStringList>("variants");
        QTest::addColumn<QString>("module"); // the Swift module name of the secrets pods, less "Secrets"
        const QStringList variants{"QA_1", "Prod", "_Dev"};
        QTest::newRow("App in a folder named after the template")
            << false << "App" << false << "SwiftUIBaseSetup work" << QStringList{"Development", "UAT"} << "App";
        QTest::newRow("Keychain, a name the template's own tests start with")
            << false << "Keychain" << true << "UIKitBaseSetup work" << variants << "Keychain";
        QTest::newRow("XCTestKit") << false << "XCTestKit" << false << "Apps" << QStringList{"Prod"} << "XCTestKit";
        QTest::newRow("Orbit") << false << "Orbit" << true << "Apps" << variants << "Orbit";
        QTest::newRow("existing O'Brien with the team's Podfile")
            << true << "O'Brien" << true << "Team #1: O'Brien's apps" << variants << "O_Brien";
        QTest::newRow("existing 3D Ünïcode without a Podfile")
            << true << "3D Ünïcode" << true << " Über: #2" << QStringList{"Prod"} << "_D__n_code";
    }

    void unusualNames()
    {
        QFETCH(bool, existing);
        QFETCH(QString, name);
        QFETCH(bool, uiKit);
        QFETCH(QString, folder);
        QFETCH(QStringList, variants);
        QFETCH(QString, module);
        QTemporaryDir work;
        auto details = fixture::newProject(work.filePath(folder), name, uiKit);
        details.configVariant.clear();
        for (const QString &label : variants)
            details.configVariant.append({label, true});
        details.developmentSchemeName = variants.last();
        const QString root = details.projectRoot();
        if (existing) {
            // The team project, its Xcode project and app folder named so;
            // the spaced name's has no Podfile (post_gen.sh writes one).
            QVERIFY(QDir().mkpath(details.projectPath));
            QCOMPARE(QProcess::execute("cp", {"-R", PLINTH_FIXTURES_DIR "/existing/orbit-ios", root}), 0);
            QVERIFY(QDir(root).rename("Orbit.xcodeproj", name + ".xcodeproj") && QDir(root).rename("Orbit", name));
            QByteArray podfile = test::readFile(root + "/Podfile");
            QVERIFY(podfile.contains("  target 'Orbit' do\n"));
            QVERIFY(name.contains(' ') ? QFile::remove(root + "/Podfile")
                                       : writeFile(root + "/Podfile", podfile.replace("  target 'Orbit' do\n",
                                                                                     "  target \"" + name.toUtf8() + "\" do\n")));
            details.projectType = ProjectType::existing;
            details.userSelectedModules = {fixture::catalogEntry("Network layer", true)};
            details.userSelectedPods = {"SwiftLint"};
        }
        const auto steps = runGeneration(details, m_shipped, *m_runner);
        QVERIFY2(!steps.isEmpty() && failures(steps).isEmpty(), qPrintable(failures(steps)));

        const QJsonObject arkana = parsedYaml(root + "/.arkana.yml");
        QCOMPARE(arkana["import_name"].toString(), module + "Secrets");
        QCOMPARE(arkana["pod_name"].toString(), module + "Secrets");
        QCOMPARE(arkana["environments"].toVariant().toStringList(), variants);
        const auto listing = test::runProcess("ruby", {m_shipped.path("PodfileEditor.rb"), "list", root + "/Podfile", name});
        QVERIFY2(listing.output.contains(module + "Secrets\town\tpod '" + module + "Secrets', :path => 'Dependencies/"),
                 qPrintable(listing.output));
        for (const test::ProcessResult &check :
             {test::runProcess(QStringLiteral(PLINTH_SWIFT_SYNTAX_CHECK), {root}),
              test::runProcess(QStringLiteral(PLINTH_PYTHON), {QStringLiteral(PLINTH_SOURCE_DIR "/tests/tools/check_data_files.py"), root})})
            QVERIFY2(check.exitCode == 0, qPrintable(check.output));
        if (existing)
            return;

        const auto summary = test::runProcess(QStringLiteral(PLINTH_PYTHON),
                                              {QStringLiteral(PLINTH_SOURCE_DIR "/tests/tools/yaml_summary.py"), root + "/project.yml"});
        const QJsonObject project = QJsonDocument::fromJson(summary.output.toUtf8()).object();
        QCOMPARE(project["name"].toString(), name);
        QCOMPARE(project["configVariants"].toVariant().toStringList(), variants);
        const QJsonObject targets = project["targets"].toObject();
        QCOMPARE(targets.keys(), (QStringList{name, name + "Tests", name + "UITests"}));
        for (const QString &target : targets.keys())
            QCOMPARE(targets[target].toObject()["sources"].toString(), root + '/' + target);

        // The template's test sources, file by file: the same identifiers
        // but where the template's name stood. A file whose new name the
        // template gives another file is named like its class.
        const QString templateName = uiKit ? "UIKitBaseSetup" : "SwiftUIBaseSetup";
        const auto tree = fixture::files(root);
        for (const QString &suffix : {QStringLiteral("Tests"), QStringLiteral("UITests")}) {
            const auto sources = fixture::files(m_shipped.path(templateName) + '/' + templateName + suffix);
            QVERIFY(!sources.isEmpty());
            for (auto source = sources.begin(); source != sources.end(); ++source) {
                QString renamed = QString(source.key()).replace(templateName, name);
                if (renamed != source.key() && sources.contains(renamed))
                    renamed = QString(source.key()).replace(templateName, name + "Tests");
                const QStringList before = identifiers(source.value());
                const QStringList after = identifiers(tree.value(name + suffix + '/' + renamed));
                QCOMPARE(after.size(), before.size());
                for (qsizetype i = 0; i < before.size(); ++i) {
                    const QString &was = before.at(i);
                    QVERIFY2(after.at(i) == QString(was).replace(templateName, name)
                                 || after.at(i) == QString(was).replace(templateName, name + "Tests"),
                             qPrintable(renamed + ": " + was + " became " + after.at(i)));
                }
            }
        }
        for (const QString &entry : projectFileEntries(tree.value(name + ".xcodeproj/project.pbxproj")))
            QVERIFY2(tree.contains(entry), qPrintable(entry));
    }

    void failuresAreRecorded()
    {
        using enum GenerationStep::Outcome;
        QTemporaryDir work;
        // No XcodeGen: that step fails with its output, the run goes on. (A
        // destination that cannot be made fails the first step and skips the
        // rest: TestGenerationScreen shows it.)
        auto runner = fixture::fakeRunner();
        runner->setToolchainSearchPath("/usr/bin:/bin");
        auto details = fixture::newProject(work.filePath("Projects"));
        ConsoleCapture console;
        const auto steps = runGeneration(details, m_shipped, *runner);
        QCOMPARE(kinds(steps), newProjectSteps);
        QCOMPARE(outcomes(steps), (QList<Outcome>{done, done, done, done, failed, done, done}));
        QVERIFY(steps[4].detail.startsWith("Output: ") && steps[4].detail.contains("xcodegen"));
        QCOMPARE(console.lines().filter("Output: ").size(), 1);

        // Existing project: a module the template lacks, no module script.
        QTemporaryDir bundleRoot;
        QCOMPARE(QProcess::execute("cp", {"-R", m_shipped.path("SwiftUIBaseSetup"), bundleRoot.path()}), 0);
        details.projectType = ProjectType::existing;
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
        QCOMPARE(outcomes(existing), (QList<Outcome>{failed, skipped, failed, done, skipped, failed}));
        QVERIFY(existing[2].detail.startsWith("Directory does not exist at path: "));

        // No template at all: the Arkana step and every module fail.
        details.doesIncludeArkana = true;
        const auto bare = runGeneration(details, ResourceBundle(work.filePath("nowhere")), *m_runner);
        QCOMPARE(bare[1].kind, arkanaFiles);
        QCOMPARE(bare[1].outcome, failed);
        QCOMPARE(bare[2].outcome, failed);
        QVERIFY(bare[2].detail.contains("SwiftUIBaseSetup is missing"));
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
        QCOMPARE(moduleDestinationPath(details, keychain.directoryName), "/Users/a/Work/Shop/Shop/Helpers/KeychainManager.swift");
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

        QString error;
        QVERIFY(!duplicateDirectoryFromBundle(work.filePath("missing"), destination, &error));
        QVERIFY(error.contains("missing"));
    }
};

QTEST_GUILESS_MAIN(TestGenerationRun)
#include "TestGenerationRun.moc"
