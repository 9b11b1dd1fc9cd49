#include "app/Startup.h"

#include "app/AppDelegate.h"
#include "app/ScreenFlow.h"
#include "app/base/BuildInfo.h"
#include "app/widgets/AlertPanelController.h"
#include "app/widgets/ApplicationDesktop.h"
#include "app/widgets/FolderPanel.h"
#include "catalogs/SupplementalPodsPage.h"

#include <QApplication>
#include <QTimer>

namespace plinth {

WizardContext applicationWizardContext()
{
    static ApplicationDesktop desktop;
    static SharedPanelAlerts alerts;
    return WizardContext{std::make_shared<const CommandRunner>(),
                         ResourceBundle::main(),
                         &alerts,
                         &desktop,
                         chooseFolderWithPanel,
                         QUrl(QString::fromLatin1(supplementalPodsListURL)),
                         &currentProjectDetails()};
}

void prepareApplication(AppDelegate &delegate)
{
    QApplication::setApplicationName(QStringLiteral("Plinth"));
    QApplication::setApplicationVersion(QString::fromLatin1(buildInfo::version));
    QApplication::setOrganizationName(QStringLiteral("Tarnwick"));
    // Hiding or closing windows never ends the application; the frame's close
    // button does.
    QApplication::setQuitOnLastWindowClosed(false);

    static ScreenFlow *const flow = new ScreenFlow(applicationWizardContext(), qApp);
    AlertPanelController::setFirstScreenFactory([] { return flow->makeFirstScreen(); });
    QTimer::singleShot(0, &delegate, &AppDelegate::applicationDidFinishLaunching);
}

} // namespace plinth
