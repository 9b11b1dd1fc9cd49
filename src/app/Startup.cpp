#include "app/Startup.h"

#include "app/AlertPanelController.h"
#include "app/AppDelegate.h"
#include "toolchain/PreProjectSetupView.h"

#include <QApplication>
#include <QTimer>

namespace plinth {

void prepareApplication(AppDelegate &delegate)
{
    QApplication::setApplicationName(QStringLiteral("Plinth"));
    QApplication::setApplicationVersion(QStringLiteral(PLINTH_VERSION));
    QApplication::setOrganizationName(QStringLiteral("Tarnwick"));
    // Hiding or closing windows never ends the application; the frame's close
    // button does.
    QApplication::setQuitOnLastWindowClosed(false);

    AlertPanelController::setFirstScreenFactory([] { return PreProjectSetupView::makeFirstScreen(); });
    QTimer::singleShot(0, &delegate, &AppDelegate::applicationDidFinishLaunching);
}

} // namespace plinth
