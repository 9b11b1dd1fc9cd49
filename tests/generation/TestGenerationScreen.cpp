#include "app/FakeServices.h"
#include "app/base/TextCatalog.h"
#include "app/widgets/BaseView.h"
#include "generation/GenerationFixture.h"
#include "generation/ProjectSetupView.h"
#include "generation/ProjectSetupViewModel.h"
#include "toolchain/terminal/TerminalViewRepresentable.h"
#include "tools/TestFiles.h"

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
    QTemporaryDir m_work;
    QString m_bundle;

private slots:
    void initTestCase()
    {
        // The fixture template and post_gen.sh; an installation script that
        // does nothing, should the terminal get to type its command.
        m_bundle = fixture::makeFixtureBundle(m_work.filePath(QStringLiteral("bundle")));
        QVERIFY(test::writeFile(m_bundle + QStringLiteral("/PodInstall.sh"), "#!/bin/bash\nexit 0\n", true));
    }

    // The run starts when the screen is shown, with the progress bar; then
    // each step's outcome. After a run that went through, the terminal
    // waits to install the pods and Finish waits for them. When the project
    // root cannot be made (a file is where its folder should be): the failed
    // step with its reason, the later steps skipped, the notice and no
    // installation; Finish still works and quits after the failure alert.
    void runShowsItsOutcome_data()
    {
        QTest::addColumn<bool>("blocked");
        QTest::newRow("every step done") << false;
        QTest::newRow("project root blocked") << true;
    }

    void runShowsItsOutcome()
    {
        QFETCH(bool, blocked);
        QTemporaryDir work;
        const QString destination = work.filePath(QStringLiteral("Projects"));
        if (blocked)
            QVERIFY(QFile(destination).open(QIODevice::WriteOnly));
        auto details = fixture::newProject(destination);
        ProjectSetupView view(std::make_unique<ProjectSetupViewModel>(fixture::fakeRunner(), ResourceBundle(m_bundle),
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
        QStringList expected(model->steps().size(), text(blocked ? key::generationStepSkipped : key::generationStepDone));
        if (blocked)
            expected.first() = text(key::generationStepFailed);
        QCOMPARE(outcomes, expected);
        auto *notice = view.findChild<QLabel *>(QStringLiteral("generationFailedNotice"));
        auto *terminal = view.findChild<TerminalViewRepresentable *>(QStringLiteral("podInstallTerminal"));
        QCOMPARE(notice->isVisible(), blocked);
        QCOMPARE(finish->isEnabled(), blocked);
        if (!blocked) { // TestWizardFlow runs the terminal's installation and Finish
            QVERIFY(terminal && terminal->command() == model->podInstallCommand());
            view.hide();
            QVERIFY(!model->timer().isActive());
            return;
        }
        QVERIFY(!terminal && !view.findChild<QWidget *>(QStringLiteral("podInstallStarter")));
        QCOMPARE(notice->text(), text(key::generationFailedNotice, text(key::generationStepProjectRoot)));
        auto *detail = view.findChild<QLabel *>(QStringLiteral("stepDetail"));
        QTRY_VERIFY(detail && detail->isVisible());
        QCOMPARE(detail->text(), model->steps().first().detail);
        QVERIFY(detail->textInteractionFlags() & Qt::TextSelectableByMouse);

        QTest::mouseClick(finish, Qt::LeftButton);
        QCOMPARE(m_alerts.shown, QStringList{text(key::projectCreationFailed) + QLatin1Char('|')
                                             + text(key::projectCreationFailedErrorMessage)});
        QCOMPARE(m_desktop.quits, 0);
        m_alerts.dismiss();
        QCOMPARE(m_desktop.quits, 1);
    }
};

QTEST_MAIN(TestGenerationScreen)
#include "TestGenerationScreen.moc"
