// The scripts of the resource bundle, run for real: static checks
// (shellcheck, bash -n, ruby -c), the Podfile that post_gen.sh writes, pod
// installation against a fake `pod`, the validation scripts against fake
// tools, and AddModulesInTarget.rb (its project edits only when the
// xcodeproj gem is installed).

#include "catalogs/PodfileReader.h"
#include "tools/RunProcess.h"
#include "tools/TestFiles.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

using namespace plinth;
using namespace plinth::test;

namespace {

const QString resourcesDir = QStringLiteral(PLINTH_SOURCE_DIR "/resources");

QString readText(const QString &path)
{
    return QString::fromUtf8(readFile(path));
}

QString script(const char *name)
{
    return resourcesDir + QLatin1Char('/') + QString::fromLatin1(name);
}

QStringList scriptsNamed(const QString &suffix)
{
    QStringList files;
    for (const QString &root : {resourcesDir, QStringLiteral(PLINTH_SOURCE_DIR "/scripts"),
                                QStringLiteral(PLINTH_SOURCE_DIR "/.ci")}) {
        QDirIterator it(root, QDir::Files | QDir::Hidden | QDir::NoDotAndDotDot, QDirIterator::Subdirectories);
        while (it.hasNext()) {
            const QString file = it.next();
            if (file.endsWith(suffix) || (suffix == QStringLiteral(".sh") && QFileInfo(file).fileName() == QStringLiteral("run")))
                files << file;
        }
    }
    files.sort();
    return files;
}

/// The environment validation scripts run in: LANG and PATH only.
QProcessEnvironment scriptEnvironment(const QString &path)
{
    QProcessEnvironment environment;
    environment.insert(QStringLiteral("LANG"), QStringLiteral("en_US.UTF-8"));
    environment.insert(QStringLiteral("PATH"), path);
    return environment;
}

} // namespace

class TestScripts : public QObject
{
    Q_OBJECT

    /// A project root whose name has a space and a non-ASCII letter.
    QTemporaryDir m_dir;
    QString m_root;

private slots:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        m_root = m_dir.filePath(QStringLiteral("My Wörk/Shop"));
        QVERIFY(QDir().mkpath(m_root));
    }

    void init()
    {
        for (const char *file : {"Podfile", "Podfile.backup"})
            QFile::remove(m_root + QLatin1Char('/') + QString::fromLatin1(file));
        QDir(m_root + QStringLiteral("/Shop.xcodeproj")).removeRecursively();
        QDir(m_root + QStringLiteral("/Pods")).removeRecursively();
    }

    void shellScriptsPassShellcheck_data()
    {
        QTest::addColumn<QString>("path");
        for (const QString &file : scriptsNamed(QStringLiteral(".sh")))
            QTest::newRow(qPrintable(QDir(QStringLiteral(PLINTH_SOURCE_DIR)).relativeFilePath(file))) << file;
    }
    void shellScriptsPassShellcheck()
    {
        QFETCH(QString, path);
        const ProcessResult syntax = runProcess(QStringLiteral("bash"), {QStringLiteral("-n"), path});
        QVERIFY2(syntax.exitCode == 0, qPrintable(syntax.output));
        const ProcessResult lint = runProcess(QStringLiteral("shellcheck"), {path});
        QVERIFY2(lint.exitCode == 0, qPrintable(lint.output));
    }

    void rubyScriptsParse_data()
    {
        QTest::addColumn<QString>("path");
        for (const QString &file : scriptsNamed(QStringLiteral(".rb")))
            QTest::newRow(qPrintable(QFileInfo(file).fileName())) << file;
        QTest::newRow("SwiftUI template Podfile") << resourcesDir + QStringLiteral("/SwiftUIBaseSetup/Podfile");
        QTest::newRow("UIKit template Podfile") << resourcesDir + QStringLiteral("/UIKitBaseSetup/Podfile");
    }
    void rubyScriptsParse()
    {
        QFETCH(QString, path);
        const ProcessResult result = runProcess(QStringLiteral("ruby"), {QStringLiteral("-c"), path});
        QVERIFY2(result.exitCode == 0, qPrintable(result.output));
    }

    void postGenWritesThePodfile_data()
    {
        QTest::addColumn<QString>("pods");
        QTest::addColumn<QString>("aws");
        QTest::addColumn<QString>("arkana");
        QTest::addColumn<QStringList>("expected");
        QTest::addColumn<int>("exitCode");

        QTest::newRow("preset pods") << "R.swift SwiftLint Kingfisher" << "n" << "n"
                                     << QStringList{"R.swift", "SwiftLint", "Kingfisher"} << 0;
        QTest::newRow("no pods") << "" << "n" << "n" << QStringList{} << 0;
        QTest::newRow("named twice, written once") << "Kingfisher AWSS3 Kingfisher" << "y" << "n"
                                                   << QStringList{"Kingfisher", "AWSS3"} << 0;
        QTest::newRow("AWS adds AWSS3") << "Navajo-Swift" << "y" << "n" << QStringList{"Navajo-Swift", "AWSS3"} << 0;
        QTest::newRow("Arkana adds the secrets pods")
            << "Sentry" << "n" << "y" << QStringList{"Sentry", "ShopSecrets", "ShopSecretsInterfaces"} << 0;
        QTest::newRow("extra blanks") << "  Bagel   SFSafeSymbols " << "n" << "n"
                                      << QStringList{"Bagel", "SFSafeSymbols"} << 0;
        QTest::newRow("Ruby in a pod name is refused")
            << "Bagel Evil'\nsystem('touch pwned')\n# Kingfisher" << "n" << "n"
            << QStringList{"Bagel", "Kingfisher"} << 2;
        QTest::newRow("quotes and spaces refused") << "A\"B C $(id) D;E" << "n" << "n" << QStringList{"C"} << 2;
    }
    void postGenWritesThePodfile()
    {
        QFETCH(QString, pods);
        QFETCH(QString, aws);
        QFETCH(QString, arkana);
        QFETCH(QStringList, expected);
        QFETCH(int, exitCode);

        // The project root arrives as it is, spaces and all: the generator
        // quotes it as one shell word.
        const ProcessResult result = runProcess(
            QStringLiteral("bash"), {script("post_gen.sh"), QStringLiteral("17.0"), QStringLiteral("Shop"), aws, arkana,
                                     QStringLiteral("com.example.shop"), QStringLiteral("NA"), m_root, pods});
        QVERIFY2(result.exitCode == exitCode, qPrintable(result.output));
        if (exitCode == 2)
            QVERIFY2(result.output.contains(QStringLiteral("refusing pod name")), qPrintable(result.output));

        const QString podfilePath = m_root + QStringLiteral("/Podfile");
        const ProcessResult syntax = runProcess(QStringLiteral("ruby"), {QStringLiteral("-c"), podfilePath});
        QVERIFY2(syntax.exitCode == 0, qPrintable(syntax.output));

        const QString podfile = readText(podfilePath);
        QCOMPARE(podNames(podfile), expected);
        QVERIFY(podfile.contains(QStringLiteral("platform :ios, '17.0'")));
        QVERIFY(podfile.contains(QStringLiteral("target 'Shop' do")));
        QVERIFY(podfile.contains(QStringLiteral("use_frameworks!")));
        QVERIFY(podfile.contains(QStringLiteral("target 'ShopTests' do")));
        QVERIFY(podfile.contains(QStringLiteral("config.build_settings['IPHONEOS_DEPLOYMENT_TARGET'] = '17.0'")));
        QVERIFY(!podfile.contains(QStringLiteral("system")));
        QVERIFY(!QFileInfo::exists(m_root + QStringLiteral("/pwned")));
    }

    void postGenRefusesUnsafeValues_data()
    {
        QTest::addColumn<QString>("target");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("root");
        QTest::newRow("quote in the name") << "17.0" << "Sh'op" << "";
        QTest::newRow("backslash in the name") << "17.0" << "Sh\\op" << "";
        QTest::newRow("Ruby in the target") << "17.0'; system('x" << "Shop" << "";
        QTest::newRow("missing root") << "17.0" << "Shop" << "/nonexistent/folder";
    }
    void postGenRefusesUnsafeValues()
    {
        QFETCH(QString, target);
        QFETCH(QString, name);
        QFETCH(QString, root);
        const ProcessResult result = runProcess(
            QStringLiteral("bash"), {script("post_gen.sh"), target, name, QStringLiteral("n"), QStringLiteral("n"),
                                     QStringLiteral("id"), QStringLiteral("NA"), root.isEmpty() ? m_root : root,
                                     QStringLiteral("Kingfisher")});
        QCOMPARE(result.exitCode, 1);
        QVERIFY2(result.output.contains(QStringLiteral("post_gen: ")), qPrintable(result.output));
        QVERIFY(!QFileInfo::exists(m_root + QStringLiteral("/Podfile")));
    }

    void postGenKeepsAnEarlierPodfileAndSkipsMissingTestTargets()
    {
        QVERIFY(writeFile(m_root + QStringLiteral("/Shop.xcodeproj/project.pbxproj"),
                                "/* Shop */ = { isa = PBXNativeTarget; name = Shop; };\n"
                                "/* ShopUITests */ = { isa = PBXNativeTarget; name = ShopUITests; };\n"));
        QVERIFY(writeFile(m_root + QStringLiteral("/Podfile"), "source 'https://example.com/specs'\n"));
        const ProcessResult result = runProcess(
            QStringLiteral("bash"), {script("post_gen.sh"), QStringLiteral("16.0"), QStringLiteral("Shop"), QStringLiteral("n"),
                                     QStringLiteral("n"), QStringLiteral("id"), QStringLiteral("NA"), m_root,
                                     QStringLiteral("Kingfisher")});
        QVERIFY2(result.exitCode == 0, qPrintable(result.output));
        QCOMPARE(readText(m_root + QStringLiteral("/Podfile.backup")), QStringLiteral("source 'https://example.com/specs'\n"));
        const QString podfile = readText(m_root + QStringLiteral("/Podfile"));
        QVERIFY(!podfile.contains(QStringLiteral("'ShopTests'")));
        QVERIFY(podfile.contains(QStringLiteral("target 'ShopUITests' do")));
    }

    // An existing project comes without a chosen deployment target: the
    // Podfile takes the one its Xcode project names, else the previous
    // Podfile's, else names none.
    void postGenTakesAnExistingProjectsOwnTarget_data()
    {
        QTest::addColumn<QByteArray>("pbxproj");
        QTest::addColumn<QByteArray>("oldPodfile");
        QTest::addColumn<QString>("platformLine");
        QTest::newRow("from the Xcode project")
            << QByteArray("buildSettings = { IPHONEOS_DEPLOYMENT_TARGET = 15.4; name = Shop; };\n") << QByteArray()
            << "platform :ios, '15.4'";
        QTest::newRow("from the previous Podfile") << QByteArray() << QByteArray("platform :ios, \"14.0\"\npod 'A'\n")
                                                   << "platform :ios, '14.0'";
        QTest::newRow("from nowhere") << QByteArray() << QByteArray() << "platform :ios\n";
    }
    void postGenTakesAnExistingProjectsOwnTarget()
    {
        QFETCH(QByteArray, pbxproj);
        QFETCH(QByteArray, oldPodfile);
        QFETCH(QString, platformLine);
        if (!pbxproj.isEmpty()) {
            QVERIFY(writeFile(m_root + QStringLiteral("/Shop.xcodeproj/project.pbxproj"), pbxproj));
        }
        if (!oldPodfile.isEmpty())
            QVERIFY(writeFile(m_root + QStringLiteral("/Podfile"), oldPodfile));
        const ProcessResult result = runProcess(
            QStringLiteral("bash"), {script("post_gen.sh"), QString(), QStringLiteral("Shop"), QStringLiteral("n"),
                                     QStringLiteral("n"), QStringLiteral("id"), QStringLiteral("NA"), m_root,
                                     QStringLiteral("Kingfisher")});
        QVERIFY2(result.exitCode == 0, qPrintable(result.output));
        const QString podfile = readText(m_root + QStringLiteral("/Podfile"));
        QVERIFY2(podfile.startsWith(platformLine), qPrintable(podfile));
        QCOMPARE(podfile.contains(QStringLiteral("post_install")), platformLine.contains(QLatin1Char('\'')));
        const ProcessResult syntax =
            runProcess(QStringLiteral("ruby"), {QStringLiteral("-c"), m_root + QStringLiteral("/Podfile")});
        QVERIFY2(syntax.exitCode == 0, qPrintable(syntax.output));
    }

    void podInstall_data()
    {
        QTest::addColumn<bool>("allArguments");
        QTest::addColumn<bool>("podSucceeds");
        QTest::newRow("seven arguments") << true << true;
        QTest::newRow("project root alone") << false << true;
        QTest::newRow("pod install fails") << true << false;
    }
    void podInstall()
    {
        QFETCH(bool, allArguments);
        QFETCH(bool, podSucceeds);
        QTemporaryDir tools;
        QVERIFY(writeFile(tools.filePath(QStringLiteral("pod")),
                                podSucceeds ? "#!/bin/sh\necho \"pod $*\"\nmkdir -p Pods/Kingfisher\n"
                                            : "#!/bin/sh\necho 'pod: no network' >&2\nexit 1\n",
                          true));
        QVERIFY(QDir().mkpath(m_root + QStringLiteral("/Shop.xcodeproj")));
        QVERIFY(writeFile(m_root + QStringLiteral("/Podfile"), "platform :ios, '17.0'\n"));

        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("PATH"), tools.path() + QStringLiteral(":/usr/bin:/bin"));
        QStringList arguments{script("PodInstall.sh"), m_root};
        if (allArguments)
            arguments << QStringLiteral("Ada <Lovelace> & Co") << QStringLiteral("Analytical Engines")
                      << QStringLiteral("06/12/2025") << QStringLiteral("Shop") << QStringLiteral("yes")
                      << QStringLiteral("no");
        const ProcessResult result = runProcess(QStringLiteral("bash"), arguments, environment);

        if (!podSucceeds) {
            QVERIFY2(result.exitCode != 0, qPrintable(result.output));
            QVERIFY2(result.output.contains(QStringLiteral("Pod installation failed")), qPrintable(result.output));
            return;
        }
        QVERIFY2(result.exitCode == 0, qPrintable(result.output));
        QVERIFY(QFileInfo(m_root + QStringLiteral("/Pods/Kingfisher")).isDir());
        const QString macros = m_root + QStringLiteral("/Shop.xcodeproj/xcshareddata/IDETemplateMacros.plist");
        const ProcessResult header = runProcess(
            QStringLiteral(PLINTH_PYTHON),
            {QStringLiteral("-c"), QStringLiteral("import plistlib,sys; print(plistlib.load(open(sys.argv[1],'rb'))['FILEHEADER'])"),
             macros});
        QVERIFY2(header.exitCode == 0, qPrintable(header.output));
        if (allArguments) {
            QVERIFY2(header.output.contains(QStringLiteral("Created by Ada <Lovelace> & Co on 06/12/2025.")),
                     qPrintable(header.output));
            QVERIFY2(header.output.contains(QStringLiteral("Copyright © 2025 Analytical Engines.")), qPrintable(header.output));
        } else {
            QVERIFY2(header.output.contains(QStringLiteral("Created by ")), qPrintable(header.output));
        }
    }

    void validationScripts_data()
    {
        QTest::addColumn<QString>("scriptName");
        QTest::addColumn<QString>("tool");
        QTest::addColumn<QByteArray>("fake");
        const QByteArray succeeds = "#!/bin/sh\necho 'fake 1.0'\n";
        QTest::newRow("Homebrew") << "validateHomeBrewInstallation.rb" << "brew" << succeeds;
        QTest::newRow("CocoaPods") << "validateCocoaPodsInstallation.rb" << "pod" << succeeds;
        QTest::newRow("Xcode") << "ValidateXcodeBuild.rb" << "xcodebuild" << succeeds;
        QTest::newRow("command line tools") << "ValidateCommandLineTool.rb" << "xcode-select"
                                            << QByteArray("#!/bin/sh\necho /\n");
        QTest::newRow("XcodeGen") << "validateXcodeGenInstallation.rb" << "xcodegen" << succeeds;
        QTest::newRow("xcodeproj") << "ValidateXcodeProjInstallation.rb" << "xcodeproj" << succeeds;
    }
    void validationScripts()
    {
        QFETCH(QString, scriptName);
        QFETCH(QString, tool);
        QFETCH(QByteArray, fake);
        const QString ruby = QStandardPaths::findExecutable(QStringLiteral("ruby"));
        QVERIFY(!ruby.isEmpty());
        const QString rubyDir = QFileInfo(ruby).absolutePath();
        const QString present = QStringLiteral("<output>0</output>");

        QTemporaryDir withTool;
        QVERIFY(writeFile(withTool.filePath(tool), fake, true));
        const ProcessResult found = runProcess(ruby, {resourcesDir + QLatin1Char('/') + scriptName},
                                               scriptEnvironment(withTool.path() + QLatin1Char(':') + rubyDir));
        QVERIFY2(found.exitCode == 0 && found.output.contains(present), qPrintable(found.output));

        // The tool exists but does not work (Xcode not selected, say): not
        // installed, unless its mere presence is the test.
        if (tool != QStringLiteral("pod") && tool != QStringLiteral("xcodeproj")) {
            QVERIFY(writeFile(withTool.filePath(tool), "#!/bin/sh\nexit 1\n", true));
            const ProcessResult broken = runProcess(ruby, {resourcesDir + QLatin1Char('/') + scriptName},
                                                    scriptEnvironment(withTool.path() + QLatin1Char(':') + rubyDir));
            QVERIFY2(broken.exitCode != 0 && !broken.output.contains(present), qPrintable(broken.output));
        }

        QTemporaryDir empty;
        const ProcessResult missing = runProcess(ruby, {resourcesDir + QLatin1Char('/') + scriptName},
                                                 scriptEnvironment(empty.path() + QLatin1Char(':') + rubyDir));
        if (QFileInfo::exists(rubyDir + QLatin1Char('/') + tool) || tool == QStringLiteral("xcodeproj") ||
            tool == QStringLiteral("pod")) {
            // A real installation beside ruby, or a gem of that Ruby, may
            // legitimately answer "installed"; only the protocol is checked.
            QVERIFY2(missing.output.contains(QStringLiteral("<output>")), qPrintable(missing.output));
            QVERIFY((missing.exitCode == 0) == missing.output.contains(present));
        } else {
            QVERIFY2(missing.exitCode != 0 && !missing.output.contains(present), qPrintable(missing.output));
        }
    }

    void installScriptRefusesOtherSystems()
    {
#ifdef Q_OS_MACOS
        QSKIP("installs for real on macOS");
#else
        const ProcessResult result = runProcess(QStringLiteral("bash"), {script("PreProjectSetupCommands.sh")});
        QVERIFY(result.exitCode != 0);
        QVERIFY2(result.output.contains(QStringLiteral("only on macOS")), qPrintable(result.output));
#endif
    }

    void addModulesReportsMissingInput_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QString>("message");
        QTest::newRow("no options") << QStringList{} << "missing option(s) -p, -d, -t, -g";
        QTest::newRow("missing project") << QStringList{"-p", "/nonexistent/Shop.xcodeproj", "-d", "/tmp", "-t", "Shop",
                                                        "-g", "Shop"}
                                         << "no Xcode project at /nonexistent/Shop.xcodeproj";
        QTest::newRow("unknown option") << QStringList{"-x"} << "invalid option: -x";
    }
    void addModulesReportsMissingInput()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QString, message);
        const ProcessResult result = runProcess(QStringLiteral("ruby"), QStringList{script("AddModulesInTarget.rb")} + arguments);
        QCOMPARE(result.exitCode, 1);
        QVERIFY2(result.output.contains(message), qPrintable(result.output));
    }

    // With the real xcodeproj gem (skipped when this Ruby has none): files go
    // into the named groups and the target, a second run changes nothing,
    // and a wrong target fails clearly.
    void addModulesToTarget()
    {
        if (runProcess(QStringLiteral("ruby"), {QStringLiteral("-e"), QStringLiteral("require 'xcodeproj'")}).exitCode != 0)
            QSKIP("the xcodeproj gem is not installed for this Ruby");

        const QString app = m_root + QStringLiteral("/Shop");
        QVERIFY(writeFile(app + QStringLiteral("/Helpers/KeychainManager.swift"), "final class KeychainManager {}\n"));
        QVERIFY(writeFile(app + QStringLiteral("/BLE/BLECentralManager.swift"), "final class BLECentralManager {}\n"));
        QVERIFY(writeFile(app + QStringLiteral("/BLE/Peripherals/Known.json"), "{}\n"));
        QVERIFY(writeFile(app + QStringLiteral("/BLE/.DS_Store"), ""));
        const QString project = m_root + QStringLiteral("/Shop.xcodeproj");
        const ProcessResult created = runProcess(
            QStringLiteral("ruby"),
            {QStringLiteral("-rxcodeproj"), QStringLiteral("-e"),
             QStringLiteral("p = Xcodeproj::Project.new(ARGV[0]); p.new_target(:application, 'Shop', :ios, '16.0'); "
                            "p.main_group.new_group(nil, 'Shop'); p.save"),
             project});
        QVERIFY2(created.exitCode == 0, qPrintable(created.output));

        const auto add = [&](const QString &module, const QString &target, const QString &group) {
            return runProcess(QStringLiteral("ruby"), {script("AddModulesInTarget.rb"), QStringLiteral("-p"), project,
                                                      QStringLiteral("-d"), app + QLatin1Char('/') + module,
                                                      QStringLiteral("-t"), target, QStringLiteral("-g"), group});
        };
        ProcessResult result = add(QStringLiteral("Helpers/KeychainManager.swift"), QStringLiteral("Shop"),
                                   QStringLiteral("Shop/Helpers/"));
        QVERIFY2(result.exitCode == 0, qPrintable(result.output));
        result = add(QStringLiteral("BLE"), QStringLiteral("Shop"), QStringLiteral("Shop/BLE"));
        QVERIFY2(result.exitCode == 0, qPrintable(result.output));

        const QString before = readText(project + QStringLiteral("/project.pbxproj"));
        result = add(QStringLiteral("Helpers/KeychainManager.swift"), QStringLiteral("Shop"), QStringLiteral("Shop/Helpers"));
        QVERIFY2(result.exitCode == 0 && result.output.contains(QStringLiteral("nothing changed")), qPrintable(result.output));
        result = add(QStringLiteral("BLE"), QStringLiteral("Shop"), QStringLiteral("Shop/BLE"));
        QVERIFY2(result.exitCode == 0 && result.output.contains(QStringLiteral("nothing changed")), qPrintable(result.output));
        QCOMPARE(readText(project + QStringLiteral("/project.pbxproj")), before);

        const ProcessResult listed = runProcess(
            QStringLiteral("ruby"),
            {QStringLiteral("-rxcodeproj"), QStringLiteral("-e"),
             QStringLiteral("t = Xcodeproj::Project.open(ARGV[0]).targets.first; "
                            "puts t.source_build_phase.files_references.map { |r| r.hierarchy_path }.sort; "
                            "puts t.resources_build_phase.files_references.map { |r| r.hierarchy_path }.sort"),
             project});
        QCOMPARE(listed.output.trimmed().split(QLatin1Char('\n')),
                 (QStringList{"/Shop/BLE/BLECentralManager.swift", "/Shop/Helpers/KeychainManager.swift",
                              "/Shop/BLE/Peripherals/Known.json"}));

        result = add(QStringLiteral("BLE"), QStringLiteral("Shopp"), QStringLiteral("Shop/BLE"));
        QCOMPARE(result.exitCode, 1);
        QVERIFY2(result.output.contains(QStringLiteral("no target named Shopp")), qPrintable(result.output));
    }
};

QTEST_GUILESS_MAIN(TestScripts)
#include "TestScripts.moc"
