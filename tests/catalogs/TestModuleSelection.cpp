#include "app/BaseView.h"
#include "app/TextCatalog.h"
#include "app/ToggleButton.h"
#include "catalogs/ExistingProjectModuleSelectionView.h"
#include "catalogs/ExistingProjectModuleSelectionViewModel.h"
#include "catalogs/ExpandableItemsView.h"
#include "tools/TestFiles.h"

#include <QPushButton>
#include <QTemporaryDir>
#include <QToolButton>
#include <QtTest>

using namespace plinth;
using plinth::test::writeFile;

namespace {

QStringList titles(const QList<ListItem> &items)
{
    QStringList names;
    for (const ListItem &item : items)
        names << item.title;
    return names;
}

/// Presses the plus or minus button of the row titled `title` in `list`.
void press(ExpandableItemsView *list, const QString &title)
{
    const QList<QToolButton *> buttons = list->findChildren<QToolButton *>(QStringLiteral("itemButton"));
    const qsizetype row = titles(list->items()).indexOf(title);
    QVERIFY2(row >= 0 && row < buttons.size(), qPrintable(title));
    QTest::mouseClick(buttons.at(row), Qt::LeftButton);
}

} // namespace

class TestModuleSelection : public QObject
{
    Q_OBJECT

    QTemporaryDir m_work;
    ProjectDetailsModel m_details;
    bool m_previous = true;

    /// The module screen of a project Shop with one Swift file:
    /// AppDelegate.swift names UIKit, any other file SwiftUI (only
    /// ShopApp.swift counts as an app file).
    std::unique_ptr<ExistingProjectModuleSelectionView> openProject(const QString &file)
    {
        m_details = ProjectDetailsModel();
        m_details.projectPath = m_work.path();
        m_details.projectName = "Shop";
        m_details.selectedUI = "before";
        m_previous = true;
        QDir(m_work.filePath("Shop")).removeRecursively();
        if (!writeFile(m_work.filePath("Shop/Shop/") + file, file == "AppDelegate.swift" ? "import UIKit\n" : "import SwiftUI\n"))
            return nullptr;
        auto view = std::make_unique<ExistingProjectModuleSelectionView>(
            std::make_unique<ExistingProjectModuleSelectionViewModel>(m_details),
            FlagBinding{[this] { return m_previous; }, [this](bool value) { m_previous = value; }});
        view->show();
        return view;
    }

private slots:
    // The catalog follows the detected kind; the window is never kept
    // waiting for the walk: the screen opens busy, with Next off.
    void offersTheCatalogOfTheDetectedKind_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QString>("selectedUI");
        QTest::addColumn<int>("offered");
        QTest::newRow("UIKit") << "AppDelegate.swift" << text(key::uiKit) << 8;
        QTest::newRow("SwiftUI") << "ShopApp.swift" << text(key::swiftUi) << 7;
        QTest::newRow("undetectable") << "Main.swift" << "before" << 0;
    }

    void offersTheCatalogOfTheDetectedKind()
    {
        QFETCH(QString, file);
        QFETCH(QString, selectedUI);
        QFETCH(int, offered);
        auto view = openProject(file);
        QVERIFY(view);
        auto *busy = view->findChild<QWidget *>("detectingIndicator");
        QVERIFY(busy->isVisible() && !view->frame()->nextButton()->isEnabled());

        QTRY_VERIFY(!view->viewModel()->isDetecting());
        QVERIFY(!busy->isVisible());
        QCOMPARE(m_details.selectedUI, selectedUI);
        ExpandableItemsView *supplemental = view->findChild<ExpandableItemsView *>("supplementalModulesList");
        QCOMPARE(supplemental->items().size(), offered);
        QCOMPARE(supplemental->isVisible(), offered > 0);
        QVERIFY(!view->findChild<ExpandableItemsView *>("selectedModulesList")->isVisible());
        QVERIFY(view->findChild<ToggleButton *>("arkanaToggle")->isVisible());

        // Every offered module chosen: the first list goes away, also in a
        // SwiftUI project, where the UIKit-only module stays behind unshown.
        for (int i = 0; i <= offered; ++i) // the last press finds no row
            view->viewModel()->selectSupplementalModule(0);
        QCOMPARE(view->viewModel()->selectedModules().size(), offered);
        QVERIFY(!supplemental->isVisible());
        QCOMPARE(view->findChild<ExpandableItemsView *>("selectedModulesList")->isVisible(), offered > 0);
    }

    // Newest first; a module given back returns to the top of the offer
    // with its plus button. Pressing the Arkana control writes the
    // description each time; setting its mark does not. Next stores the
    // choice in its order; Previous goes home.
    void movesModulesAndArkanaThenNext()
    {
        auto view = openProject("AppDelegate.swift");
        QVERIFY(view);
        QTRY_VERIFY(!view->viewModel()->isDetecting());
        ExpandableItemsView *offered = view->findChild<ExpandableItemsView *>("supplementalModulesList");
        ExpandableItemsView *chosen = view->findChild<ExpandableItemsView *>("selectedModulesList");
        press(offered, "AWSS3");
        press(offered, "BLE");
        QCOMPARE(titles(chosen->items()), (QStringList{"BLE", "AWSS3"}));
        press(chosen, "BLE");
        QCOMPARE(offered->items().size(), 7);
        QCOMPARE(offered->items().first().title, "BLE");
        QCOMPARE(offered->items().first().podType, PodType::supplemental);

        auto *toggle = view->findChild<ToggleButton *>("arkanaToggle");
        QVERIFY(view->shouldIncludeArkana() && toggle->isChecked());
        QTest::mouseClick(toggle, Qt::LeftButton);
        QVERIFY(!view->shouldIncludeArkana() && !toggle->isChecked() && !m_details.doesIncludeArkana);
        QTest::keyClick(toggle, Qt::Key_Space);
        QVERIFY(view->shouldIncludeArkana() && m_details.doesIncludeArkana);
        view->setShouldIncludeArkana(false);
        QVERIFY(!toggle->isChecked() && m_details.doesIncludeArkana);

        QTest::mouseClick(view->frame()->nextButton(), Qt::LeftButton);
        QVERIFY(view->shouldGoToNext());
        QCOMPARE(titles(m_details.userSelectedModules), QStringList{"AWSS3"});
        QTest::mouseClick(view->frame()->previousButton(), Qt::LeftButton);
        QVERIFY(!m_previous);
    }

    // A detection that ends after its screen has gone, or after a newer one
    // was started, changes nothing.
    void lateDetectionsAreDropped()
    {
        openProject("AppDelegate.swift").reset();
        ExistingProjectModuleSelectionViewModel model(m_details);
        m_details.projectName = "Elsewhere";
        model.detectProjectUI();
        QTRY_VERIFY(!model.isDetecting());
        QTest::qWait(50);
        QVERIFY(model.supplementalModules().isEmpty());
        QCOMPARE(m_details.selectedUI, "before");
    }
};

QTEST_MAIN(TestModuleSelection)
#include "TestModuleSelection.moc"
