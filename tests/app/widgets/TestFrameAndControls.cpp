#include "app/widgets/AlertPanelController.h"
#include "app/widgets/BaseView.h"
#include "app/widgets/CustomNSPanel.h"

#include <QComboBox>
#include <QDialog>
#include <QLabel>
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

    // The option chosen in the pop-up list (the first one preselected)
    // reaches the completion when OK is pressed.
    void alertHandsTheChosenOptionToItsCompletion()
    {
        AlertPanelController &controller = AlertPanelController::shared();
        controller.applicationWindow()->show();
        QVERIFY(QTest::qWaitForWindowExposed(controller.applicationWindow()));

        std::optional<QString> chosen;
        controller.showAlert(QStringLiteral("Title"), QStringLiteral("Message"),
                             {QStringLiteral("Development"), QStringLiteral("Production")},
                             [&](const QString &option) { chosen = option; });
        QDialog *alert = controller.currentAlert();
        QVERIFY(alert);
        QVERIFY(alert->isVisible());
        QCOMPARE(alert->windowModality(), Qt::WindowModal);
        QCOMPARE(alert->parentWidget(), controller.applicationWindow());
        QCOMPARE(alert->findChild<QLabel *>(QStringLiteral("alertTitle"))->text(), QStringLiteral("Title"));
        auto *list = alert->findChild<QComboBox *>(QStringLiteral("alertOptions"));
        QCOMPARE(list->currentIndex(), 0);
        list->setCurrentIndex(1);
        QVERIFY(!chosen);
        QTest::mouseClick(alert->findChild<QPushButton *>(QStringLiteral("alertOK")), Qt::LeftButton);
        QCOMPARE(chosen, std::optional<QString>(QStringLiteral("Production")));
    }

    // Most alerts have no options and no completion.
    void alertWithoutCompletionCloses()
    {
        AlertPanelController &controller = AlertPanelController::shared();
        controller.showAlert(QStringLiteral("T"), QStringLiteral("M"), {}, nullptr);
        QPointer<QDialog> alert = controller.currentAlert();
        QVERIFY(alert);
        QVERIFY(alert->isVisible());
        QTest::keyClick(alert.data(), Qt::Key_Return);
        QTRY_VERIFY(!alert);
    }

    // A question answers the index of the button pressed; the first (the
    // safe one) has the focus and is what Return and Escape answer. Its
    // message is plain text, whatever a file name in it looks like.
    void questionAnswersTheButtonPressed_data()
    {
        QTest::addColumn<int>("key"); // 0: the second button is clicked
        QTest::addColumn<int>("expected");
        QTest::newRow("Escape") << int(Qt::Key_Escape) << 0;
        QTest::newRow("Return") << int(Qt::Key_Return) << 0;
        QTest::newRow("second button") << 0 << 1;
    }
    void questionAnswersTheButtonPressed()
    {
        QFETCH(int, key);
        QFETCH(int, expected);
        AlertPanelController &controller = AlertPanelController::shared();
        int answer = -1;
        controller.askQuestion(QStringLiteral("T"), QStringLiteral("<b>Podfile</b>"), {"Go back", "Continue"},
                               [&answer](int chosen) { answer = chosen; });
        QPointer<QDialog> alert = controller.currentAlert();
        QVERIFY(alert);
        QCOMPARE(alert->findChild<QLabel *>(QStringLiteral("alertMessage"))->textFormat(), Qt::PlainText);
        auto *first = alert->findChild<QPushButton *>(QStringLiteral("alertButton0"));
        QCOMPARE(first->text(), "Go back");
        QTRY_VERIFY(first->hasFocus());
        if (key)
            QTest::keyClick(QApplication::focusWidget(), Qt::Key(key));
        else
            QTest::mouseClick(alert->findChild<QPushButton *>(QStringLiteral("alertButton1")), Qt::LeftButton);
        QTRY_VERIFY(!alert);
        QCOMPARE(answer, expected);
    }
};

QTEST_MAIN(TestFrameAndControls)
#include "TestFrameAndControls.moc"
