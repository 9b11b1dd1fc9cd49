#include "app/FakeServices.h"
#include "app/base/TextCatalog.h"
#include "app/widgets/BaseView.h"
#include "generation/GenerationFixture.h"
#include "generation/ProjectSetupView.h"
#include "generation/ProjectSetupViewModel.h"

#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest>

using namespace plinth;

class TestGenerationScreen : public QObject
{
    Q_OBJECT

    test::FakeDesktop m_desktop;
    test::FakeAlerts m_alerts;

private slots:
    // The run starts when the screen is shown, with the progress bar, then
    // each step's outcome. When the project root cannot be made (a file is
    // where its folder should be): the failed step with its reason, the
    // later steps skipped, the notice and no installation; Finish still
    // works and shows the failure alert. (A run that goes through, its
    // terminal and Finish are TestWizardFlow's; the polling stopped by Finish
    // and the quit after the alert are TestProjectSetupViewModel's.)
    void blockedRunShowsItsOutcome()
    {
        QTemporaryDir work;
        const QString bundle = fixture::makeFixtureBundle(work.filePath(QStringLiteral("bundle")));
        const QString destination = work.filePath(QStringLiteral("Projects"));
        QVERIFY(QFile(destination).open(QIODevice::WriteOnly));
        auto details = fixture::newProject(destination);
        ProjectSetupView view(std::make_unique<ProjectSetupViewModel>(fixture::fakeRunner(), ResourceBundle(bundle),
                                                                      &m_alerts, &m_desktop, details));
        ProjectSetupViewModel *model = view.viewModel();
        QVERIFY(!model->isGenerating());
        view.show();
        QVERIFY(model->isGenerating() && model->timer().isActive());
        auto *progress = view.findChild<QProgressBar *>(QStringLiteral("generationProgress"));
        QPushButton *finish = view.frame()->nextButton();
        QVERIFY(progress->isVisible() && !finish->isEnabled());
        QTRY_VERIFY_WITH_TIMEOUT(model->isProjectCreationDone(), 30000);
        QVERIFY(!progress->isVisible());

        QStringList outcomes;
        for (QLabel *symbol : view.findChildren<QLabel *>(QStringLiteral("stepSymbol")))
            outcomes << symbol->accessibleName();
        QStringList expected(model->steps().size(), text(key::generationStepSkipped));
        expected.first() = text(key::generationStepFailed);
        QCOMPARE(outcomes, expected);
        auto *notice = view.findChild<QLabel *>(QStringLiteral("generationFailedNotice"));
        QVERIFY(notice->isVisible() && finish->isEnabled());
        QVERIFY(!view.findChild<QWidget *>(QStringLiteral("podInstallTerminal")));
        QVERIFY(!view.findChild<QWidget *>(QStringLiteral("podInstallStarter")));
        QCOMPARE(notice->text(), text(key::generationFailedNotice, text(key::generationStepProjectRoot)));
        auto *detail = view.findChild<QLabel *>(QStringLiteral("stepDetail"));
        QTRY_VERIFY(detail && detail->isVisible());
        QCOMPARE(detail->text(), model->steps().first().detail);
        QVERIFY(detail->textInteractionFlags() & Qt::TextSelectableByMouse);

        QTest::mouseClick(finish, Qt::LeftButton);
        QCOMPARE(m_alerts.shown, QStringList{text(key::projectCreationFailed) + QLatin1Char('|')
                                             + text(key::projectCreationFailedErrorMessage, model->openPath())});
    }
};

QTEST_MAIN(TestGenerationScreen)
#include "TestGenerationScreen.moc"
