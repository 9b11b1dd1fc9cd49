#include "app/FakeServices.h"
#include "app/TextCatalog.h"
#include "generation/GenerationFixture.h"
#include "generation/ProjectSetupViewModel.h"

#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

using namespace plinth;

using test::FakeAlerts;
using test::FakeDesktop;

class TestProjectSetupViewModel : public QObject
{
    Q_OBJECT

    FakeDesktop m_desktop;
    FakeAlerts m_alerts;
    ResourceBundle m_bundle{fixture::shippedBundle()};

private slots:
    void init()
    {
        m_desktop = FakeDesktop();
        m_alerts.reset();
    }

    // The screen's road: the run off the main thread, steps arriving one by
    // one, then pods, polling and finish.
    void newProjectEndToEnd()
    {
        QTemporaryDir work;
        auto details = fixture::newProject(work.filePath(QStringLiteral("Projects")));
        ProjectSetupViewModel viewModel(fixture::fakeRunner(), m_bundle, &m_alerts, &m_desktop, details);
        QSignalSpy recorded(&viewModel, &ProjectSetupViewModel::stepRecorded);
        QSignalSpy done(&viewModel, &ProjectSetupViewModel::isProjectCreationDoneChanged);

        QVERIFY(!viewModel.isProjectCreationDone());
        QVERIFY(viewModel.generate());
        QVERIFY(viewModel.isGenerating());
        QVERIFY(!viewModel.generate()); // one run per screen
        QTRY_VERIFY_WITH_TIMEOUT(viewModel.isProjectCreationDone(), 30000);
        QCOMPARE(done.size(), 1);
        QVERIFY(!viewModel.isGenerating());
        QCOMPARE(recorded.size(), 7);
        QCOMPARE(viewModel.steps().size(), 7);
        QVERIFY(!viewModel.hasFailedSteps());
        QCOMPARE(viewModel.steps().first().title(), text(key::generationStepProjectRoot));
        QVERIFY(QFileInfo(viewModel.projectRoot() + QStringLiteral("/Orbit.xcodeproj")).isDir());

        // Pods: not yet, then installed by the terminal's command, then one
        // removed again.
        QSignalSpy ready(&viewModel, &ProjectSetupViewModel::shouldGoToNextChanged);
        viewModel.startPodPolling();
        QVERIFY(viewModel.timer().isActive());
        QCOMPARE(viewModel.timer().interval(), 5000);
        QVERIFY(!viewModel.timer().isSingleShot());
        viewModel.checkPods();
        QTest::qWait(200);
        QVERIFY(!viewModel.shouldGoToNext());

        QString install = viewModel.podInstallCommand();
        install.chop(1);
        int status = -1;
        const QString output = fixture::runInShell(install, &status);
        QVERIFY2(status == 0, qPrintable(output));
        viewModel.checkPods();
        QTRY_VERIFY(viewModel.shouldGoToNext());
        QVERIFY(QDir(viewModel.projectRoot() + QStringLiteral("/Pods/R.swift")).removeRecursively());
        viewModel.checkPods();
        QTRY_VERIFY(!viewModel.shouldGoToNext());
        QCOMPARE(ready.size(), 2);

        // Finish: the workspace opens, the polling stops, the program ends.
        viewModel.finish();
        QCOMPARE(m_desktop.opened, QStringList{viewModel.workspacePath()});
        QCOMPARE(viewModel.workspacePath(), details.projectRoot() + QStringLiteral("/Orbit.xcworkspace"));
        QCOMPARE(m_desktop.quits, 1);
        QVERIFY(!viewModel.timer().isActive());
        QVERIFY(m_alerts.shown.isEmpty());
    }

    void pollingTicks()
    {
        QTemporaryDir work;
        auto details = fixture::newProject(work.path());
        details.userSelectedPods.clear();
        ProjectSetupViewModel viewModel(fixture::fakeRunner(), m_bundle, &m_alerts, &m_desktop, details);
        QVERIFY(QDir().mkpath(details.projectRoot() + QStringLiteral("/Pods")));
        viewModel.startPodPolling();
        QVERIFY(!viewModel.shouldGoToNext());
        // No pods chosen: ready at the first tick after the Pods folder exists.
        QTRY_VERIFY_WITH_TIMEOUT(viewModel.shouldGoToNext(), 7000);
        viewModel.stopPodPolling();
        QVERIFY(!viewModel.timer().isActive());
    }

    void finishWithoutWorkspace()
    {
        QTemporaryDir work;
        auto details = fixture::newProject(work.path());
        ProjectSetupViewModel viewModel(fixture::fakeRunner(), m_bundle, &m_alerts, &m_desktop, details);
        viewModel.startPodPolling();
        viewModel.finish();
        QVERIFY(m_desktop.opened.isEmpty());
        QCOMPARE(m_alerts.shown, QStringList{text(key::projectCreationFailed) + QLatin1Char('|')
                                             + text(key::projectCreationFailedErrorMessage)});
        QCOMPARE(m_desktop.quits, 0); // not while the alert is up
        m_alerts.dismiss();
        QCOMPARE(m_desktop.quits, 1);

        // A workspace that nothing can open counts as missing.
        QVERIFY(QDir().mkpath(viewModel.workspacePath()));
        m_desktop.canOpen = false;
        bool afterAlert = false;
        QVERIFY(!viewModel.openWorkspace(viewModel.workspacePath(), [&] { afterAlert = true; }));
        QCOMPARE(m_alerts.shown.size(), 2);
        m_alerts.dismiss();
        QVERIFY(afterAlert);
    }

    void existingBranchAndFailures()
    {
        QTemporaryDir work;
        QFile blocker(work.filePath(QStringLiteral("file")));
        QVERIFY(blocker.open(QIODevice::WriteOnly));
        blocker.close();
        for (const ProjectType type : {ProjectType::existing, ProjectType::none}) {
            auto details = fixture::newProject(work.filePath(QStringLiteral("file")));
            details.projectType = type;
            details.doesIncludeArkana = false;
            ProjectSetupViewModel viewModel(fixture::fakeRunner(), m_bundle, &m_alerts, &m_desktop, details);
            QVERIFY(viewModel.generate());
            QTRY_VERIFY_WITH_TIMEOUT(viewModel.isProjectCreationDone(), 30000);
            QCOMPARE(viewModel.steps().size(), 2); // post-generation, Arkana
            QCOMPARE(viewModel.steps().first().kind, GenerationStepKind::postGeneration);
            QVERIFY(viewModel.hasFailedSteps()); // no folder to write the Podfile into
            QCOMPARE(viewModel.steps().last().outcome, GenerationStep::Outcome::skipped);
        }
    }

    // A screen closed in the middle of the run: the run ends on its own and
    // its results are dropped.
    void viewModelGoneDuringRun()
    {
        QTemporaryDir work;
        auto details = fixture::newProject(work.filePath(QStringLiteral("Projects")));
        auto viewModel = std::make_unique<ProjectSetupViewModel>(fixture::fakeRunner(), m_bundle, &m_alerts, &m_desktop, details);
        QVERIFY(viewModel->generate());
        viewModel->checkPods();
        viewModel.reset();
        QVERIFY(ProjectSetupViewModel::waitForBackgroundTasks(30000));
        QVERIFY(QFileInfo(details.projectRoot() + QStringLiteral("/Orbit/OrbitApp.swift")).isFile());
        QTest::qWait(100); // the dropped results are delivered to nobody
    }
};

QTEST_GUILESS_MAIN(TestProjectSetupViewModel)
#include "TestProjectSetupViewModel.moc"
