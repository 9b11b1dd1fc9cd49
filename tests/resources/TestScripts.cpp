// The scripts of the resource bundle, run for real: static checks
// (shellcheck, bash -n, ruby -c), the Podfile that post_gen.sh writes, pod
// installation against a fake `pod`, and AddModulesInTarget.rb (its project
// edits only when the xcodeproj gem is installed). The validation scripts
// run through plinth-cli doctor (TestCli), where a tool found on the search
// path counts too; the answer they print is read in TestPreProjectSetup.

#include "tools/RunProcess.h"
#include "tools/TestFiles.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtTest>

using namespace plinth;
using namespace plinth::test;

namespace {

const QString resourcesDir = QStringLiteral(PLINTH_SOURCE_DIR "/resources");

QString script(const QString &name)
{
    return resourcesDir + QLatin1Char('/') + name;
}

QStringList scriptsNamed(const QString &suffix)
{
    QStringList files;
    for (const QString &root : {resourcesDir, QStringLiteral(PLINTH_SOURCE_DIR "/scripts"),
                                QStringLiteral(PLINTH_SOURCE_DIR "/.ci")}) {
        QDirIterator it(root, QDir::Files | QDir::Hidden | QDir::NoDotAndDotDot, QDirIterator::Subdirectories);
        while (it.hasNext()) {
            const QString file = it.next();
            if (file.endsWith(suffix) || (suffix == ".sh" && QFileInfo(file).fileName() == "run"))
                files << file;
        }
    }
    files.sort();
    return files;
}

/// The names of the `pod '...'` lines of a Podfile post_gen.sh wrote.
QStringList podLines(const QString &podfile)
{
    static const QRegularExpression pod(QStringLiteral("^\\s*pod '([^']+)'"), QRegularExpression::MultilineOption);
    QStringList names;
    for (auto it = pod.globalMatch(podfile); it.hasNext();)
        names << it.next().captured(1);
    return names;
}

/// What `ruby -c` says against `path`; empty when it parses.
QString rubySyntaxErrors(const QString &path)
{
    const ProcessResult result = runProcess("ruby", {"-c", path});
    return result.exitCode == 0 ? QString() : result.output;
}

} // namespace

class TestScripts : public QObject
{
    Q_OBJECT

    /// A project root whose name has a space and a non-ASCII letter.
    QTemporaryDir m_dir;
    QString m_root;

    QString inRoot(const QString &relative) const { return m_root + QLatin1Char('/') + relative; }

    QStringList postGenArguments(const QString &target, const QString &name, const QString &aws, const QString &arkana,
                                 const QString &pods, const QString &root = {}) const
    {
        // The project root arrives as it is, spaces and all: the generator
        // quotes it as one shell word.
        return {script("post_gen.sh"), target, name, aws, arkana, "com.example.shop", "NA",
                root.isEmpty() ? m_root : root, pods};
    }

private slots:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        m_root = m_dir.filePath("My Wörk/Shop");
    }

    // Each test starts from an empty project root.
    void init()
    {
        QDir(m_root).removeRecursively();
        QVERIFY(QDir().mkpath(m_root));
    }

    // bash -n and shellcheck over every shell script, ruby -c over the Ruby
    // scripts and the templates' Podfiles.
    void staticChecks_data()
    {
        QTest::addColumn<QString>("path");
        for (const QString &file : scriptsNamed(".sh") + scriptsNamed(".rb"))
            QTest::newRow(qPrintable(QDir(PLINTH_SOURCE_DIR).relativeFilePath(file))) << file;
        QTest::newRow("SwiftUI template Podfile") << script("SwiftUIBaseSetup/Podfile");
        QTest::newRow("UIKit template Podfile") << script("UIKitBaseSetup/Podfile");
    }
    void staticChecks()
    {
        QFETCH(QString, path);
        if (!path.endsWith(".sh") && QFileInfo(path).fileName() != "run") {
            QCOMPARE(rubySyntaxErrors(path), QString());
            return;
        }
        for (const ProcessResult &check : {runProcess("bash", {"-n", path}), runProcess("shellcheck", {path})})
            QVERIFY2(check.exitCode == 0, qPrintable(check.output));
    }

    // The pods of a fresh Podfile: each once, in the order given, AWSS3 with
    // AWS, a pod name that would break the Podfile's Ruby refused. (The rest
    // of the Podfile, the Arkana pods among it: the golden project.)
    void postGenWritesThePodfile_data()
    {
        QTest::addColumn<QString>("pods");
        QTest::addColumn<QString>("aws");
        QTest::addColumn<QStringList>("expected");
        QTest::addColumn<int>("exitCode");

        QTest::newRow("preset pods, extra blanks") << "  R.swift   SwiftLint Kingfisher " << "n"
                                                   << QStringList{"R.swift", "SwiftLint", "Kingfisher"} << 0;
        QTest::newRow("no pods") << "" << "n" << QStringList{} << 0;
        QTest::newRow("named twice, written once") << "Kingfisher AWSS3 Kingfisher" << "y"
                                                   << QStringList{"Kingfisher", "AWSS3"} << 0;
        QTest::newRow("AWS adds AWSS3") << "Navajo-Swift" << "y" << QStringList{"Navajo-Swift", "AWSS3"} << 0;
        QTest::newRow("Ruby in a pod name is refused")
            << "Bagel Evil'\nsystem('touch pwned')\n# Kingfisher" << "n" << QStringList{"Bagel", "Kingfisher"} << 2;
        QTest::newRow("subspecs kept, a broken one refused")
            << "Firebase/Analytics Firebase/Crashlytics Foo/ /Bar Foo/'x" << "n"
            << QStringList{"Firebase/Analytics", "Firebase/Crashlytics"} << 2;
        QTest::newRow("dots alone refused") << "Kingfisher . .. ... Foo/.. .swift" << "n"
                                            << QStringList{"Kingfisher", ".swift"} << 2;
    }
    void postGenWritesThePodfile()
    {
        QFETCH(QString, pods);
        QFETCH(QString, aws);
        QFETCH(QStringList, expected);
        QFETCH(int, exitCode);

        const ProcessResult result = runProcess("bash", postGenArguments("17.0", "Shop", aws, "n", pods));
        QVERIFY2(result.exitCode == exitCode, qPrintable(result.output));
        QCOMPARE(result.output.contains("refusing pod name"), exitCode == 2);
        QCOMPARE(rubySyntaxErrors(inRoot("Podfile")), QString());

        const QString podfile = readText(inRoot("Podfile"));
        QCOMPARE(podLines(podfile), expected);
        QVERIFY(!podfile.contains("system"));
        QVERIFY(!QFileInfo::exists(inRoot("pwned")));
    }

    // Scripts that refuse what they are given: status 1, a message that
    // says why, and no Podfile written. post_gen.sh refuses values that
    // would break out of the Podfile's Ruby strings.
    void scriptsRefuse_data()
    {
        QTest::addColumn<QStringList>("arguments"); // the script first
        QTest::addColumn<QString>("message");
        const auto postGen = [this](const QString &target, const QString &name, const QString &root = {}) {
            return postGenArguments(target, name, "n", "n", "Kingfisher", root);
        };
        QTest::newRow("post_gen: quote and # in the name") << postGen("17.0", "Sh'op #1")
                                                           << "post_gen: refusing project";
        QTest::newRow("post_gen: Ruby in the target") << postGen("17.0'; system('x", "Shop")
                                                      << "post_gen: refusing deployment target";
        QTest::newRow("post_gen: missing root") << postGen("17.0", "Shop", "/nonexistent/folder")
                                                << "post_gen: project root '/nonexistent/folder' is not a folder";
        const QStringList addModules{script("AddModulesInTarget.rb"), "-p", "/nonexistent/Shop.xcodeproj", "-d", "/tmp",
                                     "-t", "Shop", "-g", "Shop"};
        QTest::newRow("add modules: missing project")
            << addModules << "no Xcode project at /nonexistent/Shop.xcodeproj";
        QTest::newRow("add modules: version without exact: or from:")
            << addModules + QStringList{"--package", "https://github.com/Alamofire/Alamofire.git", "--product",
                                        "Alamofire", "--version", "5.9.1"}
            << "is neither exact:X.Y.Z nor from:X.Y.Z";
        const QStringList swiftLint{"--package", "https://github.com/SimplyDanny/SwiftLintPlugins", "--version",
                                    "from:0.57.0"};
        QTest::newRow("add modules: package with neither product nor plug-in")
            << addModules + swiftLint << "SwiftLintPlugins needs --product or --plugin";
        QTest::newRow("add modules: package with product and plug-in")
            << addModules + swiftLint + QStringList{"--product", "SwiftLint", "--plugin", "SwiftLintBuildToolPlugin"}
            << "takes --product or --plugin, not both";
        QTest::newRow("add modules: packages only, without a target")
            << QStringList{script("AddModulesInTarget.rb"), "-p", "/nonexistent/Shop.xcodeproj"} + swiftLint
                   + QStringList{"--plugin", "SwiftLintBuildToolPlugin"}
            << "missing option(s) -t\n";
        QTest::newRow("add modules: a module without its group")
            << QStringList{script("AddModulesInTarget.rb"), "-p", "/nonexistent/Shop.xcodeproj", "-t", "Shop", "-d",
                           "/tmp"} + swiftLint + QStringList{"--plugin", "SwiftLintBuildToolPlugin"}
            << "missing option(s) -g\n";
    }
    void scriptsRefuse()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QString, message);
        const ProcessResult result = runProcess(arguments.first().endsWith(".rb") ? "ruby" : "bash", arguments);
        QCOMPARE(result.exitCode, 1);
        QVERIFY2(result.output.contains(message), qPrintable(result.output));
        QVERIFY(!QFileInfo::exists(inRoot("Podfile")));
    }

    // A project without a Podfile gets a fresh one. An existing project comes
    // without a chosen deployment target: the Podfile takes the one its Xcode
    // project names, else names none. Test targets get a block only when the
    // Xcode project has them. (An existing Podfile is edited in place: the
    // editor's own tests.)
    void postGenOverAnExistingProject_data()
    {
        QTest::addColumn<QString>("target");
        QTest::addColumn<QByteArray>("pbxproj");
        QTest::addColumn<QString>("platformLine");
        QTest::addColumn<QStringList>("testTargets");
        QTest::newRow("chosen target, UI tests only")
            << "16.0"
            << QByteArray("/* Shop */ = { isa = PBXNativeTarget; name = Shop; };\n"
                          "/* ShopUITests */ = { isa = PBXNativeTarget; name = ShopUITests; };\n")
            << "platform :ios, '16.0'" << QStringList{"ShopUITests"};
        QTest::newRow("from the Xcode project")
            << "" << QByteArray("buildSettings = { IPHONEOS_DEPLOYMENT_TARGET = 15.4; name = Shop; };\n")
            << "platform :ios, '15.4'" << QStringList{};
        QTest::newRow("from nowhere") << "" << QByteArray() << "platform :ios\n"
                                      << QStringList{"ShopTests", "ShopUITests"};
    }
    void postGenOverAnExistingProject()
    {
        QFETCH(QString, target);
        QFETCH(QByteArray, pbxproj);
        QFETCH(QString, platformLine);
        QFETCH(QStringList, testTargets);
        if (!pbxproj.isEmpty())
            QVERIFY(writeFile(inRoot("Shop.xcodeproj/project.pbxproj"), pbxproj));

        const ProcessResult result = runProcess("bash", postGenArguments(target, "Shop", "n", "n", "Kingfisher"));
        QVERIFY2(result.exitCode == 0, qPrintable(result.output));
        const QString podfile = readText(inRoot("Podfile"));
        QVERIFY2(podfile.startsWith(platformLine), qPrintable(podfile));
        QCOMPARE(podfile.contains("post_install"), platformLine.contains(QLatin1Char('\'')));
        for (const QString &test : {QStringLiteral("ShopTests"), QStringLiteral("ShopUITests")})
            QCOMPARE(podfile.contains("target '" + test + "' do"), testTargets.contains(test));
        QCOMPARE(rubySyntaxErrors(inRoot("Podfile")), QString());
    }

    // A `pod` that fails makes PodInstall.sh fail and say so. (The pods
    // installed and the file header it writes, in Xcode's own date macros:
    // TestCli and TestHostileInputs, through plinth-cli with the fake `pod`.)
    void podInstallFails()
    {
        QTemporaryDir tools;
        QVERIFY(writeFile(tools.filePath("pod"), "#!/bin/sh\necho 'pod: no network' >&2\nexit 1\n", true));
        QVERIFY(QDir().mkpath(inRoot("Shop.xcodeproj")));
        QVERIFY(writeFile(inRoot("Podfile"), "platform :ios, '17.0'\n"));

        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert("PATH", tools.path() + ":/usr/bin:/bin");
        const QStringList identity{"Ada", "", "06/12/2025", "Shop", "yes", "no"};
        const ProcessResult result = runProcess("bash", QStringList{script("PodInstall.sh"), m_root} + identity, environment);
        QVERIFY2(result.exitCode != 0 && result.output.contains("Pod installation failed"), qPrintable(result.output));
    }

    // Without a Podfile the libraries are Swift packages: nothing for `pod`
    // to do, Xcode's project is what opens. A new project whose secrets
    // Arkana makes as Swift packages gets its Xcode project from XcodeGen
    // after Arkana, as project.yml names those packages.
    void podInstallWithoutPods_data()
    {
        QTest::addColumn<bool>("project");
        QTest::addColumn<QString>("packageManager");
        QTest::addColumn<QString>("output");
        QTest::newRow("project, no Podfile") << true << "" << "==> Done. Open Shop.xcodeproj in Xcode.";
        QTest::newRow("neither") << false << "" << "there is neither a Podfile nor Shop.xcodeproj";
        QTest::newRow("secrets as packages") << false << "spm"
                                             << "bundle (fake): exec arkana\n==> Making the Xcode project";
        QTest::newRow("secrets as pods: no XcodeGen") << false << "cocoapods" << "there is neither a Podfile";
    }
    void podInstallWithoutPods()
    {
        QFETCH(bool, project);
        QFETCH(QString, packageManager);
        QFETCH(QString, output);
        QTemporaryDir tools;
        QVERIFY(writeFile(tools.filePath("pod"), "#!/bin/sh\necho 'pod (fake): must not run' >&2\nexit 1\n", true));
        if (project)
            QVERIFY(QDir().mkpath(inRoot("Shop.xcodeproj")));
        if (!packageManager.isEmpty()) {
            QVERIFY(writeFile(inRoot(".arkana.yml"), "result_path: 'Dependencies'\npackage_manager: " + packageManager.toUtf8()
                                                         + "\n"));
            QVERIFY(writeFile(inRoot("project.yml"), "name: Shop\ntargets:\n  Shop:\n    type: application\n"));
        }
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert("PATH", tools.path() + ":" PLINTH_FIXTURES_DIR "/fake-toolchain:/usr/bin:/bin");
        const QStringList identity{"Ada", "", "06/12/2025", "Shop", "yes", packageManager.isEmpty() ? "no" : "yes"};
        const ProcessResult result = runProcess("bash", QStringList{script("PodInstall.sh"), m_root} + identity, environment);
        QVERIFY2(result.output.contains(output), qPrintable(result.output));
        const bool succeeds = !output.contains("neither");
        QCOMPARE(result.exitCode == 0, succeeds);
        QCOMPARE(QFileInfo::exists(inRoot("Shop.xcodeproj/project.pbxproj")), packageManager == "spm");
    }

    // With the real xcodeproj gem (skipped when this Ruby has none): files go
    // into the named groups and the target, a second run changes nothing,
    // and a wrong target fails clearly. Then packages alone: two products of
    // one repository share its reference, a product of a repository the
    // project names already (at another version) reuses that reference as it
    // is, and a plug-in becomes a target dependency with no build file; a
    // second run changes no byte.
    void addModulesToTarget()
    {
        if (runProcess("ruby", {"-e", "require 'xcodeproj'"}).exitCode != 0)
            QSKIP("the xcodeproj gem is not installed for this Ruby");

        const QString app = inRoot("Shop");
        QVERIFY(writeFile(app + "/Helpers/KeychainManager.swift", "final class KeychainManager {}\n"));
        QVERIFY(writeFile(app + "/BLE/BLECentralManager.swift", "final class BLECentralManager {}\n"));
        QVERIFY(writeFile(app + "/BLE/Peripherals/Known.json", "{}\n"));
        QVERIFY(writeFile(app + "/BLE/.DS_Store", ""));
        const QString project = inRoot("Shop.xcodeproj");
        const auto xcodeproj = [&](const QString &program, const QStringList &arguments = {}) {
            return runProcess("ruby", QStringList{"-rxcodeproj", "-e", program, project} + arguments);
        };
        const ProcessResult created = xcodeproj("p = Xcodeproj::Project.new(ARGV[0]); "
                                                "p.new_target(:application, 'Shop', :ios, '16.0'); "
                                                "p.main_group.new_group(nil, 'Shop'); p.save");
        QVERIFY2(created.exitCode == 0, qPrintable(created.output));

        const auto add = [&](const QString &module, const QString &target, const QString &group) {
            return runProcess("ruby", {script("AddModulesInTarget.rb"), "-p", project, "-d", app + QLatin1Char('/') + module, "-t",
                                       target, "-g", group});
        };
        for (const ProcessResult &result : {add("Helpers/KeychainManager.swift", "Shop", "Shop/Helpers/"),
                                            add("BLE", "Shop", "Shop/BLE")})
            QVERIFY2(result.exitCode == 0, qPrintable(result.output));
        const QString before = readText(project + "/project.pbxproj");
        for (const ProcessResult &again : {add("Helpers/KeychainManager.swift", "Shop", "Shop/Helpers"),
                                           add("BLE", "Shop", "Shop/BLE")})
            QVERIFY2(again.exitCode == 0 && again.output.contains("nothing changed"), qPrintable(again.output));
        QCOMPARE(readText(project + "/project.pbxproj"), before);

        const ProcessResult listed = xcodeproj(
            "t = Xcodeproj::Project.open(ARGV[0]).targets.first; "
            "puts t.source_build_phase.files_references.map { |r| r.hierarchy_path }.sort; "
            "puts t.resources_build_phase.files_references.map { |r| r.hierarchy_path }.sort");
        QCOMPARE(listed.output.trimmed().split(QLatin1Char('\n')),
                 (QStringList{"/Shop/BLE/BLECentralManager.swift", "/Shop/Helpers/KeychainManager.swift",
                              "/Shop/BLE/Peripherals/Known.json"}));

        const ProcessResult wrong = add("BLE", "Shopp", "Shop/BLE");
        QVERIFY2(wrong.exitCode == 1 && wrong.output.contains("no target named Shopp"), qPrintable(wrong.output));

        const QString alamofire = QStringLiteral("https://github.com/Alamofire/Alamofire");
        const QString aws = QStringLiteral("https://github.com/aws-amplify/aws-sdk-ios-spm");
        const QString swiftLint = QStringLiteral("https://github.com/SimplyDanny/SwiftLintPlugins");
        const ProcessResult referenced = xcodeproj(
            "p = Xcodeproj::Project.open(ARGV[0]); "
            "r = p.new(Xcodeproj::Project::Object::XCRemoteSwiftPackageReference); r.repositoryURL = ARGV[1]; "
            "r.requirement = { 'kind' => 'exactVersion', 'version' => '5.8.0' }; "
            "p.root_object.package_references << r; p.save",
            {alamofire});
        QVERIFY2(referenced.exitCode == 0, qPrintable(referenced.output));
        const QStringList link{script("AddModulesInTarget.rb"), "-p", project, "-t", "Shop",
                               "--package", alamofire + ".git", "--product", "Alamofire", "--version", "from:5.9.1",
                               "--package", aws, "--product", "AWSCore", "--version", "from:2.36.0",
                               "--package", swiftLint, "--plugin", "SwiftLintBuildToolPlugin",
                               "--version", "from:0.57.0",
                               "--package", aws, "--product", "AWSS3", "--version", "from:2.36.0",
                               "--local-package", "Dependencies/ShopSecrets", "--product", "ShopSecrets"};
        const ProcessResult linked = runProcess("ruby", link);
        QVERIFY2(linked.exitCode == 0
                     && linked.output.contains(
                         "5 package(s) (Alamofire, AWSCore, SwiftLintBuildToolPlugin, AWSS3, ShopSecrets)"),
                 qPrintable(linked.output));
        const QByteArray withPackages = readFile(project + "/project.pbxproj");
        const ProcessResult relinked = runProcess("ruby", link);
        QVERIFY2(relinked.exitCode == 0
                     && relinked.output.contains("Shop links every package already; nothing changed."),
                 qPrintable(relinked.output));
        QCOMPARE(readFile(project + "/project.pbxproj"), withPackages);

        // Each package reference, then the products the Frameworks phase
        // builds, the product dependencies with their reference's place in
        // the list and the target dependencies.
        const ProcessResult graph = xcodeproj(
            "p = Xcodeproj::Project.open(ARGV[0]); t = p.targets.first; refs = p.root_object.package_references; "
            "puts refs.map { |r| r.respond_to?(:repositoryURL) ? ([r.repositoryURL] + r.requirement.values).join(' ') "
            ": r.relative_path }; "
            "puts t.frameworks_build_phase.files.map { |f| f.product_ref&.product_name }.compact.join(' '); "
            "puts t.package_product_dependencies.map { |d| \"#{d.product_name} #{refs.index(d.package)}\" }; "
            "puts t.dependencies.map { |d| \"#{d.product_ref.product_name} #{refs.index(d.product_ref.package)}\" }");
        QVERIFY2(graph.exitCode == 0, qPrintable(graph.output));
        QCOMPARE(graph.output.trimmed().split(QLatin1Char('\n')),
                 (QStringList{alamofire + " exactVersion 5.8.0", aws + " upToNextMajorVersion 2.36.0",
                              swiftLint + " upToNextMajorVersion 0.57.0", "Dependencies/ShopSecrets",
                              "Alamofire AWSCore AWSS3 ShopSecrets", "Alamofire 0", "AWSCore 1", "AWSS3 1",
                              "ShopSecrets ", "plugin:SwiftLintBuildToolPlugin 2"}));
    }
};

QTEST_GUILESS_MAIN(TestScripts)
#include "TestScripts.moc"
