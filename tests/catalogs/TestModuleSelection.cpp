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

/// Presses the plus or minus button of row `row` of `list`.
void pressRow(ExpandableItemsView *list, int row)
{
    const QList<QToolButton *> buttons = list->findChildren<QToolButton *>(QStringLiteral("itemButton"));
    QVERIFY(row < buttons.size());
    QTest::mouseClick(buttons.at(row), Qt::LeftButton);
}

} // namespace

class TestModuleSelection : public QObject
{
    Q_OBJECT

    QTemporaryDir m_work;
    ProjectDetailsModel m_details;
    bool m_previous = true;

    /// A project Shop with one Swift file: AppDelegate.swift names UIKit,
    /// any other file SwiftUI (only ShopApp.swift counts as an app file).
    void makeProject(const QString &file)
    {
        m_details = ProjectDetailsModel();
        m_details.projectPath = m_work.path();
        m_details.projectName = QStringLiteral("Shop");
        m_details.selectedUI = QStringLiteral("before");
        QDir(m_work.filePath(QStringLiteral("Shop"))).removeRecursively();
        QVERIFY(writeFile(m_work.filePath(QStringLiteral("Shop/Shop/")) + file,
                          file == QLatin1String("AppDelegate.swift") ? "import UIKit\n" : "import SwiftUI\n"));
    }

    std::unique_ptr<ExistingProjectModuleSelectionView> makeView()
    {
        m_previous = true;
        auto view = std::make_unique<ExistingProjectModuleSelectionView>(
            std::make_unique<ExistingProjectModuleSelectionViewModel>(m_details),
            FlagBinding{[this] { return m_previous; }, [this](bool value) { m_previous = value; }});
        view->show();
        return view;
    }

    static ExpandableItemsView *list(const QWidget &view, const char *name)
    {
        return view.findChild<ExpandableItemsView *>(QLatin1String(name));
    }

private slots:
    // The catalog follows the detected kind; the window is never kept
    // waiting for the walk: the screen opens busy, with Next off.
    void offersTheCatalogOfTheDetectedKind_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QString>("selectedUI");
        QTest::addColumn<int>("offered");
        QTest::newRow("UIKit") << QStringLiteral("AppDelegate.swift") << text(key::uiKit) << 8;
        QTest::newRow("SwiftUI") << QStringLiteral("ShopApp.swift") << text(key::swiftUi) << 7;
        QTest::newRow("undetectable") << QStringLiteral("Main.swift") << QStringLiteral("before") << 0;
    }

    void offersTheCatalogOfTheDetectedKind()
    {
        QFETCH(QString, file);
        QFETCH(QString, selectedUI);
        QFETCH(int, offered);
        makeProject(file);
        auto view = makeView();
        auto *busy = view->findChild<QWidget *>(QStringLiteral("detectingIndicator"));
        QVERIFY(busy->isVisible());
        QVERIFY(!view->frame()->nextButton()->isEnabled());

        QTRY_VERIFY(!view->viewModel()->isDetecting());
        QVERIFY(!busy->isVisible());
        QCOMPARE(m_details.selectedUI, selectedUI);
        ExpandableItemsView *supplemental = list(*view, "supplementalModulesList");
        QCOMPARE(supplemental->items().size(), offered);
        QCOMPARE(supplemental->isVisible(), offered > 0);
        QCOMPARE(titles(supplemental->items()).contains(QStringLiteral("Dynamics")), offered == 8);
        QVERIFY(!list(*view, "selectedModulesList")->isVisible());
        QVERIFY(view->findChild<ToggleButton *>(QStringLiteral("arkanaToggle"))->isVisible());


        // Every offered module chosen: the first list goes away, also in a
        // SwiftUI project, where the UIKit-only module stays behind unshown.
        for (int i = 0; i <= offered; ++i) // the last press finds no row
            view->viewModel()->selectSupplementalModule(0);
        QCOMPARE(view->viewModel()->selectedModules().size(), offered);
        QVERIFY(!supplemental->isVisible());
        QCOMPARE(list(*view, "selectedModulesList")->isVisible(), offered > 0);
    }

    // Newest first; a module given back returns to the top of the offer
    // with its plus button; Next stores the choice in its order.
    void movesModulesNewestFirst()
    {
        makeProject(QStringLiteral("AppDelegate.swift"));
        auto view = makeView();
        QTRY_VERIFY(!view->viewModel()->isDetecting());
        ExpandableItemsView *offered = list(*view, "supplementalModulesList");
        ExpandableItemsView *chosen = list(*view, "selectedModulesList");
        pressRow(offered, titles(offered->items()).indexOf(QStringLiteral("AWSS3")));
        pressRow(offered, titles(offered->items()).indexOf(QStringLiteral("BLE")));
        QCOMPARE(titles(chosen->items()), (QStringList{QStringLiteral("BLE"), QStringLiteral("AWSS3")}));
        QVERIFY(chosen->isVisible());
        QCOMPARE(offered->items().size(), 6);

        pressRow(chosen, 0);
        QCOMPARE(offered->items().first().title, QStringLiteral("BLE"));
        QCOMPARE(offered->items().first().podType, PodType::supplemental);
        QTest::mouseClick(view->frame()->nextButton(), Qt::LeftButton);
        QVERIFY(view->shouldGoToNext());
        QCOMPARE(titles(m_details.userSelectedModules), QStringList{QStringLiteral("AWSS3")});

        QTest::mouseClick(view->frame()->previousButton(), Qt::LeftButton);
        QVERIFY(!m_previous);
    }

    // Pressing writes the description each time; setting the mark does not.
    void arkanaToggle()
    {
        makeProject(QStringLiteral("Main.swift"));
        auto view = makeView();
        auto *toggle = view->findChild<ToggleButton *>(QStringLiteral("arkanaToggle"));
        QVERIFY(view->shouldIncludeArkana() && toggle->isChecked());
        QTest::mouseClick(toggle, Qt::LeftButton);
        QVERIFY(!view->shouldIncludeArkana() && !toggle->isChecked());
        QVERIFY(!m_details.doesIncludeArkana);
        QTest::keyClick(toggle, Qt::Key_Space);
        QVERIFY(view->shouldIncludeArkana() && m_details.doesIncludeArkana);
        view->setShouldIncludeArkana(false);
        QVERIFY(!toggle->isChecked() && m_details.doesIncludeArkana);
    }

    // A detection that ends after its screen has gone, or after a newer one
    // was started, changes nothing.
    void lateDetectionsAreDropped()
    {
        makeProject(QStringLiteral("AppDelegate.swift"));
        delete new ExistingProjectModuleSelectionViewModel(m_details);
        ExistingProjectModuleSelectionViewModel model(m_details);
        m_details.projectName = QStringLiteral("Elsewhere");
        model.detectProjectUI();
        QTRY_VERIFY(!model.isDetecting());
        QTest::qWait(50);
        QVERIFY(model.supplementalModules().isEmpty());
        QCOMPARE(m_details.selectedUI, QStringLiteral("before"));
    }
};

QTEST_MAIN(TestModuleSelection)
#include "TestModuleSelection.moc"
