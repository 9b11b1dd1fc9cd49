#include "app/base/ResourceBundle.h"
#include "app/base/TextCatalog.h"
#include "app/widgets/BaseView.h"
#include "app/widgets/ToggleButton.h"
#include "catalogs/ExistingProjectModuleSelectionView.h"
#include "catalogs/ExistingProjectModuleSelectionViewModel.h"
#include "catalogs/ExpandableItemsView.h"
#include "tools/TestFiles.h"

#include <QFontInfo>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QtTest>

using namespace plinth;
using plinth::test::writeFile;

namespace {

using Files = QMap<QString, QByteArray>;

const Files uiKit{{"Shop/AppDelegate.swift", "import UIKit\n"}};

} // namespace

class TestModulesScreen : public QObject
{
    Q_OBJECT

    QTemporaryDir m_work;
    ProjectDetailsModel m_details;

    /// The module screen of the project Shop holding `files` (paths below
    /// its folder), with the description's Arkana choice `arkana`.
    std::unique_ptr<ExistingProjectModuleSelectionView> openProject(const Files &files, bool arkana = true)
    {
        m_details = ProjectDetailsModel();
        m_details.projectPath = m_work.path();
        m_details.projectName = "Shop";
        m_details.selectedUI = "before";
        m_details.doesIncludeArkana = arkana;
        QDir(m_work.filePath("Shop")).removeRecursively();
        for (auto it = files.cbegin(); it != files.cend(); ++it) {
            if (!writeFile(m_work.filePath("Shop/") + it.key(), it.value()))
                return nullptr;
        }
        auto view = std::make_unique<ExistingProjectModuleSelectionView>(
            std::make_unique<ExistingProjectModuleSelectionViewModel>(m_details),
            FlagBinding{});
        view->show();
        return view;
    }

private slots:
    // The catalog follows the detected kind, or the kind the user chooses
    // when none is found (an Objective-C project is told the modules are
    // Swift); the window is never kept waiting for the walk: the screen opens
    // busy, with Next off. The project's environments become the variants
    // and show under the Arkana control while it is on.
    void offersTheCatalogOfTheDetectedKind_data()
    {
        QTest::addColumn<Files>("files");
        QTest::addColumn<bool>("arkana");
        QTest::addColumn<QString>("choice"); // the radio button pressed, if any
        QTest::addColumn<QString>("notice"); // its text key; empty: no question asked
        QTest::addColumn<QString>("selectedUI");
        QTest::addColumn<int>("offered");
        QTest::addColumn<QStringList>("environments");

        // The UIKit project a team keeps is TestWizardFlow's; which kind a
        // project's files name is TestProjectUIDetection's.
        QTest::newRow("Objective-C, SwiftUI chosen")
            << Files{{"Shop/main.m", "int main() {}\n"}, {"Shop/AppDelegate.m", "@import UIKit;\n"}} << true
            << "chooseSwiftUI" << key::objectiveCProject << text(key::swiftUi) << 7 << QStringList{"Debug", "Release"};
        // Where the environments come from is TestSecretsMerge's; the build
        // configurations' way onto this screen is TestWizardFlow's.
        QTest::newRow(".arkana.yml environments, Arkana off")
            << Files{{"Shop/AppDelegate.swift", "import UIKit\n"}, {".arkana.yml", "environments:\n  - Dev\n  - QA\n"}}
            << false << "" << "" << text(key::uiKit) << 8 << QStringList{"Dev", "QA"};
    }

    void offersTheCatalogOfTheDetectedKind()
    {
        QFETCH(Files, files);
        QFETCH(bool, arkana);
        QFETCH(QString, choice);
        QFETCH(QString, notice);
        QFETCH(QString, selectedUI);
        QFETCH(int, offered);
        QFETCH(QStringList, environments);
        auto view = openProject(files, arkana);
        QVERIFY(view);
        auto *busy = view->findChild<QWidget *>("detectingIndicator");
        QVERIFY(busy->isVisible() && !view->frame()->nextButton()->isEnabled());

        QTRY_VERIFY(!view->viewModel()->isDetecting());
        QVERIFY(!busy->isVisible());
        auto *question = view->findChild<QLabel *>("uiKindNotice");
        QCOMPARE(question->isVisible(), !notice.isEmpty());
        if (!notice.isEmpty())
            QCOMPARE(question->text(), text(notice.toLatin1().constData()));
        if (!choice.isEmpty())
            QTest::mouseClick(view->findChild<QRadioButton *>(choice), Qt::LeftButton);
        QCOMPARE(m_details.selectedUI, selectedUI);
        ExpandableItemsView *supplemental = view->findChild<ExpandableItemsView *>("supplementalModulesList");
        QCOMPARE(supplemental->items().size(), offered);
        QCOMPARE(supplemental->isVisible(), offered > 0);
        // The descriptions in the thin face, whose file names a family of its
        // own, not the Heebo family's regular one.
        auto *description = supplemental->findChild<QLabel *>("itemDescription");
        if (description && !ResourceBundle::main().path("Heebo-Thin", "woff", "fonts").isEmpty()) {
            const QFontInfo face(description->font());
            QCOMPARE(face.family(), QStringLiteral("Heebo Thin"));
            QVERIFY2(face.weight() < QFont::Normal, qPrintable(QString::number(face.weight())));
        }
        QVERIFY(!view->findChild<ExpandableItemsView *>("selectedModulesList")->isVisible());

        QStringList variants;
        for (const CheckBoxItem &variant : std::as_const(m_details.configVariant))
            variants << variant.label;
        QCOMPARE(variants, environments);
        auto *toggle = view->findChild<ToggleButton *>("arkanaToggle");
        auto *label = view->findChild<QLabel *>("arkanaEnvironments");
        QVERIFY(toggle->isVisible());
        QCOMPARE(toggle->isChecked(), arkana);
        QCOMPARE(label->isVisible(), arkana);
        QVERIFY2(label->text().endsWith(environments.join(", ")), qPrintable(label->text()));
        if (!arkana) {
            QTest::mouseClick(toggle, Qt::LeftButton);
            QVERIFY(label->isVisible() && m_details.doesIncludeArkana);
        }
    }

    // A detection that ends after its screen has gone, or after a newer one
    // was started, changes nothing.
    void lateDetectionsAreDropped()
    {
        openProject(uiKit).reset();
        ExistingProjectModuleSelectionViewModel model(m_details);
        m_details.projectName = "Elsewhere";
        model.detectProjectUI();
        QTRY_VERIFY(!model.isDetecting());
        QTest::qWait(50);
        QVERIFY(model.supplementalModules().isEmpty());
        QCOMPARE(m_details.selectedUI, "before");
    }
};

QTEST_MAIN(TestModulesScreen)
#include "TestModulesScreen.moc"
