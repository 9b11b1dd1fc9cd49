#include "app/widgets/BaseView.h"
#include "toolchain/CommandRunner.h"
#include "toolchain/PreProjectSetupView.h"
#include "toolchain/PreProjectSetupViewModel.h"
#include "toolchain/terminal/TerminalViewRepresentable.h"

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
    // Checking: every row grey, Next off, the timer running while shown. A
    // missing tool: its cross and the install element. Every tool there:
    // ticks and Next on, the install element gone. (The walk from a check
    // that finds every tool is TestWizardFlow's.)
    void followsTheStateInBothDirections()
    {
        QTemporaryDir emptyBundle;
        auto view = std::make_unique<PreProjectSetupView>(std::make_unique<PreProjectSetupViewModel>(
            std::make_shared<const CommandRunner>(), ResourceBundle(emptyBundle.path())));
        view->show();
        PreProjectSetupViewModel *model = view->viewModel();
        QCOMPARE(symbols(*view), QStringList(6, QStringLiteral("minus.circle.fill")));
        QVERIFY(!view->frame()->nextButton()->isEnabled());
        QVERIFY(model->isTimerRunning());

        model->updatePreRequisiteList(everyToolPresent(true));
        model->updatePreProjectSetupState(everyToolPresent(true));
        QVERIFY(!view->frame()->nextButton()->isEnabled());
        QCOMPARE(symbols(*view).count(QStringLiteral("xmark")), 1);
        auto *terminal = view->findChild<TerminalViewRepresentable *>(QStringLiteral("installElement"));
        QVERIFY(terminal);
        QCOMPARE(terminal->command(), QStringLiteral("bash \r")); // the script is absent from this bundle

        model->updatePreRequisiteList(everyToolPresent());
        model->updatePreProjectSetupState(everyToolPresent());
        QCOMPARE(symbols(*view), QStringList(6, QStringLiteral("checkmark")));
        QVERIFY(view->frame()->nextButton()->isEnabled());
        QVERIFY(!view->findChild<QWidget *>(QStringLiteral("installElement")));
        view->hide();
        QVERIFY(!model->isTimerRunning());
    }
};

QTEST_MAIN(TestPrerequisitesScreen)
#include "TestPrerequisitesScreen.moc"
