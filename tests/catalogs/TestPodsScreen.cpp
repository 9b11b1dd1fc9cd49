#include "app/base/TextCatalog.h"
#include "app/widgets/BaseView.h"
#include "app/widgets/DropDownMenu.h"
#include "catalogs/PodSelectionView.h"
#include "catalogs/PodSelectionViewModel.h"
#include "tools/PageServer.h"
#include "tools/TestFiles.h"

#include <QAbstractButton>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest>

using namespace plinth;
using test::PageServer;

namespace {

QList<QAbstractButton *> rowButtons(QWidget *view, const char *list)
{
    return view->findChild<QWidget *>(list)->findChildren<QAbstractButton *>(QStringLiteral("itemButton"));
}

QStringList rowTitles(QWidget *view, const char *list)
{
    QStringList titles;
    for (QLabel *title : view->findChild<QWidget *>(list)->findChildren<QLabel *>("itemTitle"))
        titles << title->text();
    return titles;
}

} // namespace

class TestPodsScreen : public QObject
{
    Q_OBJECT

private slots:
    // (Rows moved by the mouse, Next and Previous are TestWizardFlow's; a
    // page that cannot be read is TestPodSelection's.)
    void rowsMoveByKeyboard()
    {
        PageServer server(test::readFile(QStringLiteral(PLINTH_FIXTURES_DIR "/pages/mobile-libraries.html")));
        ProjectDetailsModel details;
        details.selectedUI = text(key::uiKit);
        details.projectType = ProjectType::new_;
        PodSelectionView screen(std::make_unique<PodSelectionViewModel>(details, server.url()), FlagBinding{});
        screen.show();
        QWidget *view = &screen;
        QTRY_COMPARE_WITH_TIMEOUT(rowTitles(view, "supplementalPodsList"),
                                  (QStringList{"KWNetworking", "KWKeychain", "KWForms"}), 5000);
        QCOMPARE(rowButtons(view, "presetAndSelectedPodsList").size(), 12);

        // Space presses the focused row's button; the focus stays on the row
        // that takes the moved one's place. Return is Next's, wherever the
        // focus is. (The buttons' names for screen readers are what
        // TestWizardFlow presses.)
        QAbstractButton *first = rowButtons(view, "presetAndSelectedPodsList").first();
        first->setFocus();
        QTest::keyClick(first, Qt::Key_Space);
        QCOMPARE(rowTitles(view, "supplementalPodsList").first(), "R.swift");
        QCOMPARE(view->focusWidget(), rowButtons(view, "presetAndSelectedPodsList").first());
        QTest::keyClick(view->focusWidget(), Qt::Key_Space);
        QCOMPARE(rowTitles(view, "supplementalPodsList").mid(0, 2), (QStringList{"Bagel", "R.swift"}));
        QVERIFY(!screen.shouldGoToNextView());
        QTest::keyClick(view->focusWidget(), Qt::Key_Return);
        QTRY_VERIFY(screen.shouldGoToNextView());
    }

    // An existing project chooses how its libraries come, starting at
    // CocoaPods when it has a Podfile; a new one keeps its own choice. Tab
    // reaches the menu before the lists; the keyboard's choice is saved.
    void librariesThrough_data()
    {
        QTest::addColumn<QString>("project"); // "new", or an existing one with or without a Podfile
        QTest::addColumn<DependencyManager>("initial");
        QTest::addColumn<DependencyManager>("chosen");
        const auto cocoaPods = DependencyManager::cocoaPods;
        const auto packages = DependencyManager::swiftPackageManager;
        QTest::newRow("new project keeps its choice") << "new" << packages << packages;
        QTest::newRow("Podfile") << "Podfile" << cocoaPods << packages;
        QTest::newRow("no Podfile") << "none" << packages << cocoaPods;
    }

    void librariesThrough()
    {
        QFETCH(QString, project);
        QFETCH(DependencyManager, initial);
        QFETCH(DependencyManager, chosen);
        PageServer server("<html></html>");
        QTemporaryDir projects;
        ProjectDetailsModel details;
        details.projectType = project == "new" ? ProjectType::new_ : ProjectType::existing;
        details.projectPath = projects.path();
        details.projectName = "Shop";
        details.dependencyManager = initial; // as the home or build settings screen left it
        if (project == "Podfile")
            QVERIFY(test::writeFile(projects.filePath("Shop/Podfile"), "target 'Shop' do\nend\n"));
        PodSelectionView screen(std::make_unique<PodSelectionViewModel>(details, server.url()), FlagBinding{});
        screen.show();
        QVERIFY(QTest::qWaitForWindowActive(&screen));
        auto *menu = screen.findChild<DropDownMenu *>("dependencyManagerMenu");
        QCOMPARE(menu != nullptr, project != "new");
        if (menu) {
            QCOMPARE(menu->selectedOption(), menu->options().at(int(initial)));
            // (Its name and place in the Tab order: the wizard walk's.)
            menu->setFocus();
            // Space opens the menu; Down and Return choose.
            QTimer::singleShot(100, menu, [menu, down = int(chosen) + 1] {
                for (int i = 0; i < down; ++i)
                    QTest::keyClick(menu->menu(), Qt::Key_Down);
                QTest::keyClick(menu->menu(), Qt::Key_Return);
            });
            QTest::keyClick(menu, Qt::Key_Space);
            QTRY_COMPARE(menu->selectedOption(), menu->options().at(int(chosen)));
        }
        QTest::mouseClick(screen.frame()->nextButton(), Qt::LeftButton);
        QTRY_VERIFY(screen.shouldGoToNextView());
        QCOMPARE(details.dependencyManager, chosen);
    }
};

QTEST_MAIN(TestPodsScreen)
#include "TestPodsScreen.moc"
