// Walks the new-project flow of the real window from the prerequisite screen
// to the generation screen and back, with the fake toolchain, a loopback copy
// of the library page and a temporary destination folder, and
//  - times every screen change (push or pop): from the flag that moves the
//    flow to the first paint of the new top screen (goal: 50 ms);
//  - with --screenshots DIR, saves a picture of every screen there
//    (<n>-<screen>-<light|dark>.png);
//  - with --dark, uses a dark palette (the Fusion style's colours inverted as
//    a dark desktop theme would).
// Run it under xvfb-run for real painting (the offscreen platform paints too).
#include "app/ScreenFlow.h"
#include "app/base/Desktop.h"
#include "app/base/FlagBinding.h"
#include "app/widgets/AlertPanelController.h"
#include "app/widgets/BaseView.h"
#include "app/widgets/CustomNSPanel.h"
#include "app/widgets/ScreenStack.h"
#include "catalogs/ExistingProjectModuleSelectionView.h"
#include "catalogs/ExistingProjectModuleSelectionViewModel.h"
#include "catalogs/PodSelectionView.h"
#include "catalogs/PodSelectionViewModel.h"
#include "generation/ProjectSetupView.h"
#include "generation/ProjectSetupViewModel.h"
#include "generation/ReviewView.h"
#include "generation/ReviewViewModel.h"
#include "project/ProjectDetailsInitialView.h"
#include "project/ProjectDetailsInitialViewModel.h"
#include "project/ProjectDetailsSubsequentView.h"
#include "project/ProjectDetailsSubsequentViewModel.h"
#include "project/ProjectTypeSelectionView.h"
#include "project/ProjectTypeSelectionViewModel.h"
#include "toolchain/PreProjectSetupView.h"
#include "toolchain/PreProjectSetupViewModel.h"
#include "tools/PageServer.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QPalette>
#include <QScreen>
#include <QStyleFactory>
#include <QTemporaryDir>
#include <QTimer>
#include <QWindow>

#include <algorithm>
#include <cstdio>
#include <functional>

using namespace plinth;

namespace {

class QuietDesktop : public Desktop
{
public:
    bool openFile(const QString &) override { return true; }
    void quit() override {}
};

/// Runs the event loop until `done` holds or `milliseconds` have passed.
bool waitFor(const std::function<bool()> &done, int milliseconds = 10000)
{
    QElapsedTimer clock;
    clock.start();
    while (!done()) {
        if (clock.elapsed() > milliseconds)
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    }
    return true;
}

/// Notes the first paint of any widget inside the watched screen.
class PaintWatch : public QObject
{
public:
    QWidget *screen = nullptr;
    qint64 paintedAt = -1;
    QElapsedTimer clock;

    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Paint && paintedAt < 0 && screen) {
            for (auto *widget = qobject_cast<QWidget *>(watched); widget; widget = widget->parentWidget()) {
                if (widget == screen) {
                    paintedAt = clock.nsecsElapsed();
                    break;
                }
            }
        }
        return QObject::eventFilter(watched, event);
    }
};

QPalette darkPalette()
{
    QPalette palette;
    palette.setColor(QPalette::Window, QColor(0x1E, 0x1E, 0x1E));
    palette.setColor(QPalette::WindowText, QColor(0xE6, 0xE6, 0xE6));
    palette.setColor(QPalette::Base, QColor(0x2A, 0x2A, 0x2C));
    palette.setColor(QPalette::AlternateBase, QColor(0x32, 0x32, 0x34));
    palette.setColor(QPalette::Text, QColor(0xE6, 0xE6, 0xE6));
    palette.setColor(QPalette::PlaceholderText, QColor(0x8E, 0x8E, 0x93));
    palette.setColor(QPalette::Button, QColor(0x3A, 0x3A, 0x3C));
    palette.setColor(QPalette::ButtonText, QColor(0xE6, 0xE6, 0xE6));
    palette.setColor(QPalette::Highlight, QColor(0x0A, 0x84, 0xFF));
    palette.setColor(QPalette::HighlightedText, Qt::white);
    palette.setColor(QPalette::ToolTipBase, QColor(0x2A, 0x2A, 0x2C));
    palette.setColor(QPalette::ToolTipText, QColor(0xE6, 0xE6, 0xE6));
    palette.setColor(QPalette::Disabled, QPalette::Text, QColor(0x7A, 0x7A, 0x7E));
    palette.setColor(QPalette::Disabled, QPalette::WindowText, QColor(0x7A, 0x7A, 0x7E));
    palette.setColor(QPalette::Disabled, QPalette::ButtonText, QColor(0x7A, 0x7A, 0x7E));
    return palette;
}

template <typename View>
View *topAs(ScreenStack *stack)
{
    return qobject_cast<View *>(stack->top());
}

} // namespace

int main(int argc, char *argv[])
{
    QApplication application(argc, argv);
    QString screenshots;
    bool dark = false;
    const QStringList arguments = QCoreApplication::arguments();
    for (int i = 1; i < arguments.size(); ++i) {
        if (arguments.at(i) == QLatin1String("--screenshots") && i + 1 < arguments.size())
            screenshots = arguments.at(++i);
        else if (arguments.at(i) == QLatin1String("--dark"))
            dark = true;
    }
    QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
    if (dark)
        QApplication::setPalette(darkPalette());

    QTemporaryDir work;
    const QString destination = work.filePath(QStringLiteral("Projects"));
    QDir().mkpath(destination);
    QFile page(QStringLiteral(PLINTH_SOURCE_DIR "/tests/fixtures/pages/mobile-libraries.html"));
    page.open(QIODevice::ReadOnly);
    test::PageServer server(page.readAll());

    Launchers launchers;
    const QString fakeToolchain = QStringLiteral(PLINTH_SOURCE_DIR "/tests/fixtures/fake-toolchain");
    launchers.scriptShell = fakeToolchain + QStringLiteral("/script-shell");
    auto runner = std::make_shared<CommandRunner>(launchers);
    runner->setToolchainSearchPath(fakeToolchain + QStringLiteral(":/usr/local/bin:/usr/bin:/bin"));

    // The embedded terminal's shell finds the fake pod and bundle first.
    qputenv("PATH", (fakeToolchain + QLatin1Char(':') + qEnvironmentVariable("PATH")).toUtf8());
    QuietDesktop desktop;
    SharedPanelAlerts alerts;
    ProjectDetailsModel details;
    QString chosenFolder = destination;
    ScreenFlow flow(WizardContext{runner, ResourceBundle::main(), &alerts, &desktop,
                                  [&chosenFolder](QWidget *, const FolderPanelOptions &) { return chosenFolder; },
                                  server.url(), &details});
    AlertPanelController::setFirstScreenFactory([&flow] { return flow.makeFirstScreen(); });
    CustomNSPanel *panel = AlertPanelController::shared().applicationWindow();
    panel->show();
    ScreenStack *stack = panel->screenStack();
    waitFor([panel] { return panel->windowHandle() && panel->windowHandle()->isExposed(); });

    PaintWatch watch;
    application.installEventFilter(&watch);
    QList<std::pair<QString, double>> changes;
    int pictures = 0;
    const QString scheme = dark ? QStringLiteral("dark") : QStringLiteral("light");
    const auto snap = [&](const QString &name) {
        if (screenshots.isEmpty())
            return;
        QDir().mkpath(screenshots);
        waitFor([] { return false; }, 150); // let pending layouts and paints settle
        // From the screen, so that a popover (a window of its own) shows too.
        const QPixmap picture = panel->screen()->grabWindow(0, panel->x(), panel->y(), panel->QWidget::width(), panel->QWidget::height());
        picture.save(QStringLiteral("%1/%2-%3-%4.png").arg(screenshots).arg(++pictures).arg(name, scheme));
    };
    // Changes the flow with `move`, waits for a new top and its first paint.
    const auto change = [&](const QString &name, const std::function<void()> &move) {
        QWidget *before = stack->top();
        watch.paintedAt = -1;
        watch.screen = nullptr;
        watch.clock.start();
        move();
        if (!waitFor([&] { return stack->top() != before; })) {
            std::fprintf(stderr, "screen-tour: %s did not change the screen\n", qPrintable(name));
            std::exit(1);
        }
        watch.screen = stack->top();
        stack->top()->update();
        waitFor([&] { return watch.paintedAt >= 0; }, 2000);
        changes.append({name, watch.paintedAt / 1e6});
    };

    auto *prerequisites = topAs<PreProjectSetupView>(stack);
    DependencyCheck everything;
    everything.scriptVerdicts.fill(true);
    prerequisites->viewModel()->updatePreRequisiteList(everything);
    prerequisites->viewModel()->updatePreProjectSetupState(everything);
    snap(QStringLiteral("prerequisites"));
    change(QStringLiteral("push home"), [&] { prerequisites->setShouldGoToNext(true); });
    snap(QStringLiteral("home"));

    auto *home = topAs<ProjectTypeSelectionView>(stack);
    change(QStringLiteral("push identity"), [&] { home->viewModel()->chooseNewProject(); });
    auto *identity = topAs<ProjectDetailsInitialView>(stack);
    waitFor([] { return false; }, 300); // the author lookup
    identity->viewModel()->setProductName(QStringLiteral("Orbit"));
    identity->viewModel()->setAuthorName(QStringLiteral("Ada Lovelace"));
    snap(QStringLiteral("identity"));
    change(QStringLiteral("pop to home"), [&] { home->viewModel()->setShouldContinueNewProjectFlow(false); });
    change(QStringLiteral("push identity again"), [&] { home->viewModel()->chooseNewProject(); });
    identity = topAs<ProjectDetailsInitialView>(stack);
    identity->viewModel()->setProductName(QStringLiteral("Orbit"));
    identity->viewModel()->setAuthorName(QStringLiteral("Ada Lovelace"));
    change(QStringLiteral("push build settings"), [&] { identity->viewModel()->next(); });

    auto *settings = topAs<ProjectDetailsSubsequentView>(stack);
    settings->viewModel()->chooseDestination(destination);
    for (int index : {2, 0, 3})
        settings->viewModel()->toggleConfigVariant(index);
    settings->viewModel()->toggleOtherConfiguration(1);
    snap(QStringLiteral("build-settings"));
    settings->viewModel()->setShowAddConfigModal(true);
    if (auto *field = settings->findChild<QLineEdit *>(QStringLiteral("newConfigLabelField"))) {
        field->setText(QStringLiteral("QA-1"));
        settings->viewModel()->setNewConfigLabel(QStringLiteral("QA-1"));
        settings->viewModel()->addVariant();
    }
    snap(QStringLiteral("add-variant"));
    settings->viewModel()->cancelAddVariant();
    change(QStringLiteral("push pods"), [&] { settings->viewModel()->next(); });

    auto *pods = topAs<PodSelectionView>(stack);
    waitFor([pods] { return !pods->viewModel()->supplementalPods().isEmpty(); });
    if (!pods->viewModel()->supplementalPods().isEmpty())
        pods->viewModel()->selectSupplementalPod(0);
    snap(QStringLiteral("pods"));
    change(QStringLiteral("pop to build settings"), [&] { settings->viewModel()->setShouldGoToNext(false); });
    change(QStringLiteral("push pods again"), [&] { settings->viewModel()->next(); });
    pods = topAs<PodSelectionView>(stack);
    waitFor([pods] { return !pods->viewModel()->supplementalPods().isEmpty(); });
    change(QStringLiteral("push generation"), [&] { pods->setShouldGoToNextView(true); });
    auto *generation = topAs<ProjectSetupView>(stack);
    waitFor([generation] { return generation->viewModel()->isProjectCreationDone(); }, 60000);
    // The terminal types the installation command after 2 s; the next pod
    // check then enables Finish.
    waitFor([generation] { return generation->viewModel()->shouldGoToNext(); }, 15000);
    snap(QStringLiteral("generation"));

    // The existing-project flow: an Objective-C project first (the module
    // screen asks for the UI kind), then the project just made, in a folder
    // named unlike it, with a Podfile of the team's own.
    generation->frame()->cancelButton()->click();
    waitFor([stack] { return topAs<PreProjectSetupView>(stack) != nullptr; });
    prerequisites = topAs<PreProjectSetupView>(stack);
    prerequisites->viewModel()->updatePreRequisiteList(everything);
    prerequisites->viewModel()->updatePreProjectSetupState(everything);
    change(QStringLiteral("push home (existing)"), [&] { prerequisites->setShouldGoToNext(true); });
    home = topAs<ProjectTypeSelectionView>(stack);
    const QString legacy = work.filePath(QStringLiteral("legacy-ios"));
    QDir().mkpath(legacy + QStringLiteral("/Legacy.xcodeproj"));
    QDir().mkpath(legacy + QStringLiteral("/Legacy"));
    QFile(legacy + QStringLiteral("/Legacy/AppDelegate.m")).open(QIODevice::WriteOnly);
    change(QStringLiteral("push modules (legacy)"), [&] {
        home->viewModel()->chooseExistingProject();
        home->viewModel()->acceptProjectFolder(legacy);
    });
    auto *modules = topAs<ExistingProjectModuleSelectionView>(stack);
    waitFor([modules] { return !modules->viewModel()->isDetecting(); });
    snap(QStringLiteral("modules-undetected"));
    change(QStringLiteral("pop to home (legacy)"), [&] { home->viewModel()->setShouldContinueExistingProjectFlow(false); });

    const QString repository = work.filePath(QStringLiteral("orbit-ios"));
    QDir().rename(destination + QStringLiteral("/Orbit"), repository);
    QFile podfile(repository + QStringLiteral("/Podfile"));
    podfile.open(QIODevice::WriteOnly);
    podfile.write("source 'https://cdn.cocoapods.org/'\nplatform :ios, '16.0'\n\ntarget 'Orbit' do\n"
                  "  use_frameworks!\n  pod 'Alamofire', '~> 5.8'\n  pod 'SnapKit', '5.7.1'\n"
                  "  pod 'Firebase/Analytics'\nend\n");
    podfile.close();
    change(QStringLiteral("push modules"), [&] {
        home->viewModel()->chooseExistingProject();
        home->viewModel()->acceptProjectFolder(repository);
    });
    modules = topAs<ExistingProjectModuleSelectionView>(stack);
    waitFor([modules] { return !modules->viewModel()->isDetecting(); });
    modules->viewModel()->selectSupplementalModule(0);
    snap(QStringLiteral("modules"));
    change(QStringLiteral("push pods (existing)"), [&] { modules->frame()->nextButton()->click(); });
    pods = topAs<PodSelectionView>(stack);
    waitFor([pods] { return pods->viewModel()->presetAndSelectedPods().size() >= 3; });
    waitFor([pods] { return !pods->viewModel()->supplementalPods().isEmpty(); });
    snap(QStringLiteral("pods-existing"));
    change(QStringLiteral("push review"), [&] { pods->frame()->nextButton()->click(); });
    auto *review = topAs<ReviewView>(stack);
    waitFor([review] { return !review->viewModel()->isLoading(); }, 30000);
    auto *reviewFiles = review->findChild<QListWidget *>(QStringLiteral("reviewFiles"));
    if (const QList<QListWidgetItem *> rows = reviewFiles->findItems(QStringLiteral("Podfile "), Qt::MatchStartsWith);
        !rows.isEmpty())
        reviewFiles->setCurrentItem(rows.first());
    snap(QStringLiteral("review"));
    change(QStringLiteral("push generation (existing)"), [&] { review->frame()->nextButton()->click(); });
    generation = topAs<ProjectSetupView>(stack);
    waitFor([generation] { return generation->viewModel()->isProjectCreationDone(); }, 60000);
    waitFor([generation] { return generation->viewModel()->shouldGoToNext(); }, 15000);
    snap(QStringLiteral("generation-existing"));

    std::printf("%-24s %8s\n", "screen change", "ms");
    double worst = 0;
    for (const auto &[name, milliseconds] : changes) {
        std::printf("%-24s %8.1f\n", qPrintable(name), milliseconds);
        worst = std::max(worst, milliseconds);
    }
    std::printf("slowest change %.1f ms (goal: 50 ms)\n", worst);
    ProjectSetupViewModel::waitForBackgroundTasks(30000);
    return worst <= 50 ? 0 : 1;
}
