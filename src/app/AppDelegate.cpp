#include "app/AppDelegate.h"

#include "app/AlertPanelController.h"
#include "app/CustomNSPanel.h"
#include "app/DebugConsole.h"
#include "app/UpdateChecker.h"

#include <QUrl>

namespace plinth {

void AppDelegate::applicationDidFinishLaunching()
{
    // The launch never waits for the answer; it is only written to the console.
    UpdateChecker::shared().performManualMacAppVersionCheck(
        QUrl(QString::fromLatin1(UpdateChecker::releaseFeedURL)), false,
        [](const KWVersionInfo &info) { debugConsole(info.description()); });

    CustomNSPanel *panel = AlertPanelController::shared().applicationWindow();
    panel->show();
    panel->raise();
    panel->activateWindow();
}

} // namespace plinth
