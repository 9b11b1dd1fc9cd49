#include "toolchain/terminal/TerminalSurface.h"

#include <QColor>
#include <QFile>
#include <QSignalSpy>
#include <QtTest>

using namespace plinth;

namespace {

QByteArray fixture(const QString &name)
{
    QFile file(QStringLiteral(PLINTH_FIXTURES_DIR "/terminal/") + name);
    if (!file.open(QIODevice::ReadOnly))
        qFatal("missing fixture %s", qPrintable(name));
    return file.readAll();
}

QStringList screenLines(const TerminalSurface &surface)
{
    QStringList lines;
    for (int row = 0; row < surface.rows(); ++row)
        lines.append(surface.lineText(row));
    return lines;
}

/// Everything `surface` sends to the child while `action` runs.
template<typename Action>
QByteArray sentBy(TerminalSurface &surface, Action action)
{
    QByteArray sent;
    QObject::connect(&surface, &TerminalSurface::bytesToSend, &surface,
                     [&sent](const QByteArray &bytes) { sent += bytes; });
    action();
    QObject::disconnect(&surface, &TerminalSurface::bytesToSend, &surface, nullptr);
    return sent;
}

} // namespace

class TestTerminalSurface : public QObject
{
    Q_OBJECT

private slots:
    void screenText_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QStringList>("expected"); // the first rows of a 4 by 10 screen

        QTest::newRow("lines") << QByteArray("one\r\ntwo") << QStringList{"one", "two"};
        QTest::newRow("utf-8") << QByteArray("gr\xc3\xbc\xc3\x9f" "e \xe2\x82\xac") << QStringList{QString::fromUtf8("grüße €")};
        QTest::newRow("wide characters") << QByteArray("\xe6\x97\xa5\xe6\x9c\xac!") << QStringList{QString::fromUtf8("日本!")};
        QTest::newRow("invalid utf-8") << QByteArray("a\xff" "b") << QStringList{QString::fromUtf8("a\xef\xbf\xbd" "b")};
        QTest::newRow("wraps at the last column") << QByteArray("0123456789abc") << QStringList{"0123456789", "abc"};
        QTest::newRow("blank cells inside a line") << QByteArray("a\tb") << QStringList{"a       b"};
        QTest::newRow("escape sequences") << QByteArray("\033[2;4Hx\033[1;1Hy") << QStringList{"y", "   x"};
    }

    void screenText()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QStringList, expected);

        TerminalSurface whole(4, 10);
        whole.write(bytes);
        QCOMPARE(screenLines(whole).mid(0, expected.size()), expected);

        // A stream arrives in pieces of any size, even inside a UTF-8
        // sequence or an escape sequence.
        TerminalSurface byByte(4, 10);
        for (char byte : bytes)
            byByte.write(QByteArray(1, byte));
        QCOMPARE(screenLines(byByte), screenLines(whole));
        QCOMPARE(byByte.cursor(), whole.cursor());
    }

    void wideCharacterCells()
    {
        TerminalSurface surface(2, 10);
        surface.write("\xe6\x97\xa5x");
        QCOMPARE(surface.cell(0, 0).text, QString::fromUtf8("日"));
        QCOMPARE(surface.cell(0, 0).width, 2);
        QCOMPARE(surface.cell(0, 1).width, 0);
        QCOMPARE(surface.cell(0, 2).text, "x");
    }

    void colours_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("expected"); // of the cell holding "X": colours (- for the default), attributes

        QTest::newRow("ansi red") << QByteArray("\033[31mX") << "#cd3131 -";
        QTest::newRow("bright blue on green") << QByteArray("\033[94;42mX") << "#3b8eea #0dbc79";
        QTest::newRow("256 colours") << QByteArray("\033[38;5;196;48;5;21mX") << "#ff0000 #0000ff";
        QTest::newRow("true colour") << QByteArray("\033[38;2;1;2;3;48;2;250;251;252mX") << "#010203 #fafbfc";
        QTest::newRow("attributes") << QByteArray("\033[1;3;4;7;9mX") << "- - bold italic underline reverse strike";
        QTest::newRow("default foreground again") << QByteArray("\033[32;1mA\033[39;22mX") << "- -";
    }

    void colours()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, expected);
        TerminalSurface surface(3, 10);
        surface.write(bytes);
        const int column = surface.lineText(0).indexOf(QLatin1Char('X'));
        QVERIFY(column >= 0);
        const TerminalCell cell = surface.cell(0, column);
        // A default colour is flagged and holds the scheme's colour.
        QCOMPARE(cell.foreground, cell.defaultForeground ? surface.defaultForeground() : cell.foreground);
        QCOMPARE(cell.background, cell.defaultBackground ? surface.defaultBackground() : cell.background);
        const auto colour = [](bool isDefault, QRgb rgb) { return isDefault ? QStringLiteral("-") : QColor(rgb).name(); };
        QStringList found{colour(cell.defaultForeground, cell.foreground), colour(cell.defaultBackground, cell.background)};
        const std::pair<bool, const char *> flags[] = {{cell.bold, "bold"}, {cell.italic, "italic"},
                                                       {cell.underline, "underline"}, {cell.reverse, "reverse"},
                                                       {cell.strike, "strike"}};
        for (const auto &[on, name] : flags) {
            if (on)
                found << QString::fromLatin1(name);
        }
        QCOMPARE(found.join(QLatin1Char(' ')), expected);
    }

    // What the surface tells its view (damage, cursor, title) and answers
    // the child.
    void changesAndReplies()
    {
        TerminalSurface surface(4, 10);
        QVERIFY(surface.isCursorVisible());
        QSignalSpy damaged(&surface, &TerminalSurface::damaged);
        QSignalSpy cursorChanged(&surface, &TerminalSurface::cursorChanged);
        QSignalSpy titleChanged(&surface, &TerminalSurface::titleChanged);
        surface.write("\033[3;6Hx");
        QRect changed;
        for (const QList<QVariant> &arguments : damaged)
            changed |= arguments.at(0).toRect();
        QVERIFY(changed.contains(QPoint(5, 2)));
        QVERIFY(!cursorChanged.isEmpty());
        QCOMPARE(surface.cursor(), QPoint(6, 2));
        surface.write("\033[?25l");
        QVERIFY(!surface.isCursorVisible());
        surface.write("\033[?25h");
        QVERIFY(surface.isCursorVisible());

        // A cursor position report, 1-based.
        QCOMPARE(sentBy(surface, [&] { surface.write("\033[Hab\r\nc\033[6n"); }), QByteArray("\033[2;2R"));

        surface.write("\033]0;build \xe2\x9c\x93\007");
        QCOMPARE(surface.title(), QString::fromUtf8("build ✓"));
        QCOMPARE(titleChanged.size(), 1);
    }

    void scrollback()
    {
        TerminalSurface surface(3, 10);
        QSignalSpy scrollbackChanged(&surface, &TerminalSurface::scrollbackChanged);
        surface.write("\033[32mline1\033[0m\r\nline2\r\nline3\r\nline4\r\nline5");

        QCOMPARE(surface.scrollbackCount(), 2);
        QCOMPARE(surface.lineText(-2), QStringLiteral("line1"));
        QCOMPARE(surface.lineText(-1), QStringLiteral("line2"));
        QCOMPARE(screenLines(surface), (QStringList{"line3", "line4", "line5"}));
        QCOMPARE(surface.cell(-2, 0).foreground, qRgb(0x0d, 0xbc, 0x79));
        QVERIFY(surface.cell(-1, 9).text.isEmpty());
        QVERIFY(!scrollbackChanged.isEmpty());
        QCOMPARE(surface.text(), QStringLiteral("line1\nline2\nline3\nline4\nline5"));

        // A taller screen takes lines back from the scrollback.
        surface.resize(5, 10);
        QCOMPARE(surface.scrollbackCount(), 0);
        QCOMPARE(screenLines(surface), (QStringList{"line1", "line2", "line3", "line4", "line5"}));
        QCOMPARE(surface.cell(0, 0).foreground, qRgb(0x0d, 0xbc, 0x79));

        // A shorter one gives them up again, keeping the cursor's line.
        surface.resize(2, 10);
        QCOMPARE(screenLines(surface), (QStringList{"line4", "line5"}));
        QCOMPARE(surface.lineText(-1), QStringLiteral("line3"));
        QCOMPARE(surface.cursor(), QPoint(5, 1));

        // The scrollback keeps the newest lines up to its bound.
        QByteArray bytes;
        for (int line = 0; line < TerminalSurface::maximumScrollback + 100; ++line)
            bytes += QByteArray::number(line) + "\r\n";
        surface.write(bytes);
        QCOMPARE(surface.lineText(0), QString::number(TerminalSurface::maximumScrollback + 99));
        QCOMPARE(surface.scrollbackCount(), TerminalSurface::maximumScrollback);
        QCOMPARE(surface.lineText(-TerminalSurface::maximumScrollback), QStringLiteral("99"));
    }

    /// Recorded from real programs in an xterm-256color pty:
    /// `ls --color=always -C` in a folder with a directory, an executable
    /// and a text file; `less` on a three-line file, quit with "q".
    void recordedStreams()
    {
        TerminalSurface ls(6, 40);
        ls.write(fixture(QStringLiteral("ls-color.bytes")));
        QCOMPARE(screenLines(ls).mid(0, 2), (QStringList{"folder  notes.txt  run.sh", ""}));
        QCOMPARE(ls.scrollbackCount(), 0);
        const TerminalCell folder = ls.cell(0, 0);
        QCOMPARE(folder.text, QStringLiteral("f"));
        QVERIFY(folder.bold);
        QCOMPARE(folder.foreground, qRgb(0x24, 0x72, 0xc8));
        QVERIFY(ls.cell(0, 8).defaultForeground && !ls.cell(0, 8).bold); // notes.txt

        // Up to the moment "q" was pressed, less shows the file below the
        // line the cursor was on, and has asked for application cursor keys.
        const QByteArray stream = fixture(QStringLiteral("less-alternate-screen.bytes"));
        TerminalSurface less(6, 30);
        QSignalSpy switched(&less, &TerminalSurface::alternateScreenChanged);
        less.write(stream.left(stream.indexOf("\r\033[K\033[?1l")));
        QVERIFY(less.isAlternateScreen());
        QCOMPARE(screenLines(less), (QStringList{"", "first line", QString::fromUtf8("zweite Zeile: grüße"), "third line",
                                                 "three.txt (END)", ""}));
        QVERIFY(less.cell(4, 0).reverse);
        QVERIFY(!less.cell(4, 15).reverse);
        QCOMPARE(sentBy(less, [&] { less.sendKey(Qt::Key_Up, Qt::NoModifier, QString()); }), QByteArray("\033OA"));
        // After it: the shell's screen again, nothing of less's kept.
        less.write(stream.mid(stream.indexOf("\r\033[K\033[?1l")));
        QVERIFY(!less.isAlternateScreen());
        QCOMPARE(switched.size(), 2);
        QCOMPARE(screenLines(less).mid(0, 3), (QStringList{"before less", "after less", ""}));
        QCOMPARE(less.scrollbackCount(), 0);
    }

    void keys_data()
    {
        QTest::addColumn<int>("key");
        QTest::addColumn<int>("modifiers");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QByteArray>("sent");

        const int control = int(Qt::ControlModifier);
        QTest::newRow("non-ascii") << int(Qt::Key_Eacute) << 0 << QString::fromUtf8("é") << QByteArray("\xc3\xa9");
        QTest::newRow("return") << int(Qt::Key_Return) << 0 << QStringLiteral("\r") << QByteArray("\r");
        QTest::newRow("keypad enter") << int(Qt::Key_Enter) << int(Qt::KeypadModifier) << QStringLiteral("\r") << QByteArray("\r");
        QTest::newRow("backspace") << int(Qt::Key_Backspace) << 0 << QStringLiteral("\b") << QByteArray("\x7f");
        QTest::newRow("backtab") << int(Qt::Key_Backtab) << int(Qt::ShiftModifier) << QString() << QByteArray("\033[Z");
        QTest::newRow("up") << int(Qt::Key_Up) << 0 << QString() << QByteArray("\033[A");
        QTest::newRow("ctrl left") << int(Qt::Key_Left) << control << QString() << QByteArray("\033[1;5D");
        QTest::newRow("delete") << int(Qt::Key_Delete) << 0 << QString() << QByteArray("\033[3~");
#if !defined(Q_OS_MACOS)
        QTest::newRow("ctrl c") << int(Qt::Key_C) << control << QStringLiteral("\x03") << QByteArray("\x03");
        QTest::newRow("ctrl d without text") << int(Qt::Key_D) << control << QString() << QByteArray("\x04");
        QTest::newRow("ctrl shift z") << int(Qt::Key_Z) << (control | int(Qt::ShiftModifier)) << QString() << QByteArray("\x1a");
        QTest::newRow("ctrl [") << int(Qt::Key_BracketLeft) << control << QString() << QByteArray("\033");
        QTest::newRow("ctrl space") << int(Qt::Key_Space) << control << QString() << QByteArray(1, '\0');
        QTest::newRow("ctrl alt x") << int(Qt::Key_X) << (control | int(Qt::AltModifier)) << QString() << QByteArray("\033\x18");
#endif
        QTest::newRow("alt b") << int(Qt::Key_B) << int(Qt::AltModifier) << QStringLiteral("b") << QByteArray("\033b");
        QTest::newRow("shift alone") << int(Qt::Key_Shift) << int(Qt::ShiftModifier) << QString() << QByteArray();
        // Key 0: typed text, which arrives as typed even with bracketed
        // paste on, so that a carriage return runs the line.
        QTest::newRow("typed line feed runs the line") << 0 << 0 << QStringLiteral("ls\n") << QByteArray("ls\r");
        QTest::newRow("typed crlf") << 0 << 0 << QStringLiteral("a\r\nb\r\n") << QByteArray("a\rb\r");
        QTest::newRow("typed quotes and utf-8") << 0 << 0 << QString::fromUtf8("echo 'ü \"x\"'")
                                                << QByteArray("echo '\xc3\xbc \"x\"'");
    }

    void keys()
    {
        QFETCH(int, key);
        QFETCH(int, modifiers);
        QFETCH(QString, text);
        QFETCH(QByteArray, sent);

        TerminalSurface surface(4, 10);
        surface.write("\033[?2004h");
        bool handled = !sent.isEmpty();
        const QByteArray bytes = sentBy(surface, [&] {
            if (key != 0)
                handled = surface.sendKey(key, Qt::KeyboardModifiers(modifiers), text);
            else
                surface.sendText(text);
        });
        QCOMPARE(bytes, sent);
        QCOMPARE(handled, !sent.isEmpty());
    }

};

QTEST_GUILESS_MAIN(TestTerminalSurface)
#include "TestTerminalSurface.moc"
