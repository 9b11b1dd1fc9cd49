#include "app/widgets/BaseView.h"
#include "toolchain/CommandRunner.h"
#include "toolchain/PreProjectSetupView.h"
#include "toolchain/PreProjectSetupViewModel.h"
#include "toolchain/terminal/TerminalViewRepresentable.h"

#include <QLabel>
#include <QProgressBar>
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

    QTemporaryDir m_emptyBundle;

    std::unique_ptr<PreProjectSetupView> makeView()
    {
        return std::make_unique<PreProjectSetupView>(std::make_unique<PreProjectSetupViewModel>(
            std::make_shared<const CommandRunner>(), ResourceBundle(m_emptyBundle.path())));
    }

private slots:
    // Checking: every row grey, the header and progress, Next off, the timer
    // running while shown. Ready: no header or progress, the ready text,
    // green ticks, Next on. A tool that goes away brings the install element
    // and the crosses back.
    void followsTheStateInBothDirections()
    {
        auto view = makeView();
        view->show();
        QCOMPARE(symbols(*view), QStringList(6, QStringLiteral("minus.circle.fill")));
        QVERIFY(!view->frame()->nextButton()->isEnabled());
        QVERIFY(view->findChild<QLabel *>(QStringLiteral("header"))->isVisible());
        QVERIFY(view->findChild<QProgressBar *>(QStringLiteral("progress"))->isVisible());
        QVERIFY(!view->findChild<QLabel *>(QStringLiteral("readyText"))->isVisible());
        QVERIFY(view->viewModel()->isTimerRunning());
        QVERIFY(!view->frame()->previousButton()->isVisible() && !view->frame()->cancelButton()->isVisible());

        PreProjectSetupViewModel *model = view->viewModel();
        model->updatePreRequisiteList(everyToolPresent());
        model->updatePreProjectSetupState(everyToolPresent());
        QCOMPARE(symbols(*view), QStringList(6, QStringLiteral("checkmark")));
        QVERIFY(view->frame()->nextButton()->isEnabled());
        QVERIFY(!view->findChild<QLabel *>(QStringLiteral("header"))->isVisible());
        QVERIFY(!view->findChild<QProgressBar *>(QStringLiteral("progress"))->isVisible());
        QVERIFY(view->findChild<QLabel *>(QStringLiteral("readyText"))->isVisible());
        QVERIFY(!view->findChild<QWidget *>(QStringLiteral("installElement")));

        model->updatePreRequisiteList(everyToolPresent(true));
        model->updatePreProjectSetupState(everyToolPresent(true));
        QVERIFY(!view->frame()->nextButton()->isEnabled());
        QCOMPARE(symbols(*view).count(QStringLiteral("xmark")), 1);
        QVERIFY(view->findChild<QLabel *>(QStringLiteral("header"))->isVisible());
        QVERIFY(view->findChild<QLabel *>(QStringLiteral("notFoundText"))->isVisible());
        auto *terminal = view->findChild<TerminalViewRepresentable *>(QStringLiteral("installElement"));
        QVERIFY(terminal);
        QCOMPARE(terminal->command(), QStringLiteral("bash \r")); // the script is absent from this bundle
        view->hide();
        QVERIFY(!model->isTimerRunning());
    }

};

QTEST_MAIN(TestPrerequisitesScreen)
#include "TestPrerequisitesScreen.moc"
