#include "app/FakeServices.h"
#include "app/widgets/Artwork.h"
#include "app/widgets/CustomButtonView.h"
#include "project/ProjectTypeSelectionView.h"
#include "project/ProjectTypeSelectionViewModel.h"
#include "tools/TestFiles.h"

#include <QApplication>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

#include <optional>

using namespace plinth;

class TestHomeScreen : public QObject
{
    Q_OBJECT

    test::FakeAlerts m_alerts;
    ProjectDetailsModel m_details;
    QString m_panelAnswer;
    QStringList m_panelTitles;

    std::unique_ptr<ProjectTypeSelectionView> makeView()
    {
        const FolderChooser chooseFolder = [this](QWidget *, const FolderPanelOptions &options) {
            m_panelTitles << options.title;
            return m_panelAnswer;
        };
        auto view = std::make_unique<ProjectTypeSelectionView>(
            std::make_unique<ProjectTypeSelectionViewModel>(m_details, &m_alerts), FlagBinding{}, chooseFolder);
        view->show();
        return view;
    }

    static CustomButtonView *button(const QWidget &view, const char *name)
    {
        return view.findChild<CustomButtonView *>(QLatin1String(name));
    }

    /// What an abandoned pass leaves in the description.
    void abandonAPass()
    {
        m_details.projectName = QStringLiteral("Before");
        m_details.projectPath = QStringLiteral("/before");
        m_details.doesIncludeAWS = true;
        m_details.minimumDeploymentTarget = QStringLiteral("12.0");
        m_details.configVariant = {CheckBoxItem{QStringLiteral("QA"), true}};
        m_details.userSelectedModules = {ListItem{}};
        m_details.doesIncludeArkana = false;
        m_details.projectFolder = QStringLiteral("/abandoned");
    }

    /// Nothing of the abandoned pass is in `details`.
    static void verifyFresh(const ProjectDetailsModel &details, const QString &projectFolder)
    {
        const ProjectDetailsModel fresh;
        QVERIFY(!details.doesIncludeAWS);
        QCOMPARE(details.minimumDeploymentTarget, fresh.minimumDeploymentTarget);
        QVERIFY(details.configVariant == fresh.configVariant);
        QVERIFY(details.userSelectedModules.isEmpty());
        QVERIFY(details.doesIncludeArkana);
        QCOMPARE(details.projectFolder, projectFolder);
    }

private slots:
    void init()
    {
        m_alerts.reset();
        m_details = ProjectDetailsModel();
        m_panelAnswer.clear();
        m_panelTitles.clear();
    }

    // Whatever an earlier visit recorded, the new-project choice records
    // `new` and raises only its own flag, and the screen the flag opens
    // finds a fresh description; Return presses the focused button. The
    // buttons follow the palette.
    void newProjectKeyboardAndColourScheme()
    {
        abandonAPass();
        m_details.projectType = ProjectType::existing;
        auto view = makeView();
        QVERIFY(QTest::qWaitForWindowActive(view.get()));
        QSignalSpy flag(view->viewModel(), &ProjectTypeSelectionViewModel::shouldContinueNewProjectFlowChanged);
        std::optional<ProjectDetailsModel> seen;
        connect(view->viewModel(), &ProjectTypeSelectionViewModel::shouldContinueNewProjectFlowChanged, this,
                [this, &seen] { seen = m_details; });
        CustomButtonView *newProject = button(*view, "newProjectButton");
        newProject->setFocus();
        QTest::keyClick(newProject, Qt::Key_Return);
        QCOMPARE(m_details.projectType, ProjectType::new_);
        QCOMPARE(flag.size(), 1);
        QVERIFY(!view->viewModel()->shouldContinueExistingProjectFlow() && m_panelTitles.isEmpty());
        QVERIFY(seen);
        verifyFresh(*seen, QString());
        verifyFresh(m_details, QString());

        CustomButtonView *existing = button(*view, "existingProjectButton");
        const QPalette original = QApplication::palette();
        QPalette dark = original;
        dark.setColor(QPalette::Window, QColor(0x1E, 0x1E, 0x1E));
        dark.setColor(QPalette::WindowText, QColor(0xF2, 0xF2, 0xF7));
        QVERIFY(!Artwork::isDarkMode());
        QApplication::setPalette(dark);
        QTRY_COMPARE(existing->colorScheme(), CustomButtonView::ColorScheme::dark);
        QCOMPARE(existing->backgroundColor(), Artwork::color(QStringLiteral("ExistingProjectButton"), true));
        QApplication::setPalette(original);
    }

    // The package the chosen folder holds (empty: none; its name, not the
    // folder's, is the project's), or a cancelled panel. An accepted folder
    // starts a fresh description before its flag rises.
    void existingProjectFolder_data()
    {
        QTest::addColumn<bool>("cancelled");
        QTest::addColumn<QString>("package");
        QTest::addColumn<bool>("podfile");
        QTest::newRow("package named unlike the folder") << false << QStringLiteral("App") << false;
        QTest::newRow("package with a Podfile") << false << QStringLiteral("App") << true;
        QTest::newRow("no package") << false << QString() << false;
        QTest::newRow("cancelled panel") << true << QStringLiteral("App") << false;
    }

    void existingProjectFolder()
    {
        QFETCH(bool, cancelled);
        QFETCH(QString, package);
        QFETCH(bool, podfile);
        QTemporaryDir work;
        QVERIFY(QDir(work.path()).mkpath(QStringLiteral("Folder/") + package + QStringLiteral(".xcodeproj")));
        if (podfile)
            QVERIFY(test::writeFile(work.filePath(QStringLiteral("Folder/Podfile")), "target 'App' do\nend\n"));
        m_panelAnswer = cancelled ? QString() : work.filePath(QStringLiteral("Folder"));
        abandonAPass();
        std::optional<ProjectDetailsModel> seen;
        auto view = makeView();
        connect(view->viewModel(), &ProjectTypeSelectionViewModel::shouldContinueExistingProjectFlowChanged, this,
                [this, &seen] { seen = m_details; });
        QTest::mouseClick(button(*view, "existingProjectButton"), Qt::LeftButton);
        QCOMPARE(m_panelTitles, QStringList{QStringLiteral("Choose Project Folder")});
        QCOMPARE(m_details.projectType, ProjectType::existing);
        const bool accepted = !cancelled && !package.isEmpty();
        QCOMPARE(view->viewModel()->shouldContinueExistingProjectFlow(), accepted);
        QCOMPARE(m_details.projectName, accepted ? package : QStringLiteral("Before"));
        QCOMPARE(m_details.projectPath, accepted ? QDir::cleanPath(work.path()) : QStringLiteral("/before"));
        // The project root is the chosen folder, whatever its name.
        QCOMPARE(m_details.projectRoot(), accepted ? QDir::cleanPath(m_panelAnswer) : QStringLiteral("/abandoned"));
        QCOMPARE(m_alerts.shown.size(), accepted || cancelled ? 0 : 1); // the alert of a folder without a project
        QCOMPARE(seen.has_value(), accepted);
        if (accepted) {
            QCOMPARE(seen->projectName, package);
            // A project with a Podfile keeps to pods; one without takes Swift packages.
            QCOMPARE(seen->dependencyManager,
                     podfile ? DependencyManager::cocoaPods : DependencyManager::swiftPackageManager);
            verifyFresh(*seen, QDir::cleanPath(m_panelAnswer));
            verifyFresh(m_details, QDir::cleanPath(m_panelAnswer));
        }
    }
};

QTEST_MAIN(TestHomeScreen)
#include "TestHomeScreen.moc"
