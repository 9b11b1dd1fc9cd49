#include "app/DebugConsole.h"
#include "app/ResourceBundle.h"
#include "catalogs/ModuleCatalog.h"
#include "generation/GenerationFixture.h"
#include "generation/GenerationRun.h"
#include "generation/ModuleInstallation.h"
#include "toolchain/OnWorker.h"
#include "tools/TestFiles.h"

#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtTest>

using namespace plinth;
using Outcome = GenerationStep::Outcome;
using plinth::test::writeFile;

namespace {

const QList<GenerationStepKind> newProjectSteps = {
    GenerationStepKind::projectRoot,   GenerationStepKind::targetDirectories, GenerationStepKind::xcodeGenSpecification,
    GenerationStepKind::templateCopy,  GenerationStepKind::xcodeGen,          GenerationStepKind::postGeneration,
    GenerationStepKind::instantiation,
};

QList<GenerationStep> runGeneration(const ProjectDetailsModel &details, const ResourceBundle &bundle,
                                    const CommandRunner &runner)
{
    return onWorker([&] {
        QList<GenerationStep> steps;
        GenerationRun(details, bundle, runner, [&](const GenerationStep &step) { steps << step; }).generate();
        return steps;
    });
}

QList<GenerationStepKind> kinds(const QList<GenerationStep> &steps)
{
    QList<GenerationStepKind> list;
    for (const GenerationStep &step : steps)
        list << step.kind;
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


ListItem catalogEntry(bool uiKit, const QString &title)
{
    for (const ListItem &item : moduleCatalog(uiKit)) {
        if (item.title == title)
            return item;
    }
    return {};
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
    void initTestCase()
    {
        QVERIFY2(QFileInfo(m_shipped.path(QStringLiteral("post_gen"), QStringLiteral("sh"))).isFile(),
                 "the build's resource bundle holds the shipped scripts");
    }

    // A whole new project from a shipped template, then the installation
    // command as the embedded terminal runs it.
    void newProject_data()
    {
        QTest::addColumn<bool>("uiKit");
        QTest::addColumn<bool>("aws");
        QTest::addColumn<bool>("ble");
        QTest::addColumn<QString>("folder");
        QTest::newRow("SwiftUI") << false << false << false << "Projects";
        QTest::newRow("SwiftUI, AWS S3 and BLE, odd folder") << false << true << true << "My 'Apps' $HOME Über";
        QTest::newRow("UIKit") << true << false << true << "Projects";
        QTest::newRow("UIKit, AWS S3") << true << true << false << "Work space";
    }

    void newProject()
    {
        QFETCH(bool, uiKit);
        QFETCH(bool, aws);
        QFETCH(bool, ble);
        QFETCH(QString, folder);
        QTemporaryDir work;
        auto details = fixture::newProject(work.filePath(folder), QStringLiteral("Orbit"), uiKit);
        details.doesIncludeAWS = aws;
        details.doesIncludeBLE = ble;
        details.developmentSchemeName = QStringLiteral("UAT");
        const QString templateName = uiKit ? QStringLiteral("UIKitBaseSetup") : QStringLiteral("SwiftUIBaseSetup");

        const auto steps = runGeneration(details, m_shipped, *m_runner);
        QCOMPARE(kinds(steps), newProjectSteps);
        QVERIFY2(failures(steps).isEmpty(), qPrintable(failures(steps)));

        const QString root = details.projectRoot();
        const auto tree = fixture::files(root);
        for (auto file = tree.begin(); file != tree.end(); ++file) {
            QVERIFY2(!file.key().contains(templateName), qPrintable(file.key()));
            QVERIFY2(!file.value().contains(templateName.toUtf8()), qPrintable(file.key() + QStringLiteral(" holds the template name")));
        }
        QVERIFY(!tree.contains(QStringLiteral("Podfile.lock")));
        QCOMPARE(tree.contains(QStringLiteral("Orbit/AWSS3/S3TransferService.swift")), aws);
        QCOMPARE(QFileInfo(root + QStringLiteral("/Orbit/BLE")).isDir(), ble);

        // XcodeGen's project, rewritten and naming only files that exist.
        const QByteArray pbxproj = tree.value(QStringLiteral("Orbit.xcodeproj/project.pbxproj"));
        QVERIFY(pbxproj.contains("{ name = OrbitTests; }"));
        const QStringList entries = projectFileEntries(pbxproj);
        QVERIFY(entries.size() > 10);
        for (const QString &entry : entries)
            QVERIFY2(tree.contains(entry), qPrintable(entry));
        QVERIFY(entries.contains(uiKit ? QStringLiteral("Orbit/AppDelegate.swift") : QStringLiteral("Orbit/OrbitApp.swift")));

        const QByteArray podfile = tree.value(QStringLiteral("Podfile"));
        QVERIFY(podfile.contains("target 'Orbit' do\n"));
        QVERIFY(podfile.contains("  pod 'SwiftLint'\n  pod 'R.swift'\n"));
        QCOMPARE(podfile.contains("pod 'AWSS3'"), aws);
        QVERIFY(podfile.contains("pod 'OrbitSecrets', :path => 'Dependencies/OrbitSecrets'"));
        QVERIFY(podfile.contains("target 'OrbitUITests' do"));

        // The secrets rewrites reached the shipped template's files (the
        // golden project pins their text).
        const QByteArray secrets = tree.value(QStringLiteral("Orbit/AppSecrets.swift"));
        QVERIFY(secrets.contains("import OrbitSecrets\n"));
        QVERIFY(secrets.contains("Secrets.UAT()"));
        QVERIFY(!secrets.contains("Secrets.Staging()"));
        QVERIFY(tree.value(QStringLiteral("Orbit/SceneDelegate.swift")).contains("#if UAT"));
    }

    // One fixed description over the small fixture template gives exactly the
    // committed tree (the temporary folder written as /Users/dev/Projects).
    // PLINTH_UPDATE_GOLDEN=1 rewrites the committed tree instead.
    void goldenProject()
    {
        QTemporaryDir work;
        const ResourceBundle bundle(fixture::makeFixtureBundle(work.filePath(QStringLiteral("bundle"))));
        const QString projects = work.filePath(QStringLiteral("Projects"));
        auto details = fixture::newProject(projects, QStringLiteral("Golden"));
        details.doesIncludeBLE = true;
        const auto steps = runGeneration(details, bundle, *m_runner);
        QVERIFY2(failures(steps).isEmpty(), qPrintable(failures(steps)));

        const auto generated = fixture::normalisedFiles(projects);
        if (qEnvironmentVariableIsSet("PLINTH_UPDATE_GOLDEN")) {
            QDir(fixture::goldenProject()).removeRecursively();
            for (auto file = generated.begin(); file != generated.end(); ++file)
                QVERIFY(writeFile(fixture::goldenProject() + QLatin1Char('/') + file.key(), file.value()));
        }
        const auto expected = fixture::files(fixture::goldenProject());
        QCOMPARE(generated.keys(), expected.keys());
        for (auto file = generated.begin(); file != generated.end(); ++file)
            QCOMPARE(QString::fromUtf8(file.value()), QString::fromUtf8(expected.value(file.key())));
    }

    // A project made by the new-project run, reopened as an existing one.
    void existingProject()
    {
        QTemporaryDir work;
        auto details = fixture::newProject(work.filePath(QStringLiteral("Work 'n' $stuff ü")), QStringLiteral("Shop"));
        details.doesIncludeArkana = false;
        QVERIFY(failures(runGeneration(details, m_shipped, *m_runner)).isEmpty());
        const QString root = details.projectRoot();

        // The user's own work: a file, a changed Gemfile with secrets of
        // their own in .env, and a stale copy of a module installed before.
        QVERIFY(writeFile(root + QStringLiteral("/Shop/Feature/Checkout.swift"), "// SwiftUIBaseSetup Shop Tests\n"));
        QVERIFY(writeFile(root + QStringLiteral("/Gemfile"), "source 'https://rubygems.org'\ngem 'fastlane'\n"));
        QVERIFY(writeFile(root + QStringLiteral("/.env"), "export APIKey=my-real-key\n"));
        QVERIFY(writeFile(root + QStringLiteral("/Shop/Helpers/Keychain/Stale.swift"), "old\n"));
        const auto before = fixture::files(root);

        details.projectType = ProjectType::existing;
        details.doesIncludeArkana = true;
        details.userSelectedModules = {catalogEntry(false, QStringLiteral("KeyChain manager")),
                                       catalogEntry(false, QStringLiteral("Network layer")),
                                       catalogEntry(false, QStringLiteral("Adaptive layout"))};
        details.userSelectedPods = {QStringLiteral("SwiftLint")};

        const auto steps = runGeneration(details, m_shipped, *m_runner);
        QCOMPARE(kinds(steps), (QList<GenerationStepKind>{
                                   GenerationStepKind::postGeneration, GenerationStepKind::arkanaFiles,
                                   GenerationStepKind::moduleCopy, GenerationStepKind::moduleCopy,
                                   GenerationStepKind::moduleCopy, GenerationStepKind::moduleTarget,
                                   GenerationStepKind::moduleTarget, GenerationStepKind::moduleTarget}));
        QVERIFY2(failures(steps).isEmpty(), qPrintable(failures(steps)));
        QCOMPARE(steps[2].subject, QStringLiteral("KeyChain manager"));

        const auto after = fixture::files(root);
        const QString source = m_shipped.path(QStringLiteral("SwiftUIBaseSetup")) + QStringLiteral("/SwiftUIBaseSetup/");
        // Modules: fresh copies; the folder that held something of the
        // user's is kept, outside the app sources, and the step says where.
        QVERIFY(!after.contains(QStringLiteral("Shop/Helpers/Keychain/Stale.swift")));
        QCOMPARE(after.value(QStringLiteral("PlinthBackups/Helpers/Keychain/Stale.swift")), QByteArray("old\n"));
        QVERIFY(steps[2].detail.contains(QStringLiteral("Kept the project's own Helpers/Keychain as ")));
        QVERIFY(steps[3].detail.isEmpty()); // nothing was there before
        QCOMPARE(fixture::files(root + QStringLiteral("/Shop/Helpers/Keychain")), fixture::files(source + QStringLiteral("Helpers/Keychain")));
        QCOMPARE(fixture::files(root + QStringLiteral("/Shop/NetworkLayer")), fixture::files(source + QStringLiteral("NetworkLayer")));

        // The script ran once per module, in order, with the exact values.
        const QString pbxproj = QString::fromUtf8(after.value(QStringLiteral("Shop.xcodeproj/project.pbxproj")));
        QStringList calls;
        for (const QString &line : pbxproj.split(QLatin1Char('\n'))) {
            if (line.startsWith(QStringLiteral("// module ")))
                calls << line;
        }
        QCOMPARE(calls, (QStringList{
                            QStringLiteral("// module ") + root + QStringLiteral("/Shop/Helpers/Keychain target Shop group Shop/Helpers/Keychain"),
                            QStringLiteral("// module ") + root + QStringLiteral("/Shop/NetworkLayer target Shop group Shop/NetworkLayer"),
                            QStringLiteral("// module ") + root + QStringLiteral("/Shop/Helpers/AdaptiveLayout target Shop group Shop/Helpers/AdaptiveLayout")}));

        // Arkana: fresh files for the project, the user's own kept as backups.
        QVERIFY(after.value(QStringLiteral(".arkana.yml")).contains("import_name: 'ShopSecrets'"));
        QCOMPARE(after.value(QStringLiteral("Gemfile.backup")), before.value(QStringLiteral("Gemfile")));
        QCOMPARE(after.value(QStringLiteral(".env.backup")), before.value(QStringLiteral(".env")));
        QVERIFY(after.value(QStringLiteral(".env")).contains("UAT"));

        // Everything else is as it was, byte for byte.
        const auto touched = [](const QString &path) {
            return path.startsWith(QStringLiteral("Shop/Helpers/")) || path.startsWith(QStringLiteral("Shop/NetworkLayer/"))
                   || path.startsWith(QStringLiteral("PlinthBackups/")) || path.startsWith(QStringLiteral("Podfile"))
                   || path == QStringLiteral("Shop.xcodeproj/project.pbxproj") || path.startsWith(QStringLiteral("Gemfile"))
                   || path.startsWith(QStringLiteral(".env")) || path.startsWith(QStringLiteral(".arkana.yml"));
        };
        auto unchanged = after;
        auto original = before;
        unchanged.removeIf([&](const auto &file) { return touched(file.key()); });
        original.removeIf([&](const auto &file) { return touched(file.key()); });
        QCOMPARE(unchanged.keys(), original.keys());
        QCOMPARE(unchanged, original);

        // Once more: each module replaced again, the script run again.
        const auto again = runGeneration(details, m_shipped, *m_runner);
        QVERIFY2(failures(again).isEmpty(), qPrintable(failures(again)));
        QCOMPARE(fixture::files(root + QStringLiteral("/Shop/Helpers/Keychain")), fixture::files(source + QStringLiteral("Helpers/Keychain")));
        QCOMPARE(QString::fromUtf8(fixture::files(root).value(QStringLiteral("Shop.xcodeproj/project.pbxproj"))).count(QStringLiteral("// module ")), 6);
        // An unchanged copy from the first run is replaced without a backup.
        QVERIFY(!QFileInfo::exists(root + QStringLiteral("/PlinthBackups/Helpers/Keychain 2")));
        QVERIFY(!QFileInfo::exists(root + QStringLiteral("/PlinthBackups/NetworkLayer")));
    }

    void failuresAreRecorded()
    {
        QTemporaryDir work;
        // The destination folder is a file: nothing can be made.
        QVERIFY(writeFile(work.filePath(QStringLiteral("blocked")), "x"));
        auto blocked = fixture::newProject(work.filePath(QStringLiteral("blocked")));
        const auto none = runGeneration(blocked, m_shipped, *m_runner);
        QCOMPARE(kinds(none), newProjectSteps);
        QCOMPARE(none[0].outcome, Outcome::failed);
        QVERIFY(!none[0].detail.isEmpty());
        for (qsizetype i = 1; i < none.size(); ++i)
            QCOMPARE(none[i].outcome, Outcome::skipped);

        // No XcodeGen: that step fails with its output, the run goes on.
        auto runner = fixture::fakeRunner();
        runner->setToolchainSearchPath(QStringLiteral("/usr/bin:/bin"));
        auto details = fixture::newProject(work.filePath(QStringLiteral("Projects")));
        ConsoleCapture console;
        const auto steps = runGeneration(details, m_shipped, *runner);
        QCOMPARE(kinds(steps), newProjectSteps);
        QCOMPARE(steps[4].outcome, Outcome::failed);
        QVERIFY(steps[4].detail.startsWith(QStringLiteral("Output: ")));
        QVERIFY(steps[4].detail.contains(QStringLiteral("xcodegen")));
        QCOMPARE(steps[5].outcome, Outcome::done);
        QCOMPARE(steps[6].outcome, Outcome::done);
        QVERIFY(console.lines().filter(QStringLiteral("Output: ")).size() == 1);

        // Existing project: a module the template lacks, no module script.
        QTemporaryDir bundleRoot;
        QCOMPARE(QProcess::execute(QStringLiteral("cp"), {QStringLiteral("-R"), m_shipped.path(QStringLiteral("SwiftUIBaseSetup")),
                                                         bundleRoot.path() + QLatin1Char('/')}),
                 0);
        details.projectType = ProjectType::existing;
        details.doesIncludeArkana = false;
        ListItem ghost;
        ghost.title = QStringLiteral("Ghost");
        ghost.directoryName = QStringLiteral("Helpers/Ghost");
        details.userSelectedModules = {ghost, catalogEntry(false, QStringLiteral("BLE"))};
        const auto existing = runGeneration(details, ResourceBundle(bundleRoot.path()), *m_runner);
        QCOMPARE(kinds(existing), (QList<GenerationStepKind>{
                                      GenerationStepKind::postGeneration, GenerationStepKind::arkanaFiles,
                                      GenerationStepKind::moduleCopy, GenerationStepKind::moduleCopy,
                                      GenerationStepKind::moduleTarget, GenerationStepKind::moduleTarget}));
        QCOMPARE(existing[0].outcome, Outcome::failed); // no post_gen.sh in this bundle
        QCOMPARE(existing[1].outcome, Outcome::skipped);
        QCOMPARE(existing[2].outcome, Outcome::failed);
        QVERIFY(existing[2].detail.startsWith(QStringLiteral("Directory does not exist at path: ")));
        QCOMPARE(existing[3].outcome, Outcome::done);
        QCOMPARE(existing[4].outcome, Outcome::failed);
        QCOMPARE(existing[5].outcome, Outcome::failed);

        // No template at all: the Arkana step and every module fail.
        details.doesIncludeArkana = true;
        const auto bare = runGeneration(details, ResourceBundle(work.filePath(QStringLiteral("nowhere"))), *m_runner);
        QCOMPARE(bare[1].kind, GenerationStepKind::arkanaFiles);
        QCOMPARE(bare[1].outcome, Outcome::failed);
        QCOMPARE(bare[2].outcome, Outcome::failed);
        QVERIFY(bare[2].detail.contains(QStringLiteral("SwiftUIBaseSetup is missing")));
    }

    void groupPaths_data()
    {
        QTest::addColumn<QString>("directoryName");
        QTest::addColumn<QString>("group");
        QTest::newRow("single file") << "Helpers/KeychainManager.swift" << "Helpers";
        QTest::newRow("nested folder") << "Helpers/AdaptiveLayout" << "Helpers/AdaptiveLayout";
        QTest::newRow("top folder") << "BLE" << "BLE";
        QTest::newRow("top file") << "Module.swift" << "";
    }

    void groupPaths()
    {
        QFETCH(QString, directoryName);
        QFETCH(QString, group);
        QCOMPARE(moduleGroupPath(directoryName), group);
    }

    void moduleCommandLines()
    {
        ProjectDetailsModel details;
        details.projectPath = QStringLiteral("/Users/a/Work");
        details.projectName = QStringLiteral("Shop");
        const ListItem keychain = catalogEntry(true, QStringLiteral("KeyChain manager"));
        QCOMPARE(moduleDestinationPath(details, keychain.directoryName), QStringLiteral("/Users/a/Work/Shop/Shop/Helpers/KeychainManager.swift"));
        QCOMPARE(addModuleCommand(QStringLiteral("/App/AddModulesInTarget.rb"), details, keychain),
                 QStringLiteral("ruby /App/AddModulesInTarget.rb -p /Users/a/Work/Shop/Shop.xcodeproj -d "
                                "/Users/a/Work/Shop/Shop/Helpers/KeychainManager.swift -t Shop -g Shop/Helpers"));
        details.projectPath = QStringLiteral("/Users/a/My Work's $x");
        QCOMPARE(addModuleCommand(QStringLiteral("/App/AddModulesInTarget.rb"), details, keychain),
                 QStringLiteral("ruby /App/AddModulesInTarget.rb -p '/Users/a/My Work'\\''s $x/Shop/Shop.xcodeproj' -d "
                                "'/Users/a/My Work'\\''s $x/Shop/Shop/Helpers/KeychainManager.swift' -t Shop -g Shop/Helpers"));
        QCOMPARE(GenerationRun::xcodeGenCommand(QStringLiteral("/Users/me/Projects/Orbit")),
                 QStringLiteral("cd /Users/me/Projects/Orbit && xcodegen generate"));
        QCOMPARE(GenerationRun::xcodeGenCommand(QStringLiteral("/Users/me/My Projects/Orbit")),
                 QStringLiteral("cd '/Users/me/My Projects/Orbit' && xcodegen generate"));
    }

    void duplicateReplacesWithoutFollowingLinks()
    {
        QTemporaryDir work;
        const QString source = work.filePath(QStringLiteral("source"));
        QVERIFY(writeFile(source + QStringLiteral("/A.swift"), "a\n"));
        QVERIFY(QFile::link(QStringLiteral("A.swift"), source + QStringLiteral("/Link.swift")));

        const QString destination = work.filePath(QStringLiteral("project/Module"));
        QVERIFY(writeFile(destination + QStringLiteral("/Old.swift"), "old\n"));
        QVERIFY(duplicateDirectoryFromBundle(source, destination));
        QCOMPARE(fixture::files(destination).keys(), QStringList{QStringLiteral("A.swift")});
        QCOMPARE(QFileInfo(destination + QStringLiteral("/Link.swift")).symLinkTarget(), destination + QStringLiteral("/A.swift"));

        // A destination that is a link to a folder elsewhere: the link goes,
        // the folder it pointed to stays whole.
        const QString elsewhere = work.filePath(QStringLiteral("elsewhere"));
        QVERIFY(writeFile(elsewhere + QStringLiteral("/Keep.swift"), "keep\n"));
        const QString linked = work.filePath(QStringLiteral("project/Linked"));
        QVERIFY(QFile::link(elsewhere, linked));
        QVERIFY(duplicateDirectoryFromBundle(source, linked));
        QVERIFY(!QFileInfo(linked).isSymLink());
        QCOMPARE(fixture::files(elsewhere).keys(), QStringList{QStringLiteral("Keep.swift")});

        QString error;
        QVERIFY(!duplicateDirectoryFromBundle(work.filePath(QStringLiteral("missing")), destination, &error));
        QVERIFY(error.contains(QStringLiteral("missing")));
    }
};

QTEST_GUILESS_MAIN(TestGenerationRun)
#include "TestGenerationRun.moc"
