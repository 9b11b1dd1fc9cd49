#include "toolchain/terminal/TerminalView.h"
#include "toolchain/terminal/TerminalViewRepresentable.h"

#include <QClipboard>
#include <QDir>
#include <QElapsedTimer>
#include <QGuiApplication>
#include <QImage>
#include <QScrollBar>
#include <QSignalSpy>
#include <QtTest>

using namespace plinth;

namespace {

/// Whether some line of the terminal (scrollback included) is exactly `line`.
bool showsLine(TerminalView *view, const QString &line)
{
    return view->surface().text().split(QLatin1Char('\n')).contains(line);
}

} // namespace

class TestTerminalView : public QObject
{
    Q_OBJECT

private slots:
    // The element starts its shell in the home folder, takes the focus, and
    // types its command (also put on the clipboard) only after its delay;
    // the carriage return at the end runs it, and the shell ends with it:
    // its last output and a note of its status stay. (Every command the
    // program gives the element ends so; TestWizardFlow runs one whole.)
    void elementTypesItsCommandAfterTheDelay()
    {
        const QString command = QStringLiteral("echo last-$((3*3)); exit 5\r");
        QGuiApplication::clipboard()->setText("the user's clipboard");
        QDir::setCurrent(QDir::tempPath());
        TerminalViewRepresentable element(command);
        QCOMPARE(element.terminal(), nullptr);
        element.resize(640, 360);
        QElapsedTimer sinceShown; // started no later than the element's timer
        sinceShown.start();
        element.show();
        QVERIFY(QTest::qWaitForWindowExposed(&element));

        TerminalView *terminal = element.terminal();
        QVERIFY(terminal);
        QSignalSpy terminated(terminal, &TerminalView::processTerminated);
        QCOMPARE(QDir::currentPath(), QDir::homePath());
        QTRY_COMPARE(element.focusWidget(), terminal);

        // The shell shows its prompt before the command comes.
        QTRY_VERIFY_WITH_TIMEOUT(!terminal->surface().text().trimmed().isEmpty(), 10000);
        const QString typed = command.trimmed();
        if (sinceShown.elapsed() < TerminalViewRepresentable::commandDelayMilliseconds - 200)
            QVERIFY(!terminal->surface().text().contains(typed));
        QTRY_VERIFY_WITH_TIMEOUT(terminal->surface().text().contains(typed), 10000);
        QVERIFY2(sinceShown.elapsed() >= TerminalViewRepresentable::commandDelayMilliseconds,
                 qPrintable(QString::number(sinceShown.elapsed())));
        QCOMPARE(QGuiApplication::clipboard()->text(), command);
        QTRY_VERIFY_WITH_TIMEOUT(showsLine(terminal, "last-9"), 10000);

        const QString ended = QStringLiteral("[The shell has ended with status 5.]");
        QTRY_COMPARE_WITH_TIMEOUT(terminated.size(), 1, 10000);
        QCOMPARE(terminated.at(0).at(0).toInt(), 5);
        QTRY_VERIFY(showsLine(terminal, ended));
        QVERIFY(element.isVisible());
        // Keys after the end go nowhere and break nothing.
        QTest::keyClicks(terminal, "ls");
        QTest::keyClick(terminal, Qt::Key_Return);
        QVERIFY(showsLine(terminal, ended));
    }

    // The key mapping itself is TestTerminalSurface's; here keys reach the
    // shell, Ctrl+C its foreground job, and a paste key the clipboard; the
    // cells are painted, the scrollback is the scroll bar's; then a new size
    // of whole cells reaches the pty.
    void keysPaintingAndSizeInOneShell()
    {
        // bash without start-up files: it has line editing, and its prompt
        // does not depend on the machine.
        TerminalView view;
        view.resize(560, 240);
        view.show();
        QVERIFY(QTest::qWaitForWindowExposed(&view));
        QVERIFY(view.startProcess("/bin/bash", {"--noprofile", "--norc"},
                                  PtyProcess::defaultEnvironment() << QStringLiteral("PS1=prompt$ ")));
        const TerminalSurface &surface = view.surface();
        // Waits for the shell to be back at its prompt: its output is all there.
        const auto atPrompt = [&] {
            return QTest::qWaitFor([&] { return surface.lineText(surface.cursor().y()) == "prompt$"; }, 10000);
        };
        const auto ran = [&](const QString &line) {
            QTest::keyClick(&view, Qt::Key_Return);
            return QTest::qWaitFor([&] { return showsLine(&view, line); }, 10000) && atPrompt();
        };
        QVERIFY(atPrompt());

        // Ctrl+C only once the job runs in the foreground (its subshell has
        // printed), however slowly the machine starts it.
        QTest::keyClicks(&view, "(echo sleeping; exec sleep 30)");
        QTest::keyClick(&view, Qt::Key_Return);
        QTRY_VERIFY_WITH_TIMEOUT(showsLine(&view, "sleeping"), 10000);
        QTest::keyClick(&view, Qt::Key_C, Qt::ControlModifier);
        QTest::keyClicks(&view, "echo after-$((2+3))");
        QVERIFY(ran("after-5"));

        QGuiApplication::clipboard()->setText("echo pasted-$((4+4))\n");
        QTest::keyClick(&view, Qt::Key_V, Qt::ControlModifier | Qt::ShiftModifier);
        QTRY_VERIFY_WITH_TIMEOUT(showsLine(&view, "pasted-8"), 10000);
        QVERIFY(atPrompt());

        // The cells are painted: text in the scheme's foreground. (Which
        // colour a cell has is TestTerminalSurface's.)
        const QImage image = view.grab().toImage();
        int foreground = 0;
        for (int y = 0; y < image.height(); ++y) {
            for (int x = 0; x < view.viewport()->width(); ++x)
                foreground += (image.pixel(x, y) & 0xffffff) == (view.surface().defaultForeground() & 0xffffff);
        }
        QVERIFY2(foreground > 200, qPrintable(QString::number(foreground)));

        // The scrollback is the scroll bar's range; typing returns to the bottom.
        QTest::keyClicks(&view, "seq 1 200");
        QVERIFY(ran("200"));
        QScrollBar *bar = view.verticalScrollBar();
        QCOMPARE(bar->maximum(), view.surface().scrollbackCount());
        QCOMPARE(bar->value(), bar->maximum());
        QTest::keyClick(&view, Qt::Key_PageUp, Qt::ShiftModifier);
        QCOMPARE(bar->value(), bar->maximum() - view.surface().rows());
        QTest::keyClicks(&view, "stty size");
        QCOMPARE(bar->value(), bar->maximum());

        const int oldColumns = view.surface().columns();
        view.resize(400, 500);
        QTRY_VERIFY(view.surface().columns() != oldColumns);
        const int columns = view.surface().columns();
        const int rows = view.surface().rows();
        QVERIFY(columns * view.cellSize().width() <= view.viewport()->width());
        QVERIFY(rows * view.cellSize().height() <= view.viewport()->height());
        QVERIFY(ran(QStringLiteral("%1 %2").arg(rows).arg(columns)));
    }
};

QTEST_MAIN(TestTerminalView)
#include "TestTerminalView.moc"
