#include "app/FakeServices.h"
#include "app/base/TextCatalog.h"
#include "generation/GenerationFixture.h"
#include "generation/ProjectSetupViewModel.h"

#include "tools/TestFiles.h"

#include <QSignalSpy>
#include <QThreadPool>
#include <QTemporaryDir>
#include <QtTest>

using namespace plinth;
using namespace std::chrono_literals;

namespace {

/// The fake toolchain with `xcodegen` replaced by `script`, kept in `folder`;
/// every call may run 3 seconds.
std::shared_ptr<CommandRunner> runnerWithXcodeGen(const QString &folder, const QByteArray &script)
{
    if (!test::writeFile(folder + QStringLiteral("/xcodegen"), "#!/bin/sh\n" + script, true))
        return {};
    auto runner = fixture::fakeRunner();
    runner->setToolchainSearchPath(folder + QLatin1Char(':') + runner->toolchainSearchPath());
    runner->setTimeLimits({3s, 3s, 3s});
    return runner;
}

} // namespace

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

    // What the wizard's walk (TestWizardFlow) does not show: one run per
    // screen, a pod removed after the installation, the polling stopped by
    // Finish. (Finish without a workspace from the screen is
    // TestGenerationScreen's; its alerts are finishTellsMissingFromUnopened's.)
    void newProjectEndToEnd()
    {
        QTemporaryDir work;
        auto details = fixture::newProject(work.filePath(QStringLiteral("Projects")));
        ProjectSetupViewModel viewModel(fixture::fakeRunner(), m_bundle, &m_alerts, &m_desktop, details);
        QVERIFY(viewModel.generate());
        QVERIFY(viewModel.isGenerating());
        QVERIFY(!viewModel.generate());
        QTRY_VERIFY_WITH_TIMEOUT(viewModel.isProjectCreationDone(), 30000);
        QVERIFY(!viewModel.isGenerating() && !viewModel.hasFailedSteps());

        QSignalSpy ready(&viewModel, &ProjectSetupViewModel::shouldGoToNextChanged);
        viewModel.startPodPolling();
        viewModel.checkPods();
        QTest::qWait(200);
        QVERIFY(!viewModel.shouldGoToNext());
        // What the installation leaves (TestWizardFlow runs it in the
        // terminal).
        for (const char *made : {"/Pods/SwiftLint", "/Pods/R.swift", "/Orbit.xcworkspace"})
            QVERIFY(QDir().mkpath(viewModel.projectRoot() + QLatin1String(made)));
        viewModel.checkPods();
        QTRY_VERIFY(viewModel.shouldGoToNext());
        QVERIFY(QDir(viewModel.projectRoot() + QStringLiteral("/Pods/R.swift")).removeRecursively());
        viewModel.checkPods();
        QTRY_VERIFY(!viewModel.shouldGoToNext());
        QCOMPARE(ready.size(), 2);

        viewModel.finish();
        QCOMPARE(m_desktop.opened, QStringList{details.projectRoot() + QStringLiteral("/Orbit.xcworkspace")});
        QCOMPARE(m_desktop.quits, 1);
        QVERIFY(!viewModel.timer().isActive() && m_alerts.shown.isEmpty());
    }

    // Every library a Swift package: no Podfile, nothing to wait for once
    // XcodeGen has made the project, and Finish opens the Xcode project.
    void swiftPackagesProjectOpensItsXcodeProject()
    {
        QTemporaryDir work;
        auto details = fixture::newProject(work.filePath(QStringLiteral("Projects")));
        details.dependencyManager = DependencyManager::swiftPackageManager;
        details.doesIncludeArkana = false;
        ProjectSetupViewModel viewModel(fixture::fakeRunner(), m_bundle, &m_alerts, &m_desktop, details);
        QVERIFY(viewModel.generate());
        QTRY_VERIFY_WITH_TIMEOUT(viewModel.isProjectCreationDone(), 30000);
        QVERIFY2(!viewModel.hasFailedSteps(), qPrintable(m_alerts.shown.join('\n')));
        QVERIFY(!QFileInfo::exists(viewModel.projectRoot() + QStringLiteral("/Podfile")));
        viewModel.checkPods();
        QTRY_VERIFY(viewModel.shouldGoToNext());
        viewModel.finish();
        QCOMPARE(m_desktop.opened, QStringList{details.projectRoot() + QStringLiteral("/Orbit.xcodeproj")});
    }

    // Finish with nothing at the path to open, or with a project there that
    // no application takes: each its own alert naming the path, then quit.
    void finishTellsMissingFromUnopened_data()
    {
        QTest::addColumn<bool>("packages");
        QTest::addColumn<bool>("made");
        QTest::addColumn<bool>("canOpen");
        QTest::addColumn<QString>("alert");
        const QString missing = text(key::projectCreationFailed) + QLatin1Char('|')
                                + text(key::projectCreationFailedErrorMessage, QStringLiteral("%1"));
        const QString unopened = text(key::projectCouldNotBeOpened) + QLatin1Char('|')
                                 + text(key::projectCouldNotBeOpenedMessage, QStringLiteral("%1"));
        QTest::newRow("workspace missing") << false << false << true << missing;
        QTest::newRow("Xcode project missing") << true << false << true << missing;
        QTest::newRow("workspace no application opens") << false << true << false << unopened;
        QTest::newRow("Xcode project no application opens") << true << true << false << unopened;
    }

    void finishTellsMissingFromUnopened()
    {
        QFETCH(bool, packages);
        QFETCH(bool, made);
        QFETCH(bool, canOpen);
        QFETCH(QString, alert);
        QTemporaryDir work;
        auto details = fixture::newProject(work.filePath(QStringLiteral("Projects")));
        if (packages) {
            details.dependencyManager = DependencyManager::swiftPackageManager;
            details.doesIncludeArkana = false;
        }
        ProjectSetupViewModel viewModel(fixture::fakeRunner(), m_bundle, &m_alerts, &m_desktop, details);
        const QString path = viewModel.openPath();
        QVERIFY(path.endsWith(packages ? QStringLiteral("/Orbit.xcodeproj") : QStringLiteral("/Orbit.xcworkspace")));
        QVERIFY(!made || QDir().mkpath(path));
        m_desktop.canOpen = canOpen;
        viewModel.finish();
        QCOMPARE(m_alerts.shown, QStringList{alert.arg(path)});
        QCOMPARE(m_desktop.opened, made ? QStringList{path} : QStringList());
        QCOMPARE(m_desktop.quits, 0);
        m_alerts.dismiss();
        QCOMPARE(m_desktop.quits, 1);
    }

    // Pod checks run side by side on the pool while the Pods folder comes
    // and goes; whatever order they end in, the last one started decides.
    void podChecksRaceTheFolderRemoval()
    {
        QTemporaryDir work;
        auto details = fixture::newProject(work.path());
        details.userSelectedPods = {QStringLiteral("SwiftLint")};
        ProjectSetupViewModel viewModel(fixture::fakeRunner(), m_bundle, &m_alerts, &m_desktop, details);
        const QString pods = details.projectRoot() + QStringLiteral("/Pods");
        for (int round = 0; round < 40; ++round) {
            QVERIFY(QDir().mkpath(pods + QStringLiteral("/SwiftLint")));
            viewModel.checkPods();
            viewModel.checkPods();
            QVERIFY(QDir(pods).removeRecursively());
            viewModel.checkPods();
        }
        QVERIFY(QThreadPool::globalInstance()->waitForDone(20000));
        QCoreApplication::sendPostedEvents();
        QVERIFY(!viewModel.shouldGoToNext());
    }

    // An XcodeGen that hangs: its step fails and says why, the
    // later steps run, and the run ends so that the screen can be left. A
    // screen closed while XcodeGen hangs: the run ends on its own and its
    // results (a pod check's too) are dropped. (The existing project's steps
    // and their failures are TestGenerationRun's.)
    void xcodeGenThatDoesNotEnd_data()
    {
        QTest::addColumn<QByteArray>("script");
        QTest::addColumn<QString>("reason"); // empty: the screen closes during the run
        QTest::newRow("sleeps for ever") << QByteArray("echo stuck; sleep 600\n")
                                         << "stuck\nThe command timed out after 3 seconds";
        QTest::newRow("screen closed meanwhile") << QByteArray("sleep 600\n") << "";
    }

    void xcodeGenThatDoesNotEnd()
    {
        QFETCH(QByteArray, script);
        QFETCH(QString, reason);
        QTemporaryDir work;
        const auto runner = runnerWithXcodeGen(work.filePath(QStringLiteral("tools")), script);
        QVERIFY(runner);
        auto details = fixture::newProject(work.filePath(QStringLiteral("Projects")));
        auto viewModel = std::make_unique<ProjectSetupViewModel>(runner, m_bundle, &m_alerts, &m_desktop, details);
        QSignalSpy recorded(viewModel.get(), &ProjectSetupViewModel::stepRecorded);
        QVERIFY(viewModel->generate());
        if (reason.isEmpty()) {
            QTRY_COMPARE_WITH_TIMEOUT(recorded.size(), 4, 20000); // XcodeGen runs now
            viewModel->checkPods();
            viewModel.reset();
            QVERIFY(ProjectSetupViewModel::waitForBackgroundTasks(30000));
            QVERIFY(QFileInfo(details.projectRoot() + QStringLiteral("/Orbit/OrbitApp.swift")).isFile());
            QTest::qWait(100); // the dropped results are delivered to nobody
            return;
        }
        QTRY_VERIFY_WITH_TIMEOUT(viewModel->isProjectCreationDone(), 30000);
        QCOMPARE(viewModel->steps().size(), 7);
        const std::optional<GenerationStep> failed = viewModel->firstFailedStep();
        QVERIFY(failed && failed->kind == GenerationStepKind::xcodeGen);
        QVERIFY2(failed->detail.contains(QRegularExpression(reason)), qPrintable(failed->detail));
        QCOMPARE(viewModel->steps().last().kind, GenerationStepKind::instantiation);
    }
};

QTEST_GUILESS_MAIN(TestProjectSetupViewModel)
#include "TestProjectSetupViewModel.moc"
