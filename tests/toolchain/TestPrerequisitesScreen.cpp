#include "app/widgets/BaseView.h"
#include "toolchain/CommandRunner.h"
#include "toolchain/PreProjectSetupView.h"
#include "toolchain/PreProjectSetupViewModel.h"
#include "toolchain/terminal/TerminalViewRepresentable.h"

#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest>

using namespace plinth;

namespace {

DependencyCheck everyToolPresent(bool exceptPods = false)
{
    DependencyCheck check;
    for (PreRequisite tool : allPreRequisites)
        check.scriptVerdicts[static_cast<size_t>(tool)] = !(exceptPods && tool == PreRequisite::cocoaPods);
    return check;
}

QStringList symbols(const PreProjectSetupView &view)
{
    QStringList names;
    for (QLabel *symbol : view.findChildren<QLabel *>(QStringLiteral("symbol")))
        names << symbol->property("symbolName").toString();
    return names;
}

} // namespace

class TestPrerequisitesScreen : public QObject
{
    Q_OBJECT

private slots:
    // Shown: every row grey, Next off, the first check under way at once and
    // the timer running. A missing tool: its cross and the install element.
    // Every tool there: ticks and Next on, the terminal off the screen while
    // what its shell runs goes on to the end; missing again: a new terminal.
    // (The walk from a check that finds every tool is TestWizardFlow's.)
    void followsTheStateInBothDirections()
    {
        QTemporaryDir world;
        auto runner = std::make_shared<CommandRunner>();
        runner->setToolchainSearchPath(world.filePath("no-tools"));
        auto view = std::make_unique<PreProjectSetupView>(
            std::make_unique<PreProjectSetupViewModel>(runner, ResourceBundle(world.filePath("empty-bundle"))));
        view->show();
        PreProjectSetupViewModel *model = view->viewModel();
        QCOMPARE(symbols(*view), QStringList(6, QStringLiteral("minus.circle.fill")));
        QVERIFY(!view->frame()->nextButton()->isEnabled());
        QVERIFY(model->isCheckRunning());
        QVERIFY(model->isTimerRunning());
        QTRY_COMPARE_WITH_TIMEOUT(model->preProjectSetupState(), PreProjectSetupStates::dependenciesNotFound, 4000);

        model->updatePreRequisiteList(everyToolPresent(true));
        model->updatePreProjectSetupState(everyToolPresent(true));
        QVERIFY(!view->frame()->nextButton()->isEnabled());
        QCOMPARE(symbols(*view).count(QStringLiteral("xmark")), 1);
        auto *terminal = view->findChild<TerminalViewRepresentable *>(QStringLiteral("installElement"));
        QVERIFY(terminal);
        QTRY_VERIFY(terminal->terminal()); // its shell starts when it is first shown
        QCOMPARE(terminal->command(), QStringLiteral("bash \r")); // the script is absent from this bundle
        const QString marker = world.filePath("marker");
        QTest::keyClicks(terminal->terminal(), "sleep 1 && touch '" + marker + "'");
        QTest::keyClick(terminal->terminal(), Qt::Key_Return);

        model->updatePreRequisiteList(everyToolPresent());
        model->updatePreProjectSetupState(everyToolPresent());
        QCOMPARE(symbols(*view), QStringList(6, QStringLiteral("checkmark")));
        QVERIFY(view->frame()->nextButton()->isEnabled());
        QVERIFY(!view->findChild<QWidget *>(QStringLiteral("installElement")));
        QVERIFY(!terminal->isVisible());
        QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(marker), 10000);
        QVERIFY(terminal->terminal()->process().isRunning());

        model->updatePreProjectSetupState(everyToolPresent(true));
        auto *again = view->findChild<TerminalViewRepresentable *>(QStringLiteral("installElement"));
        QVERIFY(again && again != terminal);
        QTRY_VERIFY(again->isVisible());
        view->hide();
        QVERIFY(!model->isTimerRunning());
    }
};

QTEST_MAIN(TestPrerequisitesScreen)
#include "TestPrerequisitesScreen.moc"
