#include "app/base/TextCatalog.h"
#include "app/widgets/BaseView.h"
#include "catalogs/PodSelectionView.h"
#include "catalogs/PodSelectionViewModel.h"
#include "tools/PageServer.h"
#include "tools/TestFiles.h"

#include <QAbstractButton>
#include <QLabel>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
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

struct Screen
{
    explicit Screen(const QUrl &page)
    {
        details.selectedUI = text(key::uiKit);
        details.projectType = ProjectType::new_;
        view = std::make_unique<PodSelectionView>(std::make_unique<PodSelectionViewModel>(details, page), FlagBinding{});
        view->resize(1000, 600);
        view->show();
    }

    ProjectDetailsModel details;
    std::unique_ptr<PodSelectionView> view;
};

} // namespace

class TestPodsScreen : public QObject
{
    Q_OBJECT

private slots:
    void rowsMoveByMouseAndKeyboard()
    {
        PageServer server(test::readFile(QStringLiteral(PLINTH_FIXTURES_DIR "/pages/mobile-libraries.html")));
        Screen screen(server.url());
        QWidget *view = screen.view.get();
        QTRY_COMPARE_WITH_TIMEOUT(rowTitles(view, "supplementalPodsList"),
                                  (QStringList{"KWNetworking", "KWKeychain", "KWForms"}), 5000);
        QCOMPARE(rowButtons(view, "presetAndSelectedPodsList").size(), 12);
        QCOMPARE(view->height(), 600); // the lists scroll rather than grow the screen

        QTest::mouseClick(rowButtons(view, "supplementalPodsList").at(1), Qt::LeftButton);
        QCOMPARE(rowTitles(view, "supplementalPodsList"), (QStringList{"KWNetworking", "KWForms"}));
        QCOMPARE(rowTitles(view, "presetAndSelectedPodsList").first(), "KWKeychain");
        // The buttons are named for screen readers (TestWizardFlow finds a
        // plus button by its name).
        QCOMPARE(rowButtons(view, "presetAndSelectedPodsList").first()->accessibleName(),
                 text(key::removeItem, "KWKeychain"));

        // Space and Return press the focused row's button; the focus stays
        // on the row that takes the moved one's place.
        QAbstractButton *first = rowButtons(view, "presetAndSelectedPodsList").first();
        first->setFocus();
        QTest::keyClick(first, Qt::Key_Space);
        QCOMPARE(rowTitles(view, "supplementalPodsList").first(), "KWKeychain");
        QCOMPARE(view->focusWidget(), rowButtons(view, "presetAndSelectedPodsList").first());
        QTest::keyClick(view->focusWidget(), Qt::Key_Return);
        QCOMPARE(rowTitles(view, "supplementalPodsList").mid(0, 2), (QStringList{"R.swift", "KWKeychain"}));
        QVERIFY(!screen.view->shouldGoToNextView());
        // The last row goes: the focus moves up to the new last row.
        QAbstractButton *last = rowButtons(view, "supplementalPodsList").last();
        last->setFocus();
        QTest::keyClick(last, Qt::Key_Return);
        QCOMPARE(rowTitles(view, "presetAndSelectedPodsList").first(), "KWForms");
        QCOMPARE(view->focusWidget(), rowButtons(view, "supplementalPodsList").last());

        // Twelve rows do not fit: the list scrolls, and a row reached by the
        // keyboard scrolls into view.
        auto *rows = view->findChild<QWidget *>("presetAndSelectedPodsList")->findChild<QScrollArea *>();
        QVERIFY(rows->verticalScrollBar()->maximum() > 0);
        rowButtons(view, "presetAndSelectedPodsList").last()->setFocus(Qt::TabFocusReason);
        QTRY_VERIFY(rows->verticalScrollBar()->value() > 0);
    }

    // The page cannot be read: the first list says so. (Next and Previous
    // are TestWizardFlow's.)
    void unavailablePage()
    {
        PageServer closed("");
        const QUrl url = closed.url();
        closed.close();
        Screen screen(url);
        QLabel *empty = screen.view->findChild<QWidget *>("supplementalPodsList")->findChild<QLabel *>("emptyText");
        QTRY_VERIFY_WITH_TIMEOUT(empty->isVisible(), 10000);
        QCOMPARE(empty->text(), text(key::supplementalPodsUnavailable));
        QVERIFY(!screen.view->findChild<QWidget *>("loadingIndicator")->isVisible());

        QVERIFY(!screen.view->frame()->cancelButton()->isVisible());
    }
};

QTEST_MAIN(TestPodsScreen)
#include "TestPodsScreen.moc"
