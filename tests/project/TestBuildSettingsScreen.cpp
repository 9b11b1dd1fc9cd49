#include "app/FakeServices.h"
#include "app/base/TextCatalog.h"
#include "app/widgets/BaseView.h"
#include "app/widgets/DropDownMenu.h"
#include "app/widgets/ToggleButton.h"
#include "project/AddVariantPopover.h"
#include "project/ProjectDetailsModel.h"
#include "project/ProjectDetailsSubsequentView.h"
#include "project/ProjectDetailsSubsequentViewModel.h"
#include "tools/TestFiles.h"

#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest>

using namespace plinth;
using plinth::test::FakeAlerts;
using plinth::test::writeFile;

namespace {

void typeInto(QLineEdit *field, const QString &value)
{
    field->setFocus();
    field->selectAll();
    QTest::keyClick(field, Qt::Key_Backspace);
    QTest::keyClicks(field, value);
}

QList<CheckBoxItem> checkedItems(const QStringList &labels)
{
    QList<CheckBoxItem> items;
    for (const QString &label : labels)
        items.append({label, true});
    return items;
}

// The usable folder: quotes, a dollar and a command in its name reach the
// description as typed.
const QString folder = QStringLiteral("It's \"my\" $HOME $(touch CANARY)");

} // namespace

class TestBuildSettingsScreen : public QObject
{
    Q_OBJECT

    QTemporaryDir m_root;
    ProjectDetailsModel m_details;
    FakeAlerts m_alerts;

    // (The folder panel is TestWizardFlow's.)
    std::unique_ptr<ProjectDetailsSubsequentView> makeView()
    {
        const FolderChooser noPanel = [](QWidget *, const FolderPanelOptions &) { return QString(); };
        auto view = std::make_unique<ProjectDetailsSubsequentView>(
            std::make_unique<ProjectDetailsSubsequentViewModel>(m_details, &m_alerts), FlagBinding{}, noPanel);
        view->show();
        return view;
    }

    template <typename T = QWidget>
    static T *child(const QWidget &view, const QString &name)
    {
        return view.findChild<T *>(name);
    }

    static void click(const QWidget &view, const QString &name)
    {
        QWidget *widget = child(view, name);
        QVERIFY2(widget, qPrintable(name));
        QTest::mouseClick(widget, Qt::LeftButton);
    }

    QString path(const QString &relative) const { return m_root.filePath(relative); }

    /// The alert of a destination that holds the product's folder already.
    QString alreadyThere() const
    {
        return text(key::directoryAlreadyExistTitle) + '|' + text(key::directoryAlreadyExistSubTitle, path("taken/Demo"));
    }

private slots:
    void initTestCase()
    {
        QVERIFY(QDir(m_root.path()).mkpath(folder));
        QVERIFY(QDir(m_root.path()).mkpath("taken/Demo"));
        QVERIFY(writeFile(path("file"), "x"));
    }

    void init()
    {
        m_details = ProjectDetailsModel();
        m_details.projectName = "Demo";
        m_alerts.reset();
    }

    // A destination typed that is no folder (a file here) gets the message
    // under the field and leaves Next off; a folder takes both away. (A
    // folder that holds the product's folder already is refused by Next,
    // below.)
    void typedDestination()
    {
        auto view = makeView();
        QPushButton *next = view->frame()->nextButton();
        QVERIFY(!next->isEnabled());
        auto *field = child<QLineEdit>(*view, "destinationField");
        auto *message = child<QLabel>(*view, "pathMessage");
        typeInto(field, path("file"));
        QCOMPARE(view->viewModel()->projectPath(), path("file"));
        QCOMPARE(message->text(), text(key::inValidPath));
        QVERIFY(message->isVisible() && !next->isEnabled());
        typeInto(field, path(folder));
        QCOMPARE(view->viewModel()->projectPath(), path(folder));
        QVERIFY(message->text().isEmpty() && !message->isVisible() && next->isEnabled());
        QVERIFY(m_alerts.shown.isEmpty());
    }

    // Next writes the menus, the destination, the checked variants in list
    // order and both options (one turned on, one left off), then settles the
    // development variant: it asks with the pop-up of the checked variants
    // without Development (the answer is the scheme), and stays with an
    // alert when none is checked. A typed destination that already holds the
    // product's folder gets the chooser's alert, and nothing is written.
    // (With Development checked it moves on at once: TestWizardFlow.)
    void nextSettlesTheVariants_data()
    {
        QTest::addColumn<QStringList>("toCheck"); // variants, then "AWS"/"BLE"
        QTest::addColumn<QString>("destination");
        QTest::addColumn<QString>("alert"); // the start of "title|message"
        QTest::addColumn<QStringList>("stored");
        QTest::addColumn<QString>("scheme");
        QTest::newRow("nothing checked") << QStringList{"BLE"} << folder << text(key::noConfigVariantSelectionTitle) + '|'
                                         << QStringList{} << "Staging";
        QTest::newRow("UAT and Staging") << QStringList{"Staging", "UAT", "AWS"} << folder
                                         << text(key::selectDevelopmentSchemeTitle) + '|' << QStringList{"UAT", "Staging"}
                                         << "Staging";
        QTest::newRow("typed destination holds the product")
            << QStringList{"Development"} << "taken" << alreadyThere() << QStringList{"Old"} << "Staging";
    }

    void nextSettlesTheVariants()
    {
        QFETCH(QStringList, toCheck);
        QFETCH(QString, destination);
        QFETCH(QString, alert);
        QFETCH(QStringList, stored);
        QFETCH(QString, scheme);
        const bool aws = toCheck.removeAll("AWS") > 0;
        const bool ble = toCheck.removeAll("BLE") > 0;
        const bool written = destination != QLatin1String("taken");
        m_details.developmentSchemeName = "Staging"; // from an earlier pass
        m_details.configVariant = checkedItems({"Old"});
        m_details.doesIncludeAWS = !aws;
        m_details.doesIncludeBLE = !ble;
        auto view = makeView();
        child<DropDownMenu>(*view, "interfaceMenu")->menu()->actions().at(1)->trigger();
        child<DropDownMenu>(*view, "deploymentTargetMenu")->menu()->actions().at(0)->trigger();
        child<DropDownMenu>(*view, "librariesThroughMenu")->menu()->actions().at(1)->trigger();
        typeInto(child<QLineEdit>(*view, "destinationField"), path(destination));
        for (const QString &label : toCheck)
            click(*view, "variant_" + label);
        if (aws)
            click(*view, "otherConfiguration_" + text(key::awss3));
        if (ble)
            click(*view, "otherConfiguration_" + text(key::ble));
        QTest::mouseClick(view->frame()->nextButton(), Qt::LeftButton);

        QTRY_COMPARE(m_alerts.shown.size(), 1);
        QVERIFY2(m_alerts.shown.first().startsWith(alert), qPrintable(m_alerts.shown.first()));
        const bool asks = alert.startsWith(text(key::selectDevelopmentSchemeTitle));
        QCOMPARE(m_alerts.options.first(), asks ? stored : QStringList{});
        QVERIFY(!view->viewModel()->shouldGoToNext());
        m_alerts.dismiss(scheme);
        QTRY_COMPARE(view->viewModel()->shouldGoToNext(), written && !stored.isEmpty());
        QCOMPARE(m_details.configVariant, checkedItems(stored));
        QCOMPARE(m_details.developmentSchemeName, scheme);
        QCOMPARE(m_details.projectPath, written ? path(folder) : QString());
        if (written) {
            QCOMPARE(m_details.selectedUI, text(key::swiftUi));
            QCOMPARE(m_details.minimumDeploymentTarget, text(key::deploymentTarget16_0));
            QCOMPARE(m_details.dependencyManager, DependencyManager::swiftPackageManager);
            QCOMPARE(m_details.doesIncludeAWS, aws);
            QCOMPARE(m_details.doesIncludeBLE, ble);
        }
    }

    // A label that is no Swift name or names a listed variant is refused
    // with its message and the pop-up stays; Escape closes it, keeping the
    // label and dropping the message. (Every label rule is
    // TestProjectRules'.)
    void addVariant_data()
    {
        QTest::addColumn<QString>("label");
        QTest::addColumn<QString>("messageKey"); // empty: no refusal
        QTest::newRow("own name") << "QA_2" << "";
        QTest::newRow("not an identifier") << "Pre Prod" << key::variantLabelNotIdentifier;
        QTest::newRow("names a listed variant") << "Staging" << key::variantLabelDuplicate;
    }

    void addVariant()
    {
        QFETCH(QString, label);
        QFETCH(QString, messageKey);
        auto view = makeView();
        ProjectDetailsSubsequentViewModel *model = view->viewModel();
        click(*view, "addVariantButton");
        QWidget *popover = view->addVariantPopover();
        QTRY_VERIFY(popover->isVisible());
        auto *field = child<QLineEdit>(*popover, "newConfigLabelField");
        typeInto(field, label);
        QTest::keyClick(field, Qt::Key_Return);

        const bool added = messageKey.isEmpty() && !label.isEmpty();
        auto *box = child<ToggleButton>(*view, "variant_" + label);
        QCOMPARE(model->configVariantItems().size(), added ? 5 : 4);
        QCOMPARE(box && box->isChecked(), added);
        QCOMPARE(popover->isVisible(), !added);
        auto *message = child<QLabel>(*popover, "newConfigLabelMessage");
        QCOMPARE(message->text(), messageKey.isEmpty() ? QString() : text(messageKey.toLatin1().constData()));
        QCOMPARE(message->isVisible(), !messageKey.isEmpty());
        if (!added) // Escape closes
            QTest::keyClick(field, Qt::Key_Escape);
        QVERIFY(!popover->isVisible() && !model->showAddConfigModal());
        QCOMPARE(model->newConfigLabel(), added ? QString() : label);
        QCOMPARE(model->newConfigLabelMessage(), QString());
    }
};

QTEST_MAIN(TestBuildSettingsScreen)
#include "TestBuildSettingsScreen.moc"
