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
};

QTEST_MAIN(TestFrameAndControls)
#include "TestFrameAndControls.moc"
