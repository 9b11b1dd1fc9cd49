// Walks both flows of the real window, a new project from the prerequisite
// screen to Finish and then that project as an existing one, with the fake
// toolchain and a loopback copy of the library page, and
//  - times every screen change (push or pop): from the flag that moves the
//    flow to the first paint of the new top screen (goal: 50 ms);
//  - with --screenshots DIR, saves a picture of every screen and every alert
//    there (<nn>-<screen>-<light|dark>.png, numbered in flow order);
//  - with --dark, uses a dark palette (the Fusion style's colours inverted as
//    a dark desktop theme would);
//  - with --home DIR (a folder that does not exist yet), works in DIR as the
//    user's home folder, its projects in DIR/Projects, and removes DIR at the
//    end; without it, in a temporary folder. The embedded terminal's shell
//    starts there too, with a prompt that shows the folder from the home
//    folder on (bench/screens/take-screens.sh runs the tour so for the
//    pictures of docs/screens).
// Run it under xvfb-run for real painting (the offscreen platform paints too).
#include "app/ScreenFlow.h"
#include "app/base/Desktop.h"
#include "app/base/FlagBinding.h"
#include "app/base/TextCatalog.h"
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
#include <QDialog>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <QListWidget>
#include <QPainter>
#include <QPushButton>
#include <QPalette>
#include <QPointer>
#include <QProcess>
#include <QRegion>
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
    // No application takes the workspace, as on a machine without Xcode:
    // Finish tells where the project is.
    bool openFile(const QString &) override { return false; }
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
    QString chosenHome;
    bool dark = false;
    const QStringList arguments = QCoreApplication::arguments();
    for (int i = 1; i < arguments.size(); ++i) {
        if (arguments.at(i) == QLatin1String("--screenshots") && i + 1 < arguments.size())
            screenshots = QDir(arguments.at(++i)).absolutePath();
        else if (arguments.at(i) == QLatin1String("--home") && i + 1 < arguments.size())
            chosenHome = QDir::cleanPath(QDir(arguments.at(++i)).absolutePath());
        else if (arguments.at(i) == QLatin1String("--dark"))
            dark = true;
    }
    QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
    if (dark)
        QApplication::setPalette(darkPalette());

    QTemporaryDir work;
    if (!chosenHome.isEmpty() && QFileInfo::exists(chosenHome)) {
        std::fprintf(stderr, "screen-tour: %s exists; the tour makes and removes its home folder itself\n",
                     qPrintable(chosenHome));
        return 2;
    }
    const QString homeFolder = chosenHome.isEmpty() ? work.filePath(QStringLiteral("home")) : chosenHome;
    const QString destination = homeFolder + QStringLiteral("/Projects");
    QDir().mkpath(destination);
    // The terminal's login shell starts in the home folder and shows where
    // it is from there on ("~/Projects/Orbit").
    qputenv("HOME", QFile::encodeName(homeFolder));
    QFile zshrc(homeFolder + QStringLiteral("/.zshrc"));
    if (zshrc.open(QIODevice::WriteOnly))
        zshrc.write("PROMPT='ada@mac %~ %% '\n");
    zshrc.close();
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
    panel->activateWindow();
    ScreenStack *stack = panel->screenStack();
    waitFor([panel] { return panel->windowHandle() && panel->windowHandle()->isExposed(); });

    PaintWatch watch;
    application.installEventFilter(&watch);
    QList<std::pair<QString, double>> changes;
    int pictures = 0;
    const QString scheme = dark ? QStringLiteral("dark") : QStringLiteral("light");
    const auto fail = [](const QString &what) {
        std::fprintf(stderr, "screen-tour: %s\n", qPrintable(what));
        std::exit(2);
    };
    const auto snap = [&](const QString &name) {
        if (screenshots.isEmpty())
            return;
        QDir().mkpath(screenshots);
        waitFor([] { return false; }, 150); // let pending layouts and paints settle
        // From the screen, so that a popover or an alert (windows of their
        // own) shows too.
        QPixmap picture = panel->screen()->grabWindow(0, panel->x(), panel->y(), panel->QWidget::width(),
                                                      panel->QWidget::height());
        // Without a window manager an alert has no frame; the picture gets
        // the edge and shadow a desktop gives it.
        if (QDialog *shown = AlertPanelController::shared().currentAlert(); shown && shown->isVisible()) {
            const QRect sheet = shown->frameGeometry().translated(-panel->pos());
            QPainter painter(&picture);
            painter.setClipRegion(QRegion(picture.rect()) - QRegion(sheet));
            painter.setRenderHint(QPainter::Antialiasing);
            painter.setBrush(Qt::NoBrush);
            for (int spread = 1; spread <= 10; ++spread) {
                painter.setPen(QColor(0, 0, 0, 36 - 3 * spread));
                painter.drawRoundedRect(QRectF(sheet).adjusted(-spread, -spread + 3, spread, spread + 3), 6, 6);
            }
            painter.setPen(dark ? QColor(0x5A, 0x5A, 0x5E) : QColor(0xB4, 0xB4, 0xB8));
            painter.drawRoundedRect(QRectF(sheet).adjusted(-0.5, -0.5, 0.5, 0.5), 4, 4);
        }
        picture.save(QStringLiteral("%1/%2-%3-%4.png")
                         .arg(screenshots)
                         .arg(++pictures, 2, 10, QLatin1Char('0'))
                         .arg(name, scheme));
    };
    // Changes the flow with `move`, waits for a new top and its first paint.
    const auto change = [&](const QString &name, const std::function<void()> &move) {
        QWidget *before = stack->top();
        watch.paintedAt = -1;
        watch.screen = nullptr;
        watch.clock.start();
        move();
        if (!waitFor([&] { return stack->top() != before; }))
            fail(name + QStringLiteral(" did not change the screen"));
        watch.screen = stack->top();
        stack->top()->update();
        waitFor([&] { return watch.paintedAt >= 0; }, 2000);
        changes.append({name, watch.paintedAt / 1e6});
        panel->activateWindow();
    };
    // Waits for the alert that `open` brings up and takes its picture, with
    // the keyboard on the alert's first control.
    const auto openAlert = [&](const QString &name, const std::function<void()> &open) {
        open();
        QDialog *shown = nullptr;
        if (!waitFor([&] {
                shown = AlertPanelController::shared().currentAlert();
                return shown && shown->isVisible() && shown->windowHandle() && shown->windowHandle()->isExposed();
            }))
            fail(name + QStringLiteral(" did not show its alert"));
        shown->activateWindow();
        waitFor([shown] { return shown->isActiveWindow(); }, 1000);
        snap(name);
        return QPointer<QDialog>(shown);
    };
    // Presses the alert's button labelled `label`.
    const auto answer = [&](const QPointer<QDialog> &shown, const QString &label) {
        QAbstractButton *button = nullptr;
        for (auto *candidate : shown->findChildren<QAbstractButton *>()) {
            if (candidate->text() == label)
                button = candidate;
        }
        if (!button)
            fail(QStringLiteral("an alert has no button ") + label);
        button->click();
        waitFor([&shown] { return !shown || !shown->isVisible(); });
        panel->activateWindow();
    };
    const auto alert = [&](const QString &name, const std::function<void()> &open, const QString &label) {
        answer(openAlert(name, open), label);
    };
    const QString ok = QStringLiteral("OK");

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

    // The build settings, then each alert its Next and its folder can bring
    // up: a destination that cannot be made, a product folder already there,
    // no variant, and the question for the development variant, whose answer
    // goes on to the pods.
    auto *settings = topAs<ProjectDetailsSubsequentView>(stack);
    ProjectDetailsSubsequentViewModel *settingsModel = settings->viewModel();
    settingsModel->chooseDestination(destination);
    for (int index : {2, 0, 3})
        settingsModel->toggleConfigVariant(index);
    settingsModel->toggleOtherConfiguration(1);
    snap(QStringLiteral("build-settings"));
    settingsModel->setShowAddConfigModal(true);
    if (auto *field = settings->findChild<QLineEdit *>(QStringLiteral("newConfigLabelField"))) {
        field->setText(QStringLiteral("QA-1"));
        settingsModel->setNewConfigLabel(QStringLiteral("QA-1"));
        settingsModel->addVariant();
    }
    snap(QStringLiteral("add-variant"));
    settingsModel->cancelAddVariant();
    QFile notes(destination + QStringLiteral("/Notes.txt"));
    notes.open(QIODevice::WriteOnly);
    notes.close();
    alert(QStringLiteral("destination-not-made"),
          [&] { settingsModel->chooseDestination(destination + QStringLiteral("/Notes.txt/Apps")); }, ok);
    notes.remove();
    QDir().mkpath(destination + QStringLiteral("/Orbit"));
    alert(QStringLiteral("project-folder-exists"), [&] { settingsModel->next(); }, ok);
    QDir(destination + QStringLiteral("/Orbit")).removeRecursively();
    for (int index : {0, 2, 3})
        settingsModel->toggleConfigVariant(index);
    alert(QStringLiteral("no-variant"), [&] { settingsModel->next(); }, ok);
    for (int index : {0, 3})
        settingsModel->toggleConfigVariant(index);
    const QPointer<QDialog> question = openAlert(QStringLiteral("development-variant"), [&] { settingsModel->next(); });
    change(QStringLiteral("push pods"), [&] { answer(question, ok); });

    auto *pods = topAs<PodSelectionView>(stack);
    waitFor([pods] { return !pods->viewModel()->supplementalPods().isEmpty(); });
    if (!pods->viewModel()->supplementalPods().isEmpty())
        pods->viewModel()->selectSupplementalPod(0);
    snap(QStringLiteral("pods"));
    change(QStringLiteral("pop to build settings"), [&] { settingsModel->setShouldGoToNext(false); });
    settingsModel->next();
    waitFor([] { return AlertPanelController::shared().currentAlert() != nullptr; });
    change(QStringLiteral("push pods again"), [&] { AlertPanelController::shared().currentAlert()->accept(); });
    pods = topAs<PodSelectionView>(stack);
    waitFor([pods] { return !pods->viewModel()->supplementalPods().isEmpty(); });
    change(QStringLiteral("push generation"), [&] { pods->setShouldGoToNextView(true); });
    auto *generation = topAs<ProjectSetupView>(stack);
    waitFor([generation] { return generation->viewModel()->isProjectCreationDone(); }, 60000);
    // The terminal types the installation command after 2 s; the next pod
    // check then enables Finish.
    waitFor([generation] { return generation->viewModel()->shouldGoToNext(); }, 15000);
    snap(QStringLiteral("generation"));
    alert(QStringLiteral("finish-not-opened"), [&] { generation->frame()->nextButton()->click(); }, ok);

    // The existing-project flow: a folder without a project first, then an
    // Objective-C project (the module screen asks for the UI kind), then the
    // project just made, in a folder named unlike it, under Git with a
    // Podfile of the team's own not yet committed.
    generation->frame()->cancelButton()->click();
    waitFor([stack] { return topAs<PreProjectSetupView>(stack) != nullptr; });
    prerequisites = topAs<PreProjectSetupView>(stack);
    prerequisites->viewModel()->updatePreRequisiteList(everything);
    prerequisites->viewModel()->updatePreProjectSetupState(everything);
    change(QStringLiteral("push home (existing)"), [&] { prerequisites->setShouldGoToNext(true); });
    home = topAs<ProjectTypeSelectionView>(stack);
    alert(QStringLiteral("choose-a-project"), [&] {
        home->viewModel()->chooseExistingProject();
        home->viewModel()->acceptProjectFolder(destination);
    }, ok);
    const QString legacy = destination + QStringLiteral("/legacy-ios");
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
    change(QStringLiteral("pop to home (legacy)"),
           [&] { home->viewModel()->setShouldContinueExistingProjectFlow(false); });

    const QString repository = destination + QStringLiteral("/orbit-ios");
    QDir().rename(destination + QStringLiteral("/Orbit"), repository);
    const auto git = [&repository](const QStringList &gitArguments) {
        QProcess process;
        process.setWorkingDirectory(repository);
        process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        process.setStandardOutputFile(QProcess::nullDevice());
        process.start(QStringLiteral("git"),
                      QStringList{QStringLiteral("-c"), QStringLiteral("user.name=Ada Lovelace"), QStringLiteral("-c"),
                                  QStringLiteral("user.email=ada@example.com")}
                          + gitArguments);
        process.waitForFinished(30000);
    };
    git({QStringLiteral("init"), QStringLiteral("--quiet")});
    git({QStringLiteral("add"), QStringLiteral("--all")});
    git({QStringLiteral("commit"), QStringLiteral("--quiet"), QStringLiteral("--message=Orbit")});
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
    const QPointer<QDialog> uncommitted =
        openAlert(QStringLiteral("uncommitted-changes"), [&] { pods->frame()->nextButton()->click(); });
    change(QStringLiteral("push review"), [&] { answer(uncommitted, text(key::continueAnyway)); });
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

    std::printf("%-28s %8s\n", "screen change", "ms");
    double worst = 0;
    for (const auto &[name, milliseconds] : changes) {
        std::printf("%-28s %8.1f\n", qPrintable(name), milliseconds);
        worst = std::max(worst, milliseconds);
    }
    std::printf("slowest change %.1f ms (goal: 50 ms)\n", worst);
    ProjectSetupViewModel::waitForBackgroundTasks(30000);
    if (!chosenHome.isEmpty())
        QDir(chosenHome).removeRecursively();
    return worst <= 50 ? 0 : 1;
}
