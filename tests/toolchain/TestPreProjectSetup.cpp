#include "app/base/DebugConsole.h"
#include "app/base/ResourceBundle.h"
#include "app/base/TextCatalog.h"
#include "toolchain/CommandRunner.h"
#include "toolchain/OnWorker.h"
#include "toolchain/PreProjectSetupViewModel.h"
#include "toolchain/ResourceScript.h"
#include "tools/TestFiles.h"

#include <QDir>
#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

using namespace plinth;
using plinth::test::writeFile;

namespace {

/// A bundle with the six validation scripts and a fake ruby for them below
/// `root`: each script says its tool is installed when root/present exists
/// as it starts; the Homebrew one, while root/slow exists, first creates
/// root/started and takes 2 seconds. Every Homebrew script adds a line to
/// root/runs.
std::shared_ptr<CommandRunner> slowWorld(const QString &root)
{
    for (PreRequisite tool : allPreRequisites) {
        if (!writeFile(root + "/bundle/" + fileName(validationScript(tool)), "# run by the fake ruby\n"))
            return {};
    }
    const QByteArray world = root.toUtf8();
    const QByteArray ruby = "#!/bin/sh\n[ \"$1\" = -e ] && exit 1\n"
                            "present=no; [ -e '" + world + "/present' ] && present=yes\n"
                            "case \"$1\" in *HomeBrew*)\n"
                            "    echo run >> '" + world + "/runs'\n"
                            "    if [ -e '" + world + "/slow' ]; then touch '" + world + "/started'; sleep 2; fi;;\n"
                            "esac\n"
                            "[ $present = no ] || echo '<output>0</output>'\n";
    if (!writeFile(root + "/tools/ruby", ruby, true))
        return {};
    auto runner = std::make_shared<CommandRunner>();
    runner->setToolchainSearchPath(root + "/tools:/usr/bin:/bin");
    return runner;
}

} // namespace

class TestPreProjectSetup : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;

private slots:
    void verdictComesFromTheTagPairAndTheExitCode_data()
    {
        QTest::addColumn<QByteArray>("script");
        QTest::addColumn<bool>("exists");
        QTest::newRow("tag pair amid other output") << QByteArray("puts 'checking'\nputs 'x<output>0</output>y'") << true;
        QTest::newRow("non-zero exit") << QByteArray("puts '<output>0</output>'\nexit 1") << false;
        QTest::newRow("other verdict") << QByteArray("puts '<output>1</output>'") << false;
        QTest::newRow("no closing tag") << QByteArray("puts '<output>0'") << false;
    }

    void verdictComesFromTheTagPairAndTheExitCode()
    {
        QFETCH(QByteArray, script);
        QFETCH(bool, exists);
        // The bundle's folder has a space and a quote in its name: the script
        // path reaches ruby as one argument all the same.
        const QString root = m_dir.filePath("Plinth's Bundle");
        QVERIFY(writeFile(root + "/ValidateXcodeBuild.rb", script));
        const ResourceBundle bundle(root);
        const CommandRunner runner;
        const bool verdict = onWorker([&] {
            return PreProjectSetupViewModel::isDependencyExist(runner, bundle, ResourceScript::validateXcodeBuild,
                                                               text(key::output));
        });
        QCOMPARE(verdict, exists);
    }

    // A missing validation script is reported and counts as absent; a tool
    // still counts as present when its probe finds it.
    void missingScriptsAndProbes()
    {
        const ResourceBundle bundle(m_dir.filePath("empty"));
        const QString tools = m_dir.filePath("tools");
        QVERIFY(writeFile(tools + "/pod", "#!/bin/sh\nexit 0\n", true));
        CommandRunner runner;
        runner.setToolchainSearchPath(tools);
        ConsoleCapture console;
        const DependencyCheck check = onWorker([&] { return PreProjectSetupViewModel::verifyDependencies(runner, bundle); });
        QVERIFY(check.isPresent(PreRequisite::cocoaPods));
        QVERIFY(check.probeOutputs[static_cast<size_t>(PreRequisite::cocoaPods)].endsWith("/pod\n"));
        QVERIFY(!check.isPresent(PreRequisite::xcodegen));
        QCOMPARE(console.lines(), QStringList(6, text(key::brewExistenceCheckScriptNotFound))); // one per script
    }

    // (The rows and the state that follow each finished check, both ways,
    // are TestPrerequisitesScreen's.)
    // The timer starts a check at once and another on its tick.
    void timerRunsTheCheck()
    {
        QTemporaryDir root;
        const auto runner = slowWorld(root.path());
        QVERIFY(runner);
        PreProjectSetupViewModel model(runner, ResourceBundle(root.filePath("bundle")));
        model.startTimer();
        QVERIFY(model.isCheckRunning());
        QTRY_COMPARE_WITH_TIMEOUT(test::readFile(root.filePath("runs")), QByteArray("run\nrun\n"), 8000);
        model.stopTimer();
        QVERIFY(!model.isTimerRunning());
    }

    // A check that outlasts the timer's interval: the next one waits for it
    // (two more asked for meanwhile make one), so the newer answer stays.
    // Then the screen closed while a check runs: the check ends on its own
    // and its result goes nowhere.
    void overlappingChecksApplyInOrder()
    {
        QTemporaryDir root;
        const auto runner = slowWorld(root.path());
        QVERIFY(runner);
        QVERIFY(writeFile(root.filePath("slow"), ""));
        auto model = std::make_unique<PreProjectSetupViewModel>(runner, ResourceBundle(root.filePath("bundle")));
        QSignalSpy states(model.get(), &PreProjectSetupViewModel::preProjectSetupStateChanged);
        model->startCheck();
        QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(root.filePath("started")), 10000); // it has seen nothing installed
        QVERIFY(QFile::remove(root.filePath("slow")) && QFile::remove(root.filePath("started")));
        QVERIFY(writeFile(root.filePath("present"), ""));
        model->startCheck();
        model->startCheck();
        QTRY_COMPARE_WITH_TIMEOUT(states.size(), 2, 20000);
        QCOMPARE(states.at(0).at(0).value<PreProjectSetupStates>(), PreProjectSetupStates::dependenciesNotFound);
        QCOMPARE(states.at(1).at(0).value<PreProjectSetupStates>(),
                 PreProjectSetupStates::dependenciesExistAndReadyToProceed);
        QTRY_VERIFY(!model->isCheckRunning());
        QCOMPARE(test::readFile(root.filePath("runs")), QByteArray("run\nrun\n"));

        QVERIFY(writeFile(root.filePath("slow"), ""));
        model->startCheck();
        QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(root.filePath("started")), 10000);
        model.reset();
        QVERIFY(QThreadPool::globalInstance()->waitForDone(20000));
        QCoreApplication::processEvents();
    }

    // The script path reaches bash as one word however its folder is named.
    // (Without the script: TestPrerequisitesScreen.)
    void installationCommandQuotesTheScriptPath()
    {
        const QString root = m_dir.filePath("install-it's here");
        QVERIFY(writeFile(root + "/PreProjectSetupCommands.sh", "echo hi\n"));
        PreProjectSetupViewModel model(std::make_shared<const CommandRunner>(), ResourceBundle(root));
        const QString quotedRoot = QString(root).replace("'", "'\\''");
        QCOMPARE(model.installationCommand(), "bash '" + quotedRoot + "/PreProjectSetupCommands.sh'\r");
    }
};

QTEST_GUILESS_MAIN(TestPreProjectSetup)
#include "TestPreProjectSetup.moc"
