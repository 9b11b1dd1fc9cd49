#include "toolchain/terminal/TerminalView.h"
#include "toolchain/terminal/TerminalViewRepresentable.h"

#include <QClipboard>
#include <QDir>
#include <QElapsedTimer>
#include <QGuiApplication>
#include <QImage>
#include <QRegularExpression>
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
    // types its command (also put on the clipboard) only after its delay; a
    // carriage return at the end runs it, else the Return key does. When the
    // shell ends, its last output and a note of its status stay.
    void elementTypesItsCommandAfterTheDelay_data()
    {
        QTest::addColumn<QString>("shell"); // empty: the login shell
        QTest::addColumn<QString>("command");
        QTest::addColumn<QString>("output");
        QTest::addColumn<int>("status"); // -1: the shell goes on

        QTest::newRow("without carriage return") << "" << "echo typed-$((1+1))" << "typed-2" << -1;
        // The carriage return runs the command, and the shell ends with it.
        QTest::newRow("shell ends after the command") << "" << "echo last-$((3*3)); exit 5\r" << "last-9" << 5;
        // A shell that ends before the command is typed: the command goes
        // nowhere, the terminal says the shell ended.
        QTest::newRow("shell ends at once") << "/bin/false" << "echo last-$((3*3)); exit 5\r" << "" << 1;
    }

    void elementTypesItsCommandAfterTheDelay()
    {
        QFETCH(QString, shell);
        QFETCH(QString, command);
        QFETCH(QString, output);
        QFETCH(int, status);

        QGuiApplication::clipboard()->setText("the user's clipboard");
        QDir::setCurrent(QDir::tempPath());
        TerminalViewRepresentable element(command, nullptr, shell);
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

        if (!output.isEmpty()) {
            // The shell shows its prompt before the command comes.
            QTRY_VERIFY_WITH_TIMEOUT(!terminal->surface().text().trimmed().isEmpty(), 5000);
            const QString typed = command.trimmed();
            if (sinceShown.elapsed() < TerminalViewRepresentable::commandDelayMilliseconds - 200)
                QVERIFY(!terminal->surface().text().contains(typed));

            QTRY_VERIFY_WITH_TIMEOUT(terminal->surface().text().contains(typed), 6000);
            QVERIFY2(sinceShown.elapsed() >= TerminalViewRepresentable::commandDelayMilliseconds,
                     qPrintable(QString::number(sinceShown.elapsed())));
            QCOMPARE(QGuiApplication::clipboard()->text(), command);
            if (!command.endsWith(QLatin1Char('\r'))) {
                QTest::qWait(1000);
                QVERIFY(!showsLine(terminal, output));
                QTest::keyClick(terminal, Qt::Key_Return);
            }
            QTRY_VERIFY_WITH_TIMEOUT(showsLine(terminal, output), 5000);
        }
        if (status < 0)
            return;

        const QString ended = QStringLiteral("[The shell has ended with status %1.]").arg(status);
        QTRY_COMPARE_WITH_TIMEOUT(terminated.size(), 1, 8000);
        QCOMPARE(terminated.at(0).at(0).toInt(), status);
        QTRY_VERIFY(showsLine(terminal, ended));
        if (output.isEmpty()) // the command's turn comes after the shell has gone
            QTest::qWait(TerminalViewRepresentable::commandDelayMilliseconds + 300);
        QVERIFY(element.isVisible());
        // Keys after the end go nowhere and break nothing.
        QTest::keyClicks(terminal, "ls");
        QTest::keyClick(terminal, Qt::Key_Return);
        QVERIFY(showsLine(terminal, ended));
    }

    // The key mapping itself is TestTerminalSurface's; here keys reach the
    // shell's line editor, Ctrl+C its foreground job, and both paste keys
    // the clipboard; the cells are painted in their colours, the scrollback
    // is the scroll bar's; then a new size reaches the pty.
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
        QTRY_VERIFY_WITH_TIMEOUT(surface.lineText(surface.cursor().y()).startsWith(QLatin1String("prompt$")), 5000);
        const auto ran = [&](const QString &line) {
            QTest::keyClick(&view, Qt::Key_Return);
            return QTest::qWaitFor([&] { return showsLine(&view, line); }, 5000);
        };

        QTest::keyClicks(&view, "echo 12");
        QTest::keyClick(&view, Qt::Key_Left);
        QTest::keyClick(&view, Qt::Key_Left);
        QTest::keyClicks(&view, "x");
        QTest::keyClick(&view, Qt::Key_Right);
        QVERIFY(ran("x12"));

        QTest::keyClicks(&view, "sleep 30");
        QTest::keyClick(&view, Qt::Key_Return);
        QTest::qWait(300);
        QTest::keyClick(&view, Qt::Key_C, Qt::ControlModifier);
        QTest::keyClicks(&view, "echo after-$((2+3))");
        QVERIFY(ran("after-5"));

        QGuiApplication::clipboard()->setText("echo pasted-$((4+4))\n");
        QTest::keyClick(&view, Qt::Key_Insert, Qt::ShiftModifier);
        QTRY_VERIFY_WITH_TIMEOUT(showsLine(&view, "pasted-8"), 5000);
        QGuiApplication::clipboard()->setText("echo again-$((5+5))\n");
        QTest::keyClick(&view, Qt::Key_V, Qt::ControlModifier | Qt::ShiftModifier);
        QTRY_VERIFY_WITH_TIMEOUT(showsLine(&view, "again-10"), 5000);

        QTest::keyClicks(&view, "printf '\\033[1;32mgreen\\033[0m plain \\033[44m blue \\033[0m\\n'; ls /");
        QTest::keyClick(&view, Qt::Key_Return);
        QTRY_VERIFY_WITH_TIMEOUT(showsLine(&view, "green plain  blue"), 5000);
        QTest::qWait(200);

        const QImage image = view.grab().toImage();
        QDir().mkpath(PLINTH_BUILD_DIR "/screenshots");
        QVERIFY(image.save(PLINTH_BUILD_DIR "/screenshots/terminal.png"));

        // Text in the scheme's foreground, the green of ANSI colour 2, the
        // blue background of colour 4, and the cursor.
        int foreground = 0;
        int green = 0;
        int blue = 0;
        for (int y = 0; y < image.height(); ++y) {
            for (int x = 0; x < view.viewport()->width(); ++x) {
                const QRgb pixel = image.pixel(x, y) & 0xffffff;
                foreground += pixel == (view.surface().defaultForeground() & 0xffffff);
                green += pixel == 0x0dbc79;
                blue += pixel == 0x2472c8;
            }
        }
        QVERIFY2(foreground > 200, qPrintable(QString::number(foreground)));
        QVERIFY2(green > 10, qPrintable(QString::number(green)));
        QVERIFY2(blue > 6 * view.cellSize().width() * view.cellSize().height() / 2, qPrintable(QString::number(blue)));

        // The scrollback is the scroll bar's range; typing returns to the bottom.
        QTest::keyClicks(&view, "seq 1 200");
        QTest::keyClick(&view, Qt::Key_Return);
        QTRY_VERIFY_WITH_TIMEOUT(showsLine(&view, "200"), 5000);
        QScrollBar *bar = view.verticalScrollBar();
        QCOMPARE(bar->maximum(), view.surface().scrollbackCount());
        QCOMPARE(bar->value(), bar->maximum());
        QTest::keyClick(&view, Qt::Key_PageUp, Qt::ShiftModifier);
        QCOMPARE(bar->value(), bar->maximum() - view.surface().rows());
        QTest::keyClicks(&view, "stty size");
        QCOMPARE(bar->value(), bar->maximum());

        QSignalSpy sizeChanged(&view, &TerminalView::sizeChanged);
        view.resize(400, 500);
        QTRY_VERIFY(!sizeChanged.isEmpty());
        const int columns = view.surface().columns();
        const int rows = view.surface().rows();
        // Whole cells inside a few pixels of padding.
        QCOMPARE(columns, (view.viewport()->width() - 8) / view.cellSize().width());
        QCOMPARE(rows, (view.viewport()->height() - 8) / view.cellSize().height());
        QCOMPARE(sizeChanged.last().at(0).toInt(), columns);
        QCOMPARE(sizeChanged.last().at(1).toInt(), rows);
        QVERIFY(ran(QStringLiteral("%1 %2").arg(rows).arg(columns)));
    }
};

QTEST_MAIN(TestTerminalView)
#include "TestTerminalView.moc"
