#include "app/AppDelegate.h"

#include "app/UpdateChecker.h"
#include "app/base/BuildInfo.h"
#include "app/base/DebugConsole.h"
#include "app/widgets/AlertPanelController.h"
#include "app/widgets/CustomNSPanel.h"

#include <QTimer>
#include <QUrl>

namespace plinth {

namespace {
constexpr int updateCheckDelayMilliseconds = 500;
} // namespace

void AppDelegate::applicationDidFinishLaunching()
{
    // The update check is started but never waited for; its answer is only
    // written to the console. Setting up TLS costs the main thread some
    // 20 ms, so the request goes out once the panel has had time to paint.
    QTimer::singleShot(updateCheckDelayMilliseconds, this, [] {
        UpdateChecker::shared().performManualMacAppVersionCheck(
            QUrl(QString::fromLatin1(buildInfo::releaseFeedURL)), false,
            [](const KWVersionInfo &info) { debugConsole(info.description()); });
    });

    CustomNSPanel *panel = AlertPanelController::shared().applicationWindow();
    panel->show();
    panel->raise();
    panel->activateWindow();
}

} // namespace plinth
