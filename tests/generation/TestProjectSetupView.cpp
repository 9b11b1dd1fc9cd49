#include "app/BaseView.h"
#include "app/FakeServices.h"
#include "app/TextCatalog.h"
#include "generation/GenerationFixture.h"
#include "generation/ProjectSetupView.h"
#include "generation/ProjectSetupViewModel.h"
#include "toolchain/TerminalViewRepresentable.h"

#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest>

using namespace plinth;

namespace {

/// The accessible names of the rows' outcome symbols, in order.
QStringList stepOutcomes(const QWidget &view)
{
    QStringList outcomes;
    for (QLabel *symbol : view.findChildren<QLabel *>(QStringLiteral("stepSymbol")))
        outcomes << symbol->accessibleName();
    return outcomes;
}

} // namespace

class TestProjectSetupView : public QObject
{
    Q_OBJECT

    test::FakeDesktop m_desktop;
    test::FakeAlerts m_alerts;
    QTemporaryDir m_work;
    QString m_bundle;

    std::unique_ptr<ProjectSetupView> makeView(ProjectDetailsModel &details)
    {
        return std::make_unique<ProjectSetupView>(std::make_unique<ProjectSetupViewModel>(
            fixture::fakeRunner(), ResourceBundle(m_bundle), &m_alerts, &m_desktop, details));
    }

private slots:
    void initTestCase()
    {
        // The fixture template and post_gen.sh; an installation script that
        // does nothing, should the terminal get to type its command.
        m_bundle = fixture::makeFixtureBundle(m_work.filePath(QStringLiteral("bundle")));
        QFile install(m_bundle + QStringLiteral("/PodInstall.sh"));
        QVERIFY(install.open(QIODevice::WriteOnly | QIODevice::Truncate));
        install.write("#!/bin/bash\nexit 0\n");
    }

    void runShowsProgressThenStepsAndTerminal()
    {
        QTemporaryDir work;
        auto details = fixture::newProject(work.filePath(QStringLiteral("Projects")));
        auto view = makeView(details);
        ProjectSetupViewModel *model = view->viewModel();
        QVERIFY(!model->isGenerating()); // nothing before the screen is shown
        view->show();
        QVERIFY(model->isGenerating());
        QVERIFY(model->timer().isActive());
        auto *progress = view->findChild<QProgressBar *>(QStringLiteral("generationProgress"));
        QVERIFY(progress->isVisible());
        QPushButton *finish = view->frame()->nextButton();
        QVERIFY(!finish->isEnabled());

        QTRY_VERIFY_WITH_TIMEOUT(model->isProjectCreationDone(), 30000);
        QVERIFY(!progress->isVisible());
        QCOMPARE(stepOutcomes(*view), QStringList(model->steps().size(), text(key::generationStepDone)));
        auto *terminal = view->findChild<TerminalViewRepresentable *>(QStringLiteral("podInstallTerminal"));
        QVERIFY(terminal);
        QCOMPARE(terminal->command(), model->podInstallCommand());
        QVERIFY(terminal->command().contains(m_bundle + QStringLiteral("/PodInstall.sh")));
        QVERIFY(!view->findChild<QLabel *>(QStringLiteral("generationFailedNotice"))->isVisible());

        QVERIFY(!finish->isEnabled()); // until the pods are there
        for (const QString &pod : details.userSelectedPods)
            QVERIFY(QDir().mkpath(details.projectRoot() + QStringLiteral("/Pods/") + pod));
        model->checkPods();
        QTRY_VERIFY(finish->isEnabled());
        view->hide();
        QVERIFY(!model->timer().isActive());
    }

    // The project root cannot be made (a file is where its folder should
    // be): the failed step with its reason, the later steps skipped, the
    // notice, no installation; Finish still works and quits after the
    // failure alert.
    void failedRunLetsTheUserLeave()
    {
        QTemporaryDir work;
        const QString destination = work.filePath(QStringLiteral("blocker"));
        QVERIFY(QFile(destination).open(QIODevice::WriteOnly));
        auto details = fixture::newProject(destination);
        auto view = makeView(details);
        view->show();
        QTRY_VERIFY_WITH_TIMEOUT(view->viewModel()->isProjectCreationDone(), 30000);

        QStringList outcomes(view->viewModel()->steps().size(), text(key::generationStepSkipped));
        outcomes.first() = text(key::generationStepFailed);
        QCOMPARE(stepOutcomes(*view), outcomes);
        const GenerationStep failed = view->viewModel()->steps().first();
        auto *detail = view->findChild<QLabel *>(QStringLiteral("stepDetail"));
        QVERIFY(detail);
        QTRY_VERIFY(detail->isVisible());
        QCOMPARE(detail->text(), failed.detail);
        QVERIFY(detail->textInteractionFlags() & Qt::TextSelectableByMouse);
        auto *notice = view->findChild<QLabel *>(QStringLiteral("generationFailedNotice"));
        QVERIFY(notice->isVisible());
        QCOMPARE(notice->text(), text(key::generationFailedNotice, text(key::generationStepProjectRoot)));
        QVERIFY(!view->findChild<TerminalViewRepresentable *>());
        QVERIFY(!view->findChild<QWidget *>(QStringLiteral("podInstallStarter")));

        QPushButton *finish = view->frame()->nextButton();
        QVERIFY(finish->isEnabled());
        QTest::mouseClick(finish, Qt::LeftButton);
        QCOMPARE(m_alerts.shown, QStringList{text(key::projectCreationFailed) + QLatin1Char('|')
                                             + text(key::projectCreationFailedErrorMessage)});
        QCOMPARE(m_desktop.quits, 0);
        m_alerts.dismiss();
        QCOMPARE(m_desktop.quits, 1);
    }
};

QTEST_MAIN(TestProjectSetupView)
#include "TestProjectSetupView.moc"
