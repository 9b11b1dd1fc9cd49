#include "app/AppDelegate.h"
#include "app/Startup.h"
#include "app/base/BuildInfo.h"
#include "app/widgets/AlertPanelController.h"
#include "app/widgets/CustomNSPanel.h"
#include "app/widgets/ScreenStack.h"
#include "toolchain/PreProjectSetupView.h"

#include <QApplication>
#include <QProcess>
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

    void helpAndVersionAnswerWithoutAWindow_data()
    {
        QTest::addColumn<QString>("option");
        QTest::addColumn<QString>("expected");
        QTest::newRow("help") << "--help" << "Usage:";
        QTest::newRow("version") << "--version" << QStringLiteral("Plinth ") + QLatin1String(buildInfo::version);
    }

    void helpAndVersionAnswerWithoutAWindow()
    {
        QFETCH(QString, option);
        QFETCH(QString, expected);
        QProcess plinth;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.remove(QStringLiteral("QT_QPA_PLATFORM"));
        environment.remove(QStringLiteral("DISPLAY"));
        environment.remove(QStringLiteral("WAYLAND_DISPLAY"));
        plinth.setProcessEnvironment(environment);
        plinth.start(QStringLiteral(PLINTH_APP), {option});
        QVERIFY(plinth.waitForFinished(20000));
        QCOMPARE(plinth.exitCode(), 0);
        QVERIFY(QString::fromUtf8(plinth.readAllStandardOutput()).contains(expected));
    }
};

QTEST_MAIN(TestStartUp)
#include "TestStartUp.moc"
