#include "app/base/TextCatalog.h"
#include "catalogs/PodSelectionView.h"
#include "catalogs/PodSelectionViewModel.h"
#include "tools/PageServer.h"
#include "tools/TestFiles.h"

#include <QAbstractButton>
#include <QLabel>
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
};

QTEST_MAIN(TestPodsScreen)
#include "TestPodsScreen.moc"
