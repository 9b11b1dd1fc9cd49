#include "app/base/ResourceBundle.h"
#include "generation/GenerationFixture.h"
#include "generation/PodInstallation.h"
#include "toolchain/CommandRunner.h"
#include "toolchain/OnWorker.h"
#include "tools/RunProcess.h"
#include "tools/TestFiles.h"

#include <QTemporaryDir>
#include <QtTest>

using namespace plinth;
using plinth::test::readFile;
using plinth::test::writeFile;

namespace {

ListItem module(const QString &title, const QStringList &pods)
{
    ListItem item;
    item.title = title;
    item.requiredPods = pods;
    return item;
}

// A script that prints each of its arguments between angle brackets.
const QByteArray argumentPrinter = "#!/bin/sh\nfor argument; do printf '<%s>\\n' \"$argument\"; done\n";

QString bracketed(const QStringList &values)
{
    QString text;
    for (const QString &value : values)
        text += QLatin1Char('<') + value + QStringLiteral(">\n");
    return text;
}

} // namespace

class TestPodInstallation : public QObject
{
    Q_OBJECT

private slots:
    // The flags the scripts take: AWS and Arkana for post_gen.sh; a new
    // project (or one of no type) and Arkana for PodInstall.sh. (Each value's
    // place and quoting: valuesReachTheScripts().)
    void commandFlags()
    {
        auto details = fixture::newProject("/Users/me/Projects");
        details.doesIncludeAWS = true;
        details.doesIncludeArkana = false;
        QVERIFY(postGenerationCommand(details, libraryRoutes(details, {}), "/p.sh")
                    .endsWith(" 'Orbit' 'y' 'n' 'com.tarnwick.Orbit' 'NA' '/Users/me/Projects/Orbit' 'SwiftLint R.swift'"));
        // With Swift packages, a library that has one leaves the Podfile, and
        // so do the AWS pod and the secrets pods of a new project.
        details.dependencyManager = DependencyManager::swiftPackageManager;
        details.doesIncludeArkana = true;
        const LibraryPackages catalog({{"SwiftLint", "SwiftLintPlugins", "https://github.com/SimplyDanny/SwiftLintPlugins",
                                        "0.55.1", {}, {"SwiftLintBuildToolPlugin"}},
                                       {"AWSS3", "aws-sdk-ios-spm", "https://github.com/aws-amplify/aws-sdk-ios-spm",
                                        "2.23.3", {"AWSCore", "AWSS3"}, {}}});
        QVERIFY(postGenerationCommand(details, libraryRoutes(details, catalog), "/p.sh")
                    .endsWith(" 'Orbit' 'n' 'n' 'com.tarnwick.Orbit' 'NA' '/Users/me/Projects/Orbit' 'R.swift'"));
        details.dependencyManager = DependencyManager::cocoaPods;
        details.doesIncludeArkana = false;
        QVERIFY(podInstallCommand(details, "/p.sh", "d").endsWith(" 'Orbit' 'yes' 'no'\r"));
        details.projectType = ProjectType::existing;
        details.doesIncludeArkana = true;
        QVERIFY(podInstallCommand(details, "/p.sh", "d").endsWith(" 'Orbit' 'no' 'yes'\r"));
        details.projectType = ProjectType::none;
        QVERIFY(podInstallCommand(details, "/p.sh", "d").endsWith(" 'Orbit' 'yes' 'yes'\r"));
        QCOMPARE(podInstallDateText(QDate(2025, 2, 3)), "03/02/2025");
    }

    // Whatever a value holds, the scripts receive exactly that value, as one
    // argument, in its place (TestShellQuote has the full table of hostile
    // values; TestHostileInputs takes them through plinth-cli).
    void valuesReachTheScripts()
    {
        const QString folder = "it's \"here\" $HOME/`id`/$(id) back\\ slash\\n a;b|c&d*?[x] Über 日本";
        const QString organisation = "O'Brien & Sons $(touch /tmp/pwned); rm -rf ~";
        const QString author = "  D'Arcy ${USER} \\ Zoë #comment\n";
        const QStringList pods{"Pod'Name", "$PATH", "`id`", "x\\y", "Ωmega", "*", ";ls"};
        QTemporaryDir work;
        const QString scriptFolder = work.filePath("Plinth's $app/Resources ü");
        QVERIFY(writeFile(scriptFolder + "/post_gen.sh", argumentPrinter, true));
        QVERIFY(writeFile(scriptFolder + "/PodInstall.sh", argumentPrinter, true));

        auto details = fixture::newProject(work.filePath(folder));
        details.organizationName = organisation;
        details.authorName = author;
        details.userSelectedPods = pods;
        const auto runner = fixture::fakeRunner();

        const QString post = onWorker([&] {
            return runner->executeCommand(
                postGenerationCommand(details, libraryRoutes(details, {}), scriptFolder + "/post_gen.sh"));
        });
        QCOMPARE(post, bracketed({"17.0", "Orbit", "n", "y", details.bundleIdentifier, "NA", details.projectRoot(),
                                  pods.join(QLatin1Char(' '))}));

        // The embedded terminal types the command into a shell; the carriage
        // return is its Return key.
        QString install = podInstallCommand(details, scriptFolder + "/PodInstall.sh", "03/02/2025");
        QVERIFY(install.endsWith(QLatin1Char('\r')));
        install.chop(1);
        const QString typed = test::runProcess("/bin/bash", {"-c", install}).output;
        QCOMPARE(typed, bracketed({details.projectRoot(), author.trimmed(), organisation, "03/02/2025", "Orbit", "yes",
                                   "yes"}));
        QVERIFY(!QFileInfo::exists("/tmp/pwned"));
    }

    void podReadiness()
    {
        QTemporaryDir work;
        const QString pods = work.filePath("Pods");
        QVERIFY(!arePodsInstalled(pods, {}));

        // Ready once every named pod has its folder, whatever else is there.
        QVERIFY(QDir().mkpath(pods + "/SwiftLint"));
        QVERIFY(arePodsInstalled(pods, {}) && arePodsInstalled(pods, {"SwiftLint"}));
        QVERIFY(!arePodsInstalled(pods, {"SwiftLint", "R.swift"}));
        QVERIFY(QDir().mkpath(pods + "/R.swift") && arePodsInstalled(pods, {"SwiftLint", "R.swift"}));
        QVERIFY(QDir(pods + "/SwiftLint").removeRecursively() && !arePodsInstalled(pods, {"SwiftLint", "R.swift"}));
        // A pod from a folder of the project's own has no folder in Pods:
        // the manifest's list of installed pods counts (not its dependencies).
        QVERIFY(writeFile(pods + "/Manifest.lock", "PODS:\n  - \"SwiftLint (0.57.0)\"\n  - MyKit/Core (1.0.0)\n"
                                                   "DEPENDENCIES:\n  - Other (from `../Other`)\n"));
        QVERIFY(arePodsInstalled(pods, {"SwiftLint", "R.swift", "MyKit/Core", "MyKit"}));
        QVERIFY(!arePodsInstalled(pods, {"My"}) && !arePodsInstalled(pods, {"Other"}));
    }

    void postGenerationWithTheShippedScript()
    {
        QTemporaryDir work;
        auto details = fixture::newProject(work.filePath("with space"));
        details.userSelectedModules = {module("AWSS3", {"AWSS3"})};
        QVERIFY(QDir().mkpath(details.projectRoot()));
        const ResourceBundle bundle(fixture::shippedBundle());
        const auto runner = fixture::fakeRunner();

        // The pods of the chosen modules follow the chosen pods.
        const GenerationStep step = onWorker([&] { return runPostGeneration(details, libraryRoutes(details, {}), bundle, *runner); });
        QCOMPARE(step.outcome, GenerationStep::Outcome::done);
        QVERIFY(readFile(details.projectRoot() + "/Podfile").contains("  pod 'SwiftLint'\n  pod 'R.swift'\n  pod 'AWSS3'\n"));

        // A pod name the script refuses: the step fails saying why. (The
        // script's refusals are TestScripts'; a bundle without the script is
        // TestGenerationRun::failuresAreRecorded's.)
        details.userSelectedPods << "Bad'Name";
        const GenerationStep refused = onWorker([&] { return runPostGeneration(details, libraryRoutes(details, {}), bundle, *runner); });
        QCOMPARE(refused.outcome, GenerationStep::Outcome::failed);
        QVERIFY(refused.detail.contains("refusing pod name"));
    }
};

QTEST_GUILESS_MAIN(TestPodInstallation)
#include "TestPodInstallation.moc"
