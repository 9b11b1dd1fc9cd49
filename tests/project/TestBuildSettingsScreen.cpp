#include "app/BaseView.h"
#include "app/DropDownMenu.h"
#include "app/TextCatalog.h"
#include "app/ToggleButton.h"
#include "app/FakeServices.h"
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
#include <QToolButton>
#include <QtTest>

#include <cerrno>
#include <cstring>
#include <unistd.h>

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

} // namespace

class TestBuildSettingsScreen : public QObject
{
    Q_OBJECT

    QTemporaryDir m_root;
    ProjectDetailsModel m_details;
    FakeAlerts m_alerts;
    QString m_chosen;
    QList<FolderPanelOptions> m_panels;

    std::unique_ptr<ProjectDetailsSubsequentView> makeView()
    {
        const FolderChooser chooser = [this](QWidget *, const FolderPanelOptions &options) {
            m_panels << options;
            return m_chosen;
        };
        const WizardContext context{nullptr, ResourceBundle::main(), &m_alerts, nullptr, chooser, QUrl(), &m_details};
        auto view = std::make_unique<ProjectDetailsSubsequentView>(
            std::make_unique<ProjectDetailsSubsequentViewModel>(m_details, &m_alerts),
            FlagBinding{}, context);
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

private slots:
    void initTestCase()
    {
        QVERIFY(QDir(m_root.path()).mkpath("folder"));
        QVERIFY(QDir(m_root.path()).mkpath("locked"));
        QVERIFY(QDir(m_root.path()).mkpath("taken/Demo"));
        QVERIFY(writeFile(path("file"), "x"));
        QVERIFY(QFile::setPermissions(path("locked"), QFile::ReadOwner | QFile::ExeOwner));
    }

    void init()
    {
        m_details = ProjectDetailsModel();
        m_details.projectName = "Demo";
        m_alerts.reset();
        m_chosen.clear();
        m_panels.clear();
    }

    void destinationEnablesNext_data()
    {
        QTest::addColumn<QString>("typed"); // below the temporary folder; "-" for nothing typed
        QTest::addColumn<bool>("usable");
        QTest::newRow("nothing typed") << "-" << false;
        QTest::newRow("missing") << "missing" << false;
        QTest::newRow("a file") << "file" << false;
        QTest::newRow("no write access") << "locked" << false;
        QTest::newRow("folder") << "folder" << true;
    }

    void destinationEnablesNext()
    {
        QFETCH(QString, typed);
        QFETCH(bool, usable);
        if (typed == QLatin1String("locked") && ::geteuid() == 0)
            QSKIP("root writes in any folder");
        auto view = makeView();
        QVERIFY(!view->frame()->nextButton()->isEnabled());
        QVERIFY(!view->frame()->cancelButton()->isVisible());
        if (typed != QLatin1String("-"))
            typeInto(child<QLineEdit>(*view, "destinationField"), path(typed));
        auto *message = child<QLabel>(*view, "pathMessage");
        const bool shown = !usable && typed != QLatin1String("-");
        QCOMPARE(message->isVisible(), shown);
        QCOMPARE(message->text(), shown ? text(key::inValidPath) : QString());
        QCOMPARE(view->frame()->nextButton()->isEnabled(), usable);
    }

    // Next writes the menus, the destination, the checked variants in list
    // order and both options, then settles the development variant: it
    // moves on at once with Development, asks with the pop-up of the checked
    // variants without it, and stays with an alert when none is checked.
    void nextSettlesTheVariants_data()
    {
        QTest::addColumn<QStringList>("toCheck"); // variants, then "AWS"/"BLE"
        QTest::addColumn<QStringList>("asked");   // the pop-up's options
        QTest::addColumn<QString>("answer");
        QTest::addColumn<QStringList>("stored");
        QTest::addColumn<QString>("scheme");
        QTest::newRow("nothing checked") << QStringList{"BLE"} << QStringList{} << "" << QStringList{} << "Staging";
        QTest::newRow("Development and Production") << QStringList{"Production", "Development", "AWS"} << QStringList{}
                                                    << "" << QStringList{"Development", "Production"} << "Development";
        QTest::newRow("UAT and Staging") << QStringList{"Staging", "UAT", "AWS", "BLE"} << QStringList{"UAT", "Staging"}
                                         << "Staging" << QStringList{"UAT", "Staging"} << "Staging";
    }

    void nextSettlesTheVariants()
    {
        QFETCH(QStringList, toCheck);
        QFETCH(QStringList, asked);
        QFETCH(QString, answer);
        QFETCH(QStringList, stored);
        QFETCH(QString, scheme);
        const bool aws = toCheck.removeAll("AWS") > 0;
        const bool ble = toCheck.removeAll("BLE") > 0;
        m_details.developmentSchemeName = "Staging"; // from an earlier pass
        m_details.configVariant = checkedItems({"Old"});
        m_details.doesIncludeAWS = !aws;
        m_details.doesIncludeBLE = !ble;
        auto view = makeView();
        child<DropDownMenu>(*view, "interfaceMenu")->menu()->actions().at(1)->trigger();
        child<DropDownMenu>(*view, "deploymentTargetMenu")->menu()->actions().at(0)->trigger();
        typeInto(child<QLineEdit>(*view, "destinationField"), path("folder"));
        for (const QString &label : toCheck)
            click(*view, "variant_" + label);
        if (aws)
            click(*view, "otherConfiguration_" + text(key::awss3));
        if (ble)
            click(*view, "otherConfiguration_" + text(key::ble));
        QTest::mouseClick(view->frame()->nextButton(), Qt::LeftButton);

        if (stored.isEmpty() || !asked.isEmpty()) {
            QTRY_COMPARE(m_alerts.shown.size(), 1);
            const char *title = asked.isEmpty() ? key::noConfigVariantSelectionTitle : key::selectDevelopmentSchemeTitle;
            QVERIFY(m_alerts.shown.first().startsWith(text(title) + '|'));
            QCOMPARE(m_alerts.options.first(), asked);
            QVERIFY(!view->viewModel()->shouldGoToNext());
            m_alerts.dismiss(answer);
        }
        QTRY_COMPARE(view->viewModel()->shouldGoToNext(), !stored.isEmpty());
        QCOMPARE(m_details.configVariant, checkedItems(stored));
        QCOMPARE(m_details.developmentSchemeName, scheme);
        QCOMPARE(m_details.projectPath, path("folder"));
        QCOMPARE(m_details.selectedUI, text(key::swiftUi));
        QCOMPARE(m_details.minimumDeploymentTarget, text(key::deploymentTarget16_0));
        QCOMPARE(m_details.doesIncludeAWS, aws);
        QCOMPARE(m_details.doesIncludeBLE, ble);
    }

    void addVariant_data()
    {
        QTest::addColumn<QString>("label");
        QTest::addColumn<QString>("messageKey"); // empty: no refusal
        QTest::addColumn<bool>("added");
        QTest::newRow("own name") << "QA_2" << "" << true;
        QTest::newRow("not an identifier") << "Pre Prod" << key::variantLabelNotIdentifier << false;
        QTest::newRow("names a listed variant") << "Staging" << key::variantLabelDuplicate << false;
        QTest::newRow("empty does nothing") << "" << "" << false;
    }

    void addVariant()
    {
        QFETCH(QString, label);
        QFETCH(QString, messageKey);
        QFETCH(bool, added);
        auto view = makeView();
        ProjectDetailsSubsequentViewModel *model = view->viewModel();
        click(*view, "addVariantButton");
        QWidget *popover = view->addVariantPopover();
        QTRY_VERIFY(popover->isVisible());
        auto *field = child<QLineEdit>(*popover, "newConfigLabelField");
        QCOMPARE(field->placeholderText(), text(key::addVariantPlaceHolder));
        typeInto(field, label);
        QTest::keyClick(field, Qt::Key_Return);

        const QList<CheckBoxItem> items = model->configVariantItems();
        auto *message = child<QLabel>(*popover, "newConfigLabelMessage");
        if (added) {
            QCOMPARE(items.size(), 5);
            QCOMPARE(items.last(), (CheckBoxItem{label, true}));
            auto *box = child<ToggleButton>(*view, "variant_" + label);
            QVERIFY(box && box->isChecked());
            QVERIFY(!popover->isVisible());
            QCOMPARE(model->newConfigLabel(), QString());
            return;
        }
        QCOMPARE(items.size(), 4);
        QVERIFY(popover->isVisible());
        const QString expected = messageKey.isEmpty() ? QString() : text(messageKey.toLatin1().constData());
        QCOMPARE(message->isVisible(), !expected.isEmpty());
        QCOMPARE(message->text(), expected);
        // Escape cancels: closed, the label kept for the next time, the refusal gone.
        QTest::keyClick(field, Qt::Key_Escape);
        QVERIFY(!popover->isVisible());
        QVERIFY(!model->showAddConfigModal());
        QCOMPARE(model->newConfigLabel(), label);
        QCOMPARE(model->newConfigLabelMessage(), QString());
    }

    void folderChooser_data()
    {
        QTest::addColumn<QString>("chosen"); // below the temporary folder; "-" for a cancelled panel
        QTest::addColumn<QString>("alertKey");
        QTest::addColumn<QString>("argument");
        QTest::newRow("holds the product's folder") << "taken" << key::directoryAlreadyExistTitle
                                                    << text(key::directoryAlreadyExistSubTitle, path("taken/Demo"));
        QTest::newRow("below a file") << "file/sub" << key::directoryCreationFailureTitle
                                      << text(key::directoryCreationFailureSubTitle, QString::fromLocal8Bit(std::strerror(ENOTDIR)));
        QTest::newRow("new nested folder") << "new/deeper" << "" << "";
        QTest::newRow("cancelled") << "-" << "" << "";
    }

    void folderChooser()
    {
        QFETCH(QString, chosen);
        QFETCH(QString, alertKey);
        QFETCH(QString, argument);
        auto view = makeView();
        auto *field = child<QLineEdit>(*view, "destinationField");
        typeInto(field, path("folder"));
        m_chosen = chosen == QLatin1String("-") ? QString() : path(chosen);
        auto *button = child<QToolButton>(*view, "chooseDestinationButton");
        QCOMPARE(button->accessibleName(), text(key::chooseDestinationFolder));
        QTest::mouseClick(button, Qt::LeftButton);

        QCOMPARE(m_panels.size(), 1);
        QVERIFY(m_panels.first().canCreateDirectories);
        const bool taken = !alertKey.isEmpty() || m_chosen.isEmpty();
        const QString expectedPath = taken ? path("folder") : m_chosen;
        QCOMPARE(view->viewModel()->projectPath(), expectedPath);
        QCOMPARE(field->text(), expectedPath);
        QCOMPARE(m_alerts.shown,
                 alertKey.isEmpty() ? QStringList{} : QStringList{text(alertKey.toLatin1().constData()) + '|' + argument});
        if (!taken)
            QVERIFY(QFileInfo(m_chosen).isDir());
    }

    // A folder typed by hand gets the chooser's check on Next: refused with
    // the same alert, nothing written, the screen stays.
    void typedDestinationHoldingTheProductIsRefused()
    {
        m_details.projectPath = "earlier";
        auto view = makeView();
        typeInto(child<QLineEdit>(*view, "destinationField"), path("taken"));
        click(*view, "variant_Development");
        QTest::mouseClick(view->frame()->nextButton(), Qt::LeftButton);
        QTRY_COMPARE(m_alerts.shown,
                     QStringList{text(key::directoryAlreadyExistTitle) + '|'
                                 + text(key::directoryAlreadyExistSubTitle, path("taken/Demo"))});
        QCoreApplication::processEvents();
        QVERIFY(!view->viewModel()->shouldGoToNext());
        QCOMPARE(m_details.projectPath, "earlier");
        QVERIFY(m_details.configVariant.isEmpty());
    }

    void keyboardReachesEveryControl()
    {
        auto view = makeView();
        view->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(view.get()));
        child<QWidget>(*view, "interfaceMenu")->setFocus();
        QStringList expected{"interfaceMenu", "deploymentTargetMenu", "destinationField", "chooseDestinationButton"};
        for (const CheckBoxItem &item : view->viewModel()->configVariantItems())
            expected << "variant_" + item.label;
        expected << "addVariantButton" << "otherConfiguration_" + text(key::awss3)
                 << "otherConfiguration_" + text(key::ble) << "previousButton";
        QStringList reached{QApplication::focusWidget()->objectName()};
        while (reached.size() < expected.size()) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            reached << QApplication::focusWidget()->objectName();
        }
        QCOMPARE(reached, expected);

        auto *staging = child<ToggleButton>(*view, "variant_Staging");
        staging->setFocus();
        QTest::keyClick(staging, Qt::Key_Space);
        QVERIFY(view->viewModel()->configVariantItems().at(1).isChecked);
        QVERIFY(staging->isChecked());
        QCOMPARE(QApplication::focusWidget(), staging);
    }
};

QTEST_MAIN(TestBuildSettingsScreen)
#include "TestBuildSettingsScreen.moc"
