// Walks the wizard in the application panel by object name, as a user would:
// from the prerequisite screen through home, identity, build settings and
// pods to the generation screen and its Finish, with the fake toolchain on
// every search path (also the embedded terminal's), the library page from a
// loopback server and folder panels answered by the test.
#include "app/FakeServices.h"
#include "app/ScreenFlow.h"
#include "app/base/TextCatalog.h"
#include "app/widgets/AlertPanelController.h"
#include "app/widgets/BaseView.h"
#include "app/widgets/CustomNSPanel.h"
#include "app/widgets/ScreenStack.h"
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
#include "tools/PageServer.h"
#include "tools/TestFiles.h"

#include <QAbstractButton>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTemporaryDir>
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

void click(QAbstractButton *button)
{
    QVERIFY(button);
    QVERIFY(button->isVisible() && button->isEnabled());
    QTest::mouseClick(button, Qt::LeftButton);
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
        QTRY_VERIFY_WITH_TIMEOUT(nextOf(screen)->isEnabled(), 20000);
        click(nextOf(screen));
        QTRY_VERIFY(topAs<ProjectTypeSelectionView>());
    }

    void fillIdentity(const QString &product)
    {
        auto *screen = topAs<ProjectDetailsInitialView>();
        QVERIFY(screen);
        // Typing starts in the product name field.
        QTRY_COMPARE(QApplication::focusWidget(), child<QWidget>(screen, QStringLiteral("productNameField")));
        auto *author = child<QLineEdit>(screen, QStringLiteral("authorNameField"));
        // The looked-up name arrives once; typing comes after it.
        QTRY_VERIFY_WITH_TIMEOUT(!author->text().isEmpty(), 3000);
        author->selectAll();
        QTest::keyClicks(author, QStringLiteral("Ada Lovelace"));
        QTest::keyClicks(child<QLineEdit>(screen, QStringLiteral("productNameField")), product);
        QVERIFY(nextOf(screen)->isEnabled());
    }

    void chooseBuildSettings()
    {
        auto *screen = topAs<ProjectDetailsSubsequentView>();
        QVERIFY(screen);
        m_chosenFolder = destination();
        click(child(screen, QStringLiteral("chooseDestinationButton")));
        click(child(screen, QStringLiteral("variant_Production")));
        click(child(screen, QStringLiteral("variant_Development")));
        QVERIFY(nextOf(screen)->isEnabled());
    }

    /// Presses the button named `accessibleName` in the list `listName` on
    /// the top screen; false when there is none.
    static bool pressItemButton(const QString &listName, const QString &accessibleName)
    {
        for (QAbstractButton *button : child<QWidget>(stack()->top(), listName)->findChildren<QAbstractButton *>()) {
            if (button->accessibleName() == accessibleName) {
                QTest::mouseClick(button, Qt::LeftButton);
                return true;
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

        click(child(home, QStringLiteral("newProjectButton")));
        QTRY_VERIFY(topAs<ProjectDetailsInitialView>());
        QCOMPARE(m_details.projectType, ProjectType::new_);
        fillIdentity(QStringLiteral("Draft"));
        click(previousOf(topAs<ProjectDetailsInitialView>()));
        QTRY_COMPARE(stack()->top(), home);
        QVERIFY(m_details.projectName.isEmpty()); // nothing was confirmed

        click(child(home, QStringLiteral("newProjectButton")));
        QTRY_VERIFY(topAs<ProjectDetailsInitialView>());
        QCOMPARE(child<QLineEdit>(stack()->top(), QStringLiteral("productNameField"))->text(), QString());
        fillIdentity(QStringLiteral("Orbit"));
        QTest::keyClick(child<QLineEdit>(stack()->top(), QStringLiteral("productNameField")), Qt::Key_Return);
        QTRY_VERIFY(topAs<ProjectDetailsSubsequentView>());
        QCOMPARE(m_details.projectName, QStringLiteral("Orbit"));

        auto *identity = stack()->widget(stack()->count() - 2);
        click(previousOf(topAs<ProjectDetailsSubsequentView>()));
        QTRY_COMPARE(stack()->top(), identity);
        click(nextOf(identity));
        QTRY_VERIFY(topAs<ProjectDetailsSubsequentView>());
        chooseBuildSettings();
        click(nextOf(stack()->top()));
        QTRY_VERIFY(topAs<PodSelectionView>());

        auto *settings = stack()->widget(stack()->count() - 2);
        click(previousOf(topAs<PodSelectionView>()));
        QTRY_COMPARE(stack()->top(), settings);
        click(nextOf(settings));
        QTRY_VERIFY(topAs<PodSelectionView>());
        PodSelectionViewModel *pods = topAs<PodSelectionView>()->viewModel();
        QVERIFY(QTest::qWaitFor([pods] { return !pods->supplementalPodsForSelectedUI().isEmpty(); }, 10000));
        const QString pod = pods->supplementalPodsForSelectedUI().first().title;
        QVERIFY(pod.startsWith(QLatin1String("KW")));
        QVERIFY(pressItemButton(QStringLiteral("supplementalPodsList"), text(key::addItem, pod)));
        click(nextOf(stack()->top()));
        QTRY_VERIFY(topAs<ProjectSetupView>());
        QVERIFY(m_details.userSelectedPods.contains(pod));

        auto *generation = topAs<ProjectSetupView>();
        QTRY_VERIFY_WITH_TIMEOUT(generation->viewModel()->isProjectCreationDone(), 60000);
        QVERIFY(!generation->viewModel()->hasFailedSteps());
        QVERIFY(child<QWidget>(generation, QStringLiteral("podInstallTerminal")));
        // The terminal runs the installation with the fake pod; the next pod
        // check sees every pod and enables Finish.
        QTRY_VERIFY_WITH_TIMEOUT(nextOf(generation)->isEnabled(), 30000);
        click(nextOf(generation));
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
        click(child(stack()->top(), QStringLiteral("existingProjectButton")));
        QTRY_VERIFY(topAs<ExistingProjectModuleSelectionView>());
        QCOMPARE(m_panelTitles.last(), QStringLiteral("Choose Project Folder"));
        QCOMPARE(m_details.projectType, ProjectType::existing);

        auto *modules = topAs<ExistingProjectModuleSelectionView>();
        auto *environments = child<QLabel>(modules, QStringLiteral("arkanaEnvironments"));
        QVERIFY(environments);
        QTRY_VERIFY(environments->isVisible());
        QCOMPARE(environments->text(), text(key::arkanaEnvironments, QStringLiteral("Debug, Staging, Release")));
        QVERIFY(QTest::qWaitFor([modules] { return !modules->viewModel()->supplementalModulesForSelectedUI().isEmpty(); }));
        QVERIFY(pressItemButton(QStringLiteral("supplementalModulesList"), text(key::addItem, QStringLiteral("Network layer"))));
        click(nextOf(modules));
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
        click(nextOf(stack()->top()));
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
        files->setCurrentItem(podfileRows.first());
        QVERIFY(child<QPlainTextEdit>(review, QStringLiteral("reviewDiff"))
                    ->toPlainText()
                    .contains(QStringLiteral("\n-    pod 'SnapKit', '5.7.1' # layout DSL\n")));
        click(previousOf(review));
        QTRY_VERIFY(topAs<PodSelectionView>());
        click(nextOf(stack()->top()));
        QTRY_VERIFY(topAs<ReviewView>() && topAs<ReviewView>() != review);
        QTRY_VERIFY_WITH_TIMEOUT(nextOf(stack()->top())->isEnabled(), 30000); // Apply waits for the preview
        click(nextOf(stack()->top()));
        QTRY_VERIFY(topAs<ProjectSetupView>());

        auto *generation = topAs<ProjectSetupView>();
        QTRY_VERIFY_WITH_TIMEOUT(generation->viewModel()->isProjectCreationDone(), 60000);
        QVERIFY(!generation->viewModel()->hasFailedSteps());
        QVERIFY(QFileInfo(root + QStringLiteral("/Orbit/Network/APIClient.swift")).isFile());
        const test::LineChanges changes = test::lineChanges(podfile, test::readFile(root + QStringLiteral("/Podfile")));
        // (The secrets pods Arkana adds are TestGenerationRun's.)
        QCOMPARE(changes.removed, QStringList{QStringLiteral("    pod 'SnapKit', '5.7.1' # layout DSL")});
    }

    void cleanupTestCase()
    {
        ProjectSetupViewModel::waitForBackgroundTasks(30000);
    }
};

QTEST_MAIN(TestWizardFlow)
#include "TestWizardFlow.moc"
