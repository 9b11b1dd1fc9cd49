#include "app/AppDelegate.h"
#include "app/Startup.h"
#include "app/widgets/AlertPanelController.h"
#include "app/widgets/CustomNSPanel.h"
#include "app/widgets/ScreenStack.h"
#include "toolchain/PreProjectSetupView.h"

#include <QApplication>
#include <QtTest>

using namespace plinth;

class TestStartUp : public QObject
{
    Q_OBJECT

private slots:
    // After launch the panel is the one visible window: 1000 by 600, showing
    // the prerequisite screen. The launch does not wait for the update check
    // (there is no network here).
    void launchShowsOnlyThePanelWithThePrerequisiteScreen()
    {
        AppDelegate delegate;
        prepareApplication(delegate);
        QVERIFY(!QApplication::quitOnLastWindowClosed());
        QTRY_VERIFY(AlertPanelController::shared().applicationWindow()->isVisible());

        QList<QWidget *> visible;
        for (QWidget *window : QApplication::topLevelWidgets()) {
            if (window->isVisible())
                visible << window;
        }
        QCOMPARE(visible.size(), 1);
        CustomNSPanel *panel = AlertPanelController::shared().applicationWindow();
        QCOMPARE(visible.first(), panel);
        QCOMPARE(panel->size(), QSize(1000, 600));
        QVERIFY(qobject_cast<PreProjectSetupView *>(panel->screenStack()->top()));
    }
};

QTEST_MAIN(TestStartUp)
#include "TestStartUp.moc"
