// Walks the wizard in the application panel by keyboard alone, as a user
// would: from the prerequisite screen through home, identity, build settings
// and pods to the generation screen and its Finish, with Tab, Space, Return
// and the arrow keys only, the fake toolchain on every search path (also the
// embedded terminal's), the library page from a loopback server and folder
// panels answered by the test. Every screen it passes is then read as a
// screen reader reads it.
#include "app/FakeServices.h"
#include "app/ScreenFlow.h"
#include "app/base/TextCatalog.h"
#include "app/widgets/AlertPanelController.h"
#include "app/widgets/BaseView.h"
#include "app/widgets/CustomNSPanel.h"
#include "app/widgets/DropDownMenu.h"
#include "app/widgets/FocusRing.h"
#include "app/widgets/ScreenStack.h"
#include "app/widgets/ToggleButton.h"
#include "catalogs/ExistingProjectModuleSelectionView.h"
#include "catalogs/ExistingProjectModuleSelectionViewModel.h"
#include "catalogs/PodSelectionView.h"
#include "catalogs/PodSelectionViewModel.h"
#include "generation/GenerationFixture.h"
#include "generation/ProjectSetupView.h"
#include "generation/ProjectSetupViewModel.h"
#include "generation/ReviewView.h"
#include "generation/ReviewViewModel.h"
#include "project/ProjectDetailsInitialView.h"
#include "project/ProjectDetailsSubsequentView.h"
#include "project/ProjectTypeSelectionView.h"
#include "toolchain/PreProjectSetupView.h"
#include "toolchain/PreProjectSetupViewModel.h"
#include "toolchain/terminal/TerminalView.h"
#include "tools/PageServer.h"
#include "tools/TestFiles.h"

#include <QAbstractButton>
#include <QAccessible>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollArea>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

using namespace plinth;

namespace {

ScreenStack *stack()
{
    return AlertPanelController::shared().applicationWindow()->screenStack();
}

template <typename View>
View *topAs()
{
    return qobject_cast<View *>(stack()->top());
}

template <typename Widget = QAbstractButton>
Widget *child(QWidget *screen, const QString &name)
{
    return screen ? screen->findChild<Widget *>(name) : nullptr;
}

QPushButton *nextOf(QWidget *screen)
{
    return child<QPushButton>(screen, QStringLiteral("nextButton"));
}

QPushButton *previousOf(QWidget *screen)
{
    return child<QPushButton>(screen, QStringLiteral("previousButton"));
}

QWidget *focused()
{
    return QApplication::focusWidget();
}

// The key helpers answer false (and say why) where a user would be stuck;
// the walk stops there.

/// Tab, or Control-Tab where the terminal keeps Tab for its shell.
[[nodiscard]] bool pressTab()
{
    if (!focused()) {
        qWarning("Nothing has the keyboard focus");
        return false;
    }
    QTest::keyClick(focused(), Qt::Key_Tab,
                    qobject_cast<TerminalView *>(focused()) ? Qt::ControlModifier : Qt::NoModifier);
    return true;
}

[[nodiscard]] bool pressKey(Qt::Key key)
{
    if (!focused()) {
        qWarning("Nothing has the keyboard focus");
        return false;
    }
    QTest::keyClick(focused(), key);
    return true;
}

/// Tabs to `control`, which must show the focus mark there.
[[nodiscard]] bool tabTo(QWidget *control)
{
    if (!control || !QTest::qWaitFor([control] { return control->isVisible() && control->isEnabled(); })) {
        qWarning("The control is not there to be reached");
        return false;
    }
    for (int i = 0; i < 80 && focused() != control; ++i) {
        if (!pressTab())
            return false;
    }
    if (focused() != control || FocusRing::target() != control) {
        qWarning() << "Tab does not reach" << control << "with its focus mark";
        return false;
    }
    return true;
}

/// Tabs to `button` and presses it with Space.
[[nodiscard]] bool press(QAbstractButton *button)
{
    return tabTo(button) && pressKey(Qt::Key_Space);
}

/// What a screen reader would stumble on in `root`: a control Tab reaches
/// without a name, a check box read as a plain button or without its state,
/// a menu that does not say its choice.
QStringList accessibilityFaults(QWidget *root)
{
    QStringList faults;
    QList<QWidget *> widgets = root->findChildren<QWidget *>();
    widgets.prepend(root);
    for (QWidget *widget : std::as_const(widgets)) {
        if (!widget->isVisibleTo(root) || !(widget->focusPolicy() & Qt::TabFocus) || widget->focusProxy())
            continue;
        QAccessibleInterface *control = QAccessible::queryAccessibleInterface(widget);
        const QString what = widget->objectName() + QLatin1Char(' ') + widget->metaObject()->className();
        const QString name = control ? control->text(QAccessible::Name) : QString();
        if (name.trimmed().isEmpty())
            faults << what + QStringLiteral(": no name");
        if (qobject_cast<ToggleButton *>(widget)
            && (control->role() != QAccessible::CheckBox || !control->state().checkable
                || bool(control->state().checked) != static_cast<ToggleButton *>(widget)->isChecked()))
            faults << what + QStringLiteral(": not a check box with its state");
        if (auto *menu = qobject_cast<DropDownMenu *>(widget); menu && !name.contains(menu->selectedOption()))
            faults << what + QStringLiteral(": its choice unsaid");
    }
    return faults;
}

/// Texts on one line that the window is too narrow for: a label that does
/// not wrap, a check box's label.
QStringList cutOffTexts(QWidget *root)
{
    QStringList cut;
    for (QWidget *widget : root->findChildren<QWidget *>()) {
        auto *label = qobject_cast<QLabel *>(widget);
        const bool oneLine =
            (label && !label->wordWrap() && !label->text().isEmpty()) || qobject_cast<ToggleButton *>(widget);
        if (oneLine && widget->isVisibleTo(root) && widget->width() < widget->sizeHint().width())
            cut << (label ? label->text() : static_cast<ToggleButton *>(widget)->label());
    }
    return cut;
}

BaseView *frameOf(QWidget *screen)
{
    return qobject_cast<BaseView *>(screen) ? qobject_cast<BaseView *>(screen) : screen->findChild<BaseView *>();
}

/// Goes once round `screen` with Tab from its first control: the close
/// button comes last, every other control below or to the right of the one
/// before it, and each shows the focus mark.
[[nodiscard]] bool tabRound(QWidget *screen)
{
    QWidget *first = frameOf(screen)->firstControl();
    if (!tabTo(first))
        return false;
    QList<QWidget *> reached{first};
    while (pressTab() && focused() != first && reached.size() < 80) {
        if (FocusRing::target() != focused()) {
            qWarning() << "No focus mark on" << focused();
            return false;
        }
        reached << focused();
    }
    if (reached.last() != frameOf(screen)->closeButton()) {
        qWarning() << "The close button is not last:" << reached;
        return false;
    }
    // A control in a scrolling list counts by its place in the list next to
    // another of the list, else by the list's top left corner.
    const auto areaOf = [](QWidget *control) -> QScrollArea * {
        for (QWidget *widget = control; widget; widget = widget->parentWidget()) {
            if (auto *area = qobject_cast<QScrollArea *>(widget); area && area != control)
                return area;
        }
        return nullptr;
    };
    QWidget *content = frameOf(screen)->mainContent();
    for (qsizetype i = 1; i + 1 < reached.size(); ++i) {
        QWidget *previous = reached.at(i - 1);
        QWidget *control = reached.at(i);
        if (content->isAncestorOf(previous) && !content->isAncestorOf(control))
            continue; // from the content to the button row
        QScrollArea *area = areaOf(control);
        const bool sameList = area && area == areaOf(previous);
        const auto place = [&](QWidget *widget) {
            if (sameList)
                return widget->mapTo(area->widget(), widget->rect().center());
            if (QScrollArea *around = areaOf(widget))
                return around->mapTo(screen, QPoint(0, 0));
            return widget->mapTo(screen, widget->rect().center());
        };
        const QPoint before = place(previous);
        const QPoint here = place(control);
        const bool sameLine = std::abs(here.y() - before.y()) < std::min(previous->height(), control->height()) / 2;
        if (sameLine ? here.x() <= before.x() : here.y() <= before.y()) {
            qWarning() << control << here << "comes after" << previous << before << "against the reading order";
            return false;
        }
    }
    return true;
}

} // namespace

class TestWizardFlow : public QObject
{
    Q_OBJECT

    QTemporaryDir m_work;
    test::FakeDesktop m_desktop;
    ProjectDetailsModel m_details;
    QString m_chosenFolder;
    QStringList m_panelTitles;
    std::unique_ptr<test::PageServer> m_page;
    std::unique_ptr<ScreenFlow> m_flow;

    QString destination() const { return m_work.filePath(QStringLiteral("Projects with spaces")); }

    // The prerequisite screen on top: its check finds every tool (the fake
    // toolchain and three stand-ins), then Next goes home.
    void passPrerequisites()
    {
        auto *screen = topAs<PreProjectSetupView>();
        QVERIFY(screen);
        // The first check runs as the screen shows; Next takes the focus as
        // soon as it can be pressed.
        QTRY_COMPARE_WITH_TIMEOUT(focused(), nextOf(screen), 20000);
        QVERIFY(tabRound(screen));
        QVERIFY(pressKey(Qt::Key_Space));
        QTRY_VERIFY(topAs<ProjectTypeSelectionView>());
    }

    void fillIdentity(const QString &product)
    {
        auto *screen = topAs<ProjectDetailsInitialView>();
        QVERIFY(screen);
        // Typing starts in the product name field.
        QTRY_COMPARE(QApplication::focusWidget(), child<QWidget>(screen, QStringLiteral("productNameField")));
        QVERIFY(tabRound(screen));
        auto *author = child<QLineEdit>(screen, QStringLiteral("authorNameField"));
        // The looked-up name arrives once; typing comes after it.
        QTRY_VERIFY_WITH_TIMEOUT(!author->text().isEmpty(), 3000);
        QTest::keyClicks(focused(), product);
        QVERIFY(tabTo(author));
        QTest::keyClick(author, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClicks(author, QStringLiteral("Ada Lovelace"));
        QCOMPARE(author->text(), QStringLiteral("Ada Lovelace"));
        QVERIFY(nextOf(screen)->isEnabled());
    }

    void chooseBuildSettings()
    {
        auto *screen = topAs<ProjectDetailsSubsequentView>();
        QVERIFY(screen);
        m_chosenFolder = destination();
        QCOMPARE(focused(), child<QWidget>(screen, QStringLiteral("interfaceMenu")));
        QVERIFY(tabRound(screen));
        QVERIFY(press(child(screen, QStringLiteral("chooseDestinationButton"))));
        // Return without a variant: an alert says so, read as a screen
        // reader reads it; Return closes it.
        QVERIFY(pressKey(Qt::Key_Return));
        QTRY_VERIFY(AlertPanelController::shared().currentAlert());
        QDialog *alert = AlertPanelController::shared().currentAlert();
        QTRY_VERIFY(alert->isVisible() && alert->isAncestorOf(focused()));
        QCOMPARE(accessibilityFaults(alert), QStringList());
        QVERIFY(pressKey(Qt::Key_Return));
        QTRY_VERIFY(!AlertPanelController::shared().currentAlert());
        QVERIFY(press(child(screen, QStringLiteral("variant_Production"))));
        QVERIFY(press(child(screen, QStringLiteral("variant_Development"))));
        // The drop-downs open with Space and choose with the arrows and Return.
        auto *target = child<DropDownMenu>(screen, QStringLiteral("deploymentTargetMenu"));
        QTimer::singleShot(0, [] { // the menu runs its own event loop
            QVERIFY(QTest::qWaitFor([] { return QApplication::activePopupWidget(); }));
            for (Qt::Key key : {Qt::Key_Down, Qt::Key_Down, Qt::Key_Return}) // 16.0, 17.0
                QTest::keyClick(QApplication::activePopupWidget(), key);
        });
        QVERIFY(press(target));
        QTRY_COMPARE(target->selectedOption(), text(key::deploymentTarget17_0));
        // (Offscreen there is no window manager to hand the panel back its
        // activation when the menu closes.)
        AlertPanelController::shared().applicationWindow()->activateWindow();
        QTRY_COMPARE(focused(), target);
        QVERIFY(nextOf(screen)->isEnabled());
    }

    /// Presses the button named `accessibleName` in the list `listName` on
    /// the top screen; false when there is none.
    static bool pressItemButton(const QString &listName, const QString &accessibleName)
    {
        for (QAbstractButton *button : child<QWidget>(stack()->top(), listName)->findChildren<QAbstractButton *>()) {
            if (button->accessibleName() == accessibleName) {
                return press(button);
            }
        }
        return false;
    }

    /// The description the list `listName` on the top screen shows for the
    /// row titled `title`.
    static QString rowDescription(const QString &listName, const QString &title)
    {
        for (QWidget *row : child<QWidget>(stack()->top(), listName)->findChildren<QWidget *>(QStringLiteral("itemRow"))) {
            if (child<QLabel>(row, QStringLiteral("itemTitle"))->text() == title)
                return child<QLabel>(row, QStringLiteral("itemDescription"))->text();
        }
        return {};
    }

private slots:
    void initTestCase()
    {
        QVERIFY(m_work.isValid());
        QVERIFY(QDir().mkpath(destination()));
        // The embedded terminal's login shell: a home of its own (with a
        // startup file, so zsh asks nothing) and the fake toolchain first.
        const QString home = m_work.filePath(QStringLiteral("home"));
        QVERIFY(test::writeFile(home + QStringLiteral("/.zshrc"), "PROMPT='$ '\n"));
        qputenv("HOME", home.toUtf8());
        qputenv("PATH", (fixture::fakeToolchain() + QLatin1Char(':') + qEnvironmentVariable("PATH")).toUtf8());
        // Stand-ins for the tools the fake toolchain has no need of.
        const QString tools = m_work.filePath(QStringLiteral("tools"));
        for (const QString &tool : {QStringLiteral("brew"), QStringLiteral("xcode-select")})
            QVERIFY(test::writeFile(tools + QLatin1Char('/') + tool, "#!/bin/sh\nexit 0\n", true));
        auto runner = fixture::fakeRunner();
        runner->setToolchainSearchPath(tools + QLatin1Char(':') + runner->toolchainSearchPath());

        m_page = std::make_unique<test::PageServer>(
            test::readFile(QStringLiteral(PLINTH_FIXTURES_DIR "/pages/mobile-libraries.html")));
        static SharedPanelAlerts alerts;
        m_flow = std::make_unique<ScreenFlow>(WizardContext{
            runner, ResourceBundle(fixture::shippedBundle()), &alerts, &m_desktop,
            [this](QWidget *, const FolderPanelOptions &options) {
                m_panelTitles << options.title;
                return m_chosenFolder;
            },
            m_page->url(), &m_details});
        AlertPanelController::setFirstScreenFactory([this] { return m_flow->makeFirstScreen(); });
        AlertPanelController::shared().applicationWindow()->show();
        QVERIFY(QTest::qWaitForWindowExposed(AlertPanelController::shared().applicationWindow()));
    }

    // Previous on every screen that has one returns to a fresh copy of the
    // screen before; the description keeps what was confirmed. Then the
    // whole new project to Finish, and the project on disk.
    void newProjectWithEveryPreviousToFinish()
    {
        passPrerequisites();
        auto *home = topAs<ProjectTypeSelectionView>();
        QVERIFY(!previousOf(home)->isVisible() && !nextOf(home)->isVisible());

        QVERIFY(tabRound(home));
        QCOMPARE(focused(), child<QWidget>(home, QStringLiteral("newProjectButton")));
        QVERIFY(pressKey(Qt::Key_Return)); // no Next here: Return presses the focused choice
        QTRY_VERIFY(topAs<ProjectDetailsInitialView>());
        QCOMPARE(m_details.projectType, ProjectType::new_);
        fillIdentity(QStringLiteral("Draft"));
        QVERIFY(press(previousOf(topAs<ProjectDetailsInitialView>())));
        QTRY_COMPARE(stack()->top(), home);
        QVERIFY(m_details.projectName.isEmpty()); // nothing was confirmed

        QTRY_COMPARE(focused(), child<QWidget>(home, QStringLiteral("newProjectButton")));
        QVERIFY(pressKey(Qt::Key_Space));
        QTRY_VERIFY(topAs<ProjectDetailsInitialView>());
        QCOMPARE(child<QLineEdit>(stack()->top(), QStringLiteral("productNameField"))->text(), QString());
        fillIdentity(QStringLiteral("Orbit"));
        QVERIFY(pressKey(Qt::Key_Return)); // in the author field
        QTRY_VERIFY(topAs<ProjectDetailsSubsequentView>());
        QCOMPARE(m_details.projectName, QStringLiteral("Orbit"));

        auto *identity = stack()->widget(stack()->count() - 2);
        QVERIFY(press(previousOf(topAs<ProjectDetailsSubsequentView>())));
        QTRY_COMPARE(stack()->top(), identity);
        QVERIFY(pressKey(Qt::Key_Return));
        QTRY_VERIFY(topAs<ProjectDetailsSubsequentView>());
        chooseBuildSettings();
        QVERIFY(pressKey(Qt::Key_Return)); // on the menu just chosen from
        QTRY_VERIFY(topAs<PodSelectionView>());

        auto *settings = stack()->widget(stack()->count() - 2);
        QVERIFY(press(previousOf(topAs<PodSelectionView>())));
        QTRY_COMPARE(stack()->top(), settings);
        QVERIFY(pressKey(Qt::Key_Return));
        QTRY_VERIFY(topAs<PodSelectionView>());
        PodSelectionViewModel *pods = topAs<PodSelectionView>()->viewModel();
        QVERIFY(QTest::qWaitFor([pods] { return !pods->supplementalPodsForSelectedUI().isEmpty(); }, 10000));
        const QString pod = pods->supplementalPodsForSelectedUI().first().title;
        QVERIFY(pod.startsWith(QLatin1String("KW")));
        QCOMPARE(focused(), frameOf(stack()->top())->firstControl());
        QVERIFY(tabRound(stack()->top()));
        QVERIFY(pressItemButton(QStringLiteral("supplementalPodsList"), text(key::addItem, pod)));
        QVERIFY(pressKey(Qt::Key_Return)); // on a row's button
        QTRY_VERIFY(topAs<ProjectSetupView>());
        QVERIFY(m_details.userSelectedPods.contains(pod));

        auto *generation = topAs<ProjectSetupView>();
        QTRY_VERIFY_WITH_TIMEOUT(generation->viewModel()->isProjectCreationDone(), 60000);
        QVERIFY(!generation->viewModel()->hasFailedSteps());
        QVERIFY(child<QWidget>(generation, QStringLiteral("podInstallTerminal")));
        // The terminal runs the installation with the fake pod; the next pod
        // check sees every pod and enables Finish.
        QTRY_VERIFY_WITH_TIMEOUT(nextOf(generation)->isEnabled(), 30000);
        // Finish takes the focus from the terminal once it can be pressed.
        QTRY_COMPARE(focused(), nextOf(generation));
        QVERIFY(pressKey(Qt::Key_Return));
        const QString root = destination() + QStringLiteral("/Orbit");
        QCOMPARE(m_desktop.opened, QStringList{root + QStringLiteral("/Orbit.xcworkspace")});
        QCOMPARE(m_desktop.quits, 1);

        const QString podfile = test::readText(root + QStringLiteral("/Podfile"));
        QVERIFY(podfile.contains(QLatin1Char('\'') + pod + QLatin1Char('\'')));
        QVERIFY(QFileInfo::exists(root + QStringLiteral("/Pods/") + pod));
        const QString projectYml = test::readText(root + QStringLiteral("/project.yml"));
        QVERIFY(projectYml.contains(QStringLiteral("Development")) && projectYml.contains(QStringLiteral("Production")));
        QVERIFY(!projectYml.contains(QStringLiteral("UAT")));
        QVERIFY(QFileInfo(root + QStringLiteral("/Orbit/AppDelegate.swift")).isFile()); // UIKit, the first kind offered
    }

    // Cancel on a deep screen puts a fresh prerequisite screen on top of
    // the others, the description as it was; from there, modules for a
    // project as a team keeps it, not made by Plinth: the environments its
    // build configurations name, the Podfile's pods as the Ruby reads them,
    // one taken out; only that pod's line goes.
    void cancelThenTeamProjectFromHomeToGeneration()
    {
        const int depth = stack()->count();
        // (The generation screen shows no Cancel and Finish would have quit:
        // the frame's Cancel is called to start again in the same process.)
        topAs<ProjectSetupView>()->frame()->cancelButton()->click();
        QTRY_VERIFY(topAs<PreProjectSetupView>());
        QCOMPARE(stack()->count(), depth + 1);
        QVERIFY(qobject_cast<ProjectSetupView *>(stack()->widget(depth - 1)));
        QCOMPARE(m_details.projectName, QStringLiteral("Orbit"));
        passPrerequisites();
        const QString root = m_work.filePath(QStringLiteral("Team's Apps/orbit-ios"));
        QVERIFY(fixture::copyTeamProject(root));
        const QByteArray podfile = test::readFile(root + QStringLiteral("/Podfile"));
        m_chosenFolder = root;
        QVERIFY(press(child(stack()->top(), QStringLiteral("existingProjectButton"))));
        QTRY_VERIFY(topAs<ExistingProjectModuleSelectionView>());
        QCOMPARE(m_panelTitles.last(), QStringLiteral("Choose Project Folder"));
        QCOMPARE(m_details.projectType, ProjectType::existing);

        auto *modules = topAs<ExistingProjectModuleSelectionView>();
        auto *environments = child<QLabel>(modules, QStringLiteral("arkanaEnvironments"));
        QVERIFY(environments);
        QTRY_VERIFY(environments->isVisible());
        QCOMPARE(environments->text(), text(key::arkanaEnvironments, QStringLiteral("Debug, Staging, Release")));
        QVERIFY(QTest::qWaitFor([modules] { return !modules->viewModel()->supplementalModulesForSelectedUI().isEmpty(); }));
        QVERIFY(tabRound(modules));
        QVERIFY(pressItemButton(QStringLiteral("supplementalModulesList"), text(key::addItem, QStringLiteral("Network layer"))));
        QVERIFY(pressKey(Qt::Key_Return));
        QTRY_VERIFY(topAs<PodSelectionView>());

        PodSelectionViewModel *pods = topAs<PodSelectionView>()->viewModel();
        const auto listed = [pods](const QString &title) {
            for (const ListItem &pod : pods->presetAndSelectedPods()) {
                if (pod.title == title)
                    return true;
            }
            return false;
        };
        QTRY_VERIFY_WITH_TIMEOUT(listed(QStringLiteral("SnapKit")), 10000);
        QVERIFY(listed(QStringLiteral("Firebase/Analytics")) && listed(QStringLiteral("OrbitDesign")));
        QVERIFY(!listed(QStringLiteral("Quick"))); // OrbitTests' own pod
        QVERIFY(rowDescription(QStringLiteral("presetAndSelectedPodsList"), QStringLiteral("Alamofire")).contains(QStringLiteral("('~> 5.8')")));
        QVERIFY(pressItemButton(QStringLiteral("presetAndSelectedPodsList"), text(key::removeItem, QStringLiteral("SnapKit"))));
        QVERIFY(!listed(QStringLiteral("SnapKit")));
        QVERIFY(pressKey(Qt::Key_Return));
        QTRY_VERIFY(topAs<ReviewView>());
        QCOMPARE(m_details.removedPods, QStringList{QStringLiteral("SnapKit")});

        // The review shows the Podfile losing SnapKit before anything is
        // written; Previous and Next again bring a fresh review.
        auto *review = topAs<ReviewView>();
        QTRY_VERIFY_WITH_TIMEOUT(!review->viewModel()->isLoading(), 30000);
        QCOMPARE(test::readFile(root + QStringLiteral("/Podfile")), podfile);
        auto *files = child<QListWidget>(review, QStringLiteral("reviewFiles"));
        const QList<QListWidgetItem *> podfileRows = files->findItems(QStringLiteral("Podfile "), Qt::MatchStartsWith);
        QCOMPARE(podfileRows.size(), 1);
        QCOMPARE(focused(), files);
        QVERIFY(tabRound(review));
        for (int i = 0; i < files->count() && files->currentItem() != podfileRows.first(); ++i)
            QVERIFY(pressKey(Qt::Key_Down));
        QVERIFY(child<QPlainTextEdit>(review, QStringLiteral("reviewDiff"))
                    ->toPlainText()
                    .contains(QStringLiteral("\n-    pod 'SnapKit', '5.7.1' # layout DSL\n")));
        QVERIFY(press(previousOf(review)));
        QTRY_VERIFY(topAs<PodSelectionView>());
        QVERIFY(pressKey(Qt::Key_Return));
        QTRY_VERIFY(topAs<ReviewView>() && topAs<ReviewView>() != review);
        QTRY_VERIFY_WITH_TIMEOUT(nextOf(stack()->top())->isEnabled(), 30000); // Apply waits for the preview
        QVERIFY(pressKey(Qt::Key_Return));
        QTRY_VERIFY(topAs<ProjectSetupView>());

        auto *generation = topAs<ProjectSetupView>();
        QTRY_VERIFY_WITH_TIMEOUT(generation->viewModel()->isProjectCreationDone(), 60000);
        QVERIFY(!generation->viewModel()->hasFailedSteps());
        QVERIFY(QFileInfo(root + QStringLiteral("/Orbit/Network/APIClient.swift")).isFile());
        const test::LineChanges changes = test::lineChanges(podfile, test::readFile(root + QStringLiteral("/Podfile")));
        // (The secrets pods Arkana adds are TestGenerationRun's.)
        QCOMPARE(changes.removed, QStringList{QStringLiteral("    pod 'SnapKit', '5.7.1' # layout DSL")});
    }

    // Every screen both walks passed, as they were left on the stack: each
    // control Tab reaches has a name, a check box is one with its state, a
    // menu says its choice; no text on one line is cut off.
    void everyScreenReadsToAScreenReader_data()
    {
        QTest::addColumn<QString>("screen");
        for (const char *screen : {"preProjectSetupView", "projectTypeSelectionView", "projectDetailsInitialView",
                                   "projectDetailsSubsequentView", "existingProjectModuleSelectionView",
                                   "podSelectionView", "reviewView", "projectSetupView"})
            QTest::newRow(screen) << QString::fromLatin1(screen);
    }
    void everyScreenReadsToAScreenReader()
    {
        QFETCH(QString, screen);
        QWidget *found = nullptr;
        for (int i = 0; i < stack()->count(); ++i) {
            if (stack()->widget(i)->objectName() == screen)
                found = stack()->widget(i);
        }
        QVERIFY(found);
        QCOMPARE(accessibilityFaults(found), QStringList());
        QCOMPARE(cutOffTexts(found), QStringList());
    }

    void cleanupTestCase()
    {
        ProjectSetupViewModel::waitForBackgroundTasks(30000);
    }
};

QTEST_MAIN(TestWizardFlow)
#include "TestWizardFlow.moc"
