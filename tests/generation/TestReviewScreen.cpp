// The review screen over a project as a team keeps it: the files the run
// would add and change, the diff of the one selected, by mouse and by
// keyboard, in light and dark mode; nothing of the project is written.

#include "app/base/TextCatalog.h"
#include "app/widgets/BaseView.h"
#include "generation/GenerationFixture.h"
#include "generation/ReviewView.h"
#include "generation/ReviewViewModel.h"
#include "tools/TestFiles.h"

#include <QApplication>
#include <QLabel>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTextBlock>
#include <QtTest>

using namespace plinth;

class TestReviewScreen : public QObject
{
    Q_OBJECT

private slots:
    void filesAndTheirChanges_data()
    {
        QTest::addColumn<bool>("dark");
        QTest::newRow("light") << false;
        QTest::newRow("dark") << true;
    }
    void filesAndTheirChanges()
    {
        QFETCH(bool, dark);
        QTemporaryDir work;
        const QString root = work.filePath("orbit-ios");
        QVERIFY(fixture::copyTeamProject(root));
        const auto before = fixture::files(root);
        ProjectDetailsModel details;
        details.projectType = ProjectType::existing;
        details.projectFolder = root;
        details.projectName = "Orbit";
        details.selectedUI = text(key::uiKit);
        details.userSelectedPods = {"Kingfisher"};
        details.userSelectedModules = {fixture::catalogEntry("KeyChain manager", true)};
        details.configVariant = {{"Debug", true}, {"Release", true}};

        QPalette palette = QApplication::palette();
        if (dark) {
            palette.setColor(QPalette::Base, QColor(0x1e, 0x1e, 0x1e));
            palette.setColor(QPalette::Text, Qt::white);
        }
        QApplication::setPalette(palette);
        bool back = false;
        ReviewView view(std::make_unique<ReviewViewModel>(fixture::fakeRunner(),
                                                          ResourceBundle(fixture::shippedBundle()), details),
                        FlagBinding{[&back] { return back; }, [&back](bool value) { back = value; }});
        view.resize(1000, 600);
        view.show();
        QTRY_VERIFY_WITH_TIMEOUT(!view.viewModel()->isLoading(), 30000);
        QCOMPARE(fixture::files(root), before);

        auto *files = view.findChild<QListWidget *>("reviewFiles");
        auto *diff = view.findChild<QPlainTextEdit *>("reviewDiff");
        const qsizetype count = view.viewModel()->files().size();
        QVERIFY(count >= 4); // the Podfile, Gemfile, .env, the project file, the module
        QCOMPARE(files->count(), count);
        QCOMPARE(view.findChild<QLabel *>("reviewSummary")->text(), text(key::reviewSummary, QString::number(count)));
        QCOMPARE(files->accessibleName(), text(key::reviewFiles));
        QCOMPARE(diff->accessibleName(), text(key::reviewChanges));

        // By keyboard: the list has the focus, the arrows choose the file.
        view.activateWindow();
        files->setFocus();
        QTRY_VERIFY(files->hasFocus());
        const int podfile = int(files->row(files->findItems("Podfile ", Qt::MatchStartsWith).value(0)));
        QVERIFY(podfile > 0);
        for (int row = files->currentRow(); row < podfile; ++row)
            QTest::keyClick(files, Qt::Key_Down);
        QCOMPARE(files->currentRow(), podfile);
        QVERIFY(files->currentItem()->data(Qt::AccessibleTextRole).toString().startsWith("Podfile, +"));
        QVERIFY(diff->toPlainText().startsWith("--- a/Podfile\n+++ b/Podfile\n"));
        QVERIFY(diff->toPlainText().contains("\n+  pod 'Kingfisher'\n")
                || diff->toPlainText().contains("\n+    pod 'Kingfisher'\n"));

        // An added line stands out from the text, light on dark and dark on light.
        QTextBlock block = diff->document()->begin();
        while (block.isValid() && !(block.text().startsWith('+') && !block.text().startsWith("+++")))
            block = block.next();
        QVERIFY(block.isValid());
        const QColor added = block.layout()->formats().value(0).format.foreground().color();
        QCOMPARE(qGray(added.rgb()) > 128, dark);

        // Return is Apply; Previous asks the pod screen to come back.
        QTest::keyClick(files, Qt::Key_Return);
        QVERIFY(view.shouldGoToNext());
        view.frame()->findChild<QPushButton *>("previousButton")->click();
        QVERIFY(back);
    }
};

QTEST_MAIN(TestReviewScreen)
#include "TestReviewScreen.moc"
