#include "app/widgets/AlertPanelController.h"
#include "app/widgets/BaseView.h"
#include "app/widgets/CustomNSPanel.h"

#include <QComboBox>
#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QtTest>

using namespace plinth;

namespace {

QWidget *makeFirstScreen()
{
    auto *frame = new BaseView(new QLabel(QStringLiteral("first")));
    frame->setObjectName(QStringLiteral("firstScreen"));
    frame->setNextButton(QStringLiteral("Next"), [] {});
    return frame;
}

} // namespace

class TestFrameAndControls : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        AlertPanelController::setFirstScreenFactory(makeFirstScreen);
    }

    void buttonsAppearOnlyWithATitle_data()
    {
        QTest::addColumn<bool>("cancel");
        QTest::addColumn<bool>("previous");
        QTest::addColumn<bool>("next");
        QTest::newRow("none") << false << false << false;
        QTest::newRow("only next") << false << false << true;
        QTest::newRow("previous and next") << false << true << true;
        QTest::newRow("all three") << true << true << true;
    }

    void buttonsAppearOnlyWithATitle()
    {
        QFETCH(bool, cancel);
        QFETCH(bool, previous);
        QFETCH(bool, next);
        BaseView frame(new QLabel);
        if (cancel)
            frame.setCancelButtonTitle(QStringLiteral("anything"));
        if (previous)
            frame.setPreviousButton(QStringLiteral("Previous"), [] {});
        if (next)
            frame.setNextButton(QStringLiteral("Next"), [] {});
        frame.show();
        QVERIFY(QTest::qWaitForWindowExposed(&frame));
        QCOMPARE(frame.cancelButton()->isVisible(), cancel);
        QCOMPARE(frame.previousButton()->isVisible(), previous);
        QCOMPARE(frame.nextButton()->isVisible(), next);
        if (cancel)
            QCOMPARE(frame.cancelButton()->text(), QStringLiteral("Cancel")); // the catalog's text, not the given one
    }

    // A disabled Next ignores clicks and Return; an enabled one takes both,
    // also while a text field in the screen has the focus.
    void nextIsTheDefaultButtonOnlyWhileEnabled()
    {
        auto *field = new QLineEdit;
        BaseView frame(field);
        int pressed = 0;
        frame.setNextButton(QStringLiteral("Next"), [&] { ++pressed; });
        frame.setShouldDisableNextButton(true);
        frame.show();
        QVERIFY(QTest::qWaitForWindowActive(&frame));
        field->setFocus();
        QTest::mouseClick(frame.nextButton(), Qt::LeftButton);
        QTest::keyClick(field, Qt::Key_Return);
        QCOMPARE(pressed, 0);

        frame.setShouldDisableNextButton(false);
        QTest::keyClick(field, Qt::Key_Return);
        QCOMPARE(pressed, 1);
        QTest::mouseClick(frame.nextButton(), Qt::LeftButton);
        QCOMPARE(pressed, 2);
    }

    void alertHandsTheChosenOptionToItsCompletion_data()
    {
        QTest::addColumn<QStringList>("options");
        QTest::addColumn<int>("choose");
        QTest::addColumn<QString>("expected");
        QTest::newRow("no options") << QStringList{} << -1 << "";
        QTest::newRow("first preselected") << QStringList{"Development", "Production"} << -1 << "Development";
        QTest::newRow("second chosen") << QStringList{"Development", "Production"} << 1 << "Production";
    }

    void alertHandsTheChosenOptionToItsCompletion()
    {
        QFETCH(QStringList, options);
        QFETCH(int, choose);
        QFETCH(QString, expected);
        AlertPanelController &controller = AlertPanelController::shared();
        controller.applicationWindow()->show();
        QVERIFY(QTest::qWaitForWindowExposed(controller.applicationWindow()));

        std::optional<QString> chosen;
        controller.showAlert(QStringLiteral("Title"), QStringLiteral("Message"), options,
                             [&](const QString &option) { chosen = option; });
        QDialog *alert = controller.currentAlert();
        QVERIFY(alert);
        QVERIFY(alert->isVisible());
        QCOMPARE(alert->windowModality(), Qt::WindowModal);
        QCOMPARE(alert->parentWidget(), controller.applicationWindow());
        QCOMPARE(alert->findChild<QLabel *>(QStringLiteral("alertTitle"))->text(), QStringLiteral("Title"));
        auto *list = alert->findChild<QComboBox *>(QStringLiteral("alertOptions"));
        QCOMPARE(list != nullptr, !options.isEmpty());
        if (list) {
            QCOMPARE(list->currentIndex(), 0);
            if (choose >= 0)
                list->setCurrentIndex(choose);
        }
        QVERIFY(!chosen);
        QTest::mouseClick(alert->findChild<QPushButton *>(QStringLiteral("alertOK")), Qt::LeftButton);
        QVERIFY(chosen.has_value());
        QCOMPARE(*chosen, expected);
    }

    void alertWithoutCompletionCloses()
    {
        AlertPanelController &controller = AlertPanelController::shared();
        controller.showAlert(QStringLiteral("T"), QStringLiteral("M"), {QStringLiteral("a")}, nullptr);
        QPointer<QDialog> alert = controller.currentAlert();
        QVERIFY(alert);
        QVERIFY(alert->isVisible());
        QTest::keyClick(alert.data(), Qt::Key_Return);
        QTRY_VERIFY(!alert);
    }
};

QTEST_MAIN(TestFrameAndControls)
#include "TestFrameAndControls.moc"
