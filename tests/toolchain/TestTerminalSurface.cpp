#include "toolchain/TerminalSurface.h"

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
        QTest::newRow("carriage return overwrites") << QByteArray("abcdef\rXY") << QStringList{"XYcdef"};
        QTest::newRow("backspace") << QByteArray("abc\bZ") << QStringList{"abZ"};
        QTest::newRow("tab") << QByteArray("a\tb") << QStringList{"a       b"};
        QTest::newRow("cursor position") << QByteArray("\033[2;4Hx\033[1;1Hy") << QStringList{"y", "   x"};
        QTest::newRow("erase to end of line") << QByteArray("abcdef\033[1;3H\033[K") << QStringList{"ab"};
        QTest::newRow("erase display") << QByteArray("abc\r\ndef\033[2J\033[Hz") << QStringList{"z", ""};
        QTest::newRow("cursor movement") << QByteArray("a\033[2Cb\033[1Bc\033[3Dd") << QStringList{"a  b", "  d c"};
        QTest::newRow("insert line") << QByteArray("one\r\ntwo\033[1;1H\033[L") << QStringList{"", "one", "two"};
        QTest::newRow("scroll region") << QByteArray("top\033[2;3r\033[2;1Hx\r\ny\r\nz\033[r")
                                       << QStringList{"top", "y", "z", ""};
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
        QCOMPARE(surface.cell(0, 2).text, QStringLiteral("x"));
        QCOMPARE(surface.cursor(), QPoint(3, 0));
    }

    void colours_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("attributes"); // of the cell holding "X"
        QTest::addColumn<QRgb>("foreground");    // 0: the default
        QTest::addColumn<QRgb>("background");    // 0: the default

        QTest::newRow("plain") << QByteArray("X") << QString() << QRgb(0) << QRgb(0);
        QTest::newRow("ansi red") << QByteArray("\033[31mX") << QString() << qRgb(0xcd, 0x31, 0x31) << QRgb(0);
        QTest::newRow("bright blue on green") << QByteArray("\033[94;42mX") << QString() << qRgb(0x3b, 0x8e, 0xea)
                                              << qRgb(0x0d, 0xbc, 0x79);
        QTest::newRow("256 colours") << QByteArray("\033[38;5;196;48;5;21mX") << QString() << qRgb(255, 0, 0)
                                     << qRgb(0, 0, 255);
        QTest::newRow("true colour") << QByteArray("\033[38;2;1;2;3;48;2;250;251;252mX") << QString()
                                     << qRgb(1, 2, 3) << qRgb(250, 251, 252);
        QTest::newRow("attributes") << QByteArray("\033[1;3;4;7;9mX") << QStringLiteral("bold italic underline reverse strike")
                                    << QRgb(0) << QRgb(0);
        QTest::newRow("reset") << QByteArray("\033[1;31;44mA\033[0mX") << QString() << QRgb(0) << QRgb(0);
        QTest::newRow("default foreground again") << QByteArray("\033[32;1mA\033[39;22mX") << QString() << QRgb(0)
                                                  << QRgb(0);
        QTest::newRow("erase keeps the background") << QByteArray("\033[41m\033[2J\033[HX") << QString()
                                                    << QRgb(0) << qRgb(0xcd, 0x31, 0x31);
    }

    void colours()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, attributes);
        QFETCH(QRgb, foreground);
        QFETCH(QRgb, background);

        TerminalSurface surface(3, 10);
        surface.write(bytes);
        const int column = surface.lineText(0).indexOf(QLatin1Char('X'));
        QVERIFY(column >= 0);
        const TerminalCell cell = surface.cell(0, column);

        QCOMPARE(cell.defaultForeground, foreground == 0);
        QCOMPARE(cell.foreground, foreground == 0 ? surface.defaultForeground() : foreground);
        QCOMPARE(cell.defaultBackground, background == 0);
        QCOMPARE(cell.background, background == 0 ? surface.defaultBackground() : background);
        QStringList set;
        if (cell.bold)
            set << QStringLiteral("bold");
        if (cell.italic)
            set << QStringLiteral("italic");
        if (cell.underline)
            set << QStringLiteral("underline");
        if (cell.reverse)
            set << QStringLiteral("reverse");
        if (cell.strike)
            set << QStringLiteral("strike");
        QCOMPARE(set.join(QLatin1Char(' ')), attributes);
    }

    void cursor_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QPoint>("position");
        QTest::addColumn<bool>("visible");

        QTest::newRow("start") << QByteArray() << QPoint(0, 0) << true;
        QTest::newRow("absolute") << QByteArray("\033[3;5H") << QPoint(4, 2) << true;
        QTest::newRow("clamped") << QByteArray("\033[99;99H") << QPoint(9, 3) << true;
        QTest::newRow("hidden") << QByteArray("\033[?25l") << QPoint(0, 0) << false;
        QTest::newRow("shown again") << QByteArray("\033[?25l\033[?25h") << QPoint(0, 0) << true;
        QTest::newRow("saved and restored") << QByteArray("ab\0337\033[4;4H\0338") << QPoint(2, 0) << true;
        QTest::newRow("stays at the bottom") << QByteArray("1\r\n2\r\n3\r\n4\r\n5\r\n6") << QPoint(1, 3) << true;
    }

    void cursor()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QPoint, position);
        QFETCH(bool, visible);

        TerminalSurface surface(4, 10);
        surface.write(bytes);
        QCOMPARE(surface.cursor(), position);
        QCOMPARE(surface.isCursorVisible(), visible);
    }

    void changesAreReported()
    {
        TerminalSurface surface(4, 10);
        QSignalSpy damaged(&surface, &TerminalSurface::damaged);
        QSignalSpy cursorChanged(&surface, &TerminalSurface::cursorChanged);
        surface.write("\033[3;6Hx");

        QRect changed;
        for (const QList<QVariant> &arguments : damaged)
            changed |= arguments.at(0).toRect();
        QVERIFY2(changed.contains(QPoint(5, 2)), qPrintable(QStringLiteral("damaged %1,%2 %3x%4")
                                                               .arg(changed.x()).arg(changed.y())
                                                               .arg(changed.width()).arg(changed.height())));
        QVERIFY(!cursorChanged.isEmpty());
        QCOMPARE(surface.cursor(), QPoint(6, 2));
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
    }

    void scrollbackIsBounded()
    {
        TerminalSurface surface(2, 10);
        QByteArray bytes;
        for (int line = 0; line < TerminalSurface::maximumScrollback + 100; ++line)
            bytes += QByteArray::number(line) + "\r\n";
        surface.write(bytes);
        // The last line is on the screen, above the empty one the cursor is on.
        QCOMPARE(surface.lineText(0), QString::number(TerminalSurface::maximumScrollback + 99));
        QCOMPARE(surface.scrollbackCount(), TerminalSurface::maximumScrollback);
        QCOMPARE(surface.lineText(-1), QString::number(TerminalSurface::maximumScrollback + 98));
        QCOMPARE(surface.lineText(-TerminalSurface::maximumScrollback), QStringLiteral("99"));
    }

    void alternateScreen()
    {
        TerminalSurface surface(3, 10);
        QSignalSpy switched(&surface, &TerminalSurface::alternateScreenChanged);
        surface.write("shell$ ab");
        surface.write("\033[?1049h\033[H\033[2J");
        QVERIFY(surface.isAlternateScreen());
        QCOMPARE(screenLines(surface), (QStringList{"", "", ""}));

        // What scrolls off the alternate screen is not kept.
        surface.write("a1\r\na2\r\na3\r\na4\r\na5");
        QCOMPARE(surface.scrollbackCount(), 0);
        QCOMPARE(screenLines(surface), (QStringList{"a3", "a4", "a5"}));

        surface.write("\033[?1049l");
        QVERIFY(!surface.isAlternateScreen());
        QCOMPARE(screenLines(surface), (QStringList{"shell$ ab", "", ""}));
        QCOMPARE(surface.cursor(), QPoint(9, 0));
        QCOMPARE(switched.size(), 2);
    }

    /// Recorded from real programs in an xterm-256color pty:
    /// `ls --color=always -C` in a folder with a directory, an executable
    /// and a text file; `less` on a three-line file, quit with "q".
    void recordedStreams_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<int>("rows");
        QTest::addColumn<int>("columns");
        QTest::addColumn<QStringList>("expected");

        QTest::newRow("ls") << QStringLiteral("ls-color.bytes") << 6 << 40
                            << QStringList{"folder  notes.txt  run.sh", ""};
        QTest::newRow("less") << QStringLiteral("less-alternate-screen.bytes") << 6 << 30
                              << QStringList{"before less", "after less", ""};
    }

    void recordedStreams()
    {
        QFETCH(QString, file);
        QFETCH(int, rows);
        QFETCH(int, columns);
        QFETCH(QStringList, expected);

        TerminalSurface surface(rows, columns);
        surface.write(fixture(file));
        QCOMPARE(screenLines(surface).mid(0, expected.size()), expected);
        QVERIFY(!surface.isAlternateScreen());
        QCOMPARE(surface.scrollbackCount(), 0);
    }

    void recordedColours()
    {
        TerminalSurface surface(6, 40);
        surface.write(fixture(QStringLiteral("ls-color.bytes")));
        const TerminalCell folder = surface.cell(0, 0);
        QCOMPARE(folder.text, QStringLiteral("f"));
        QVERIFY(folder.bold);
        QCOMPARE(folder.foreground, qRgb(0x24, 0x72, 0xc8));
        const TerminalCell notes = surface.cell(0, 8);
        QCOMPARE(notes.text, QStringLiteral("n"));
        QVERIFY(notes.defaultForeground);
        QVERIFY(!notes.bold);
        const TerminalCell script = surface.cell(0, 19);
        QCOMPARE(script.text, QStringLiteral("r"));
        QCOMPARE(script.foreground, qRgb(0x0d, 0xbc, 0x79));
    }

    void recordedAlternateScreenWhileOpen()
    {
        QByteArray stream = fixture(QStringLiteral("less-alternate-screen.bytes"));
        // Up to the moment "q" was pressed: less shows the file below the
        // line the cursor was on.
        stream.truncate(stream.indexOf("\r\033[K\033[?1l"));
        TerminalSurface surface(6, 30);
        surface.write(stream);
        QVERIFY(surface.isAlternateScreen());
        QCOMPARE(screenLines(surface),
                 (QStringList{"", "first line", QString::fromUtf8("zweite Zeile: grüße"), "third line",
                              "three.txt (END)", ""}));
        QVERIFY(surface.cell(4, 0).reverse);
        QVERIFY(!surface.cell(4, 15).reverse);
        // less asked for application cursor keys.
        QCOMPARE(sentBy(surface, [&] { surface.sendKey(Qt::Key_Up, Qt::NoModifier, QString()); }),
                 QByteArray("\033OA"));
    }

    void keys_data()
    {
        QTest::addColumn<int>("key");
        QTest::addColumn<int>("modifiers");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QByteArray>("sent");

        const int control = int(Qt::ControlModifier);
        QTest::newRow("letter") << int(Qt::Key_A) << 0 << QStringLiteral("a") << QByteArray("a");
        QTest::newRow("non-ascii") << int(Qt::Key_Eacute) << 0 << QString::fromUtf8("é") << QByteArray("\xc3\xa9");
        QTest::newRow("return") << int(Qt::Key_Return) << 0 << QStringLiteral("\r") << QByteArray("\r");
        QTest::newRow("keypad enter") << int(Qt::Key_Enter) << int(Qt::KeypadModifier) << QStringLiteral("\r") << QByteArray("\r");
        QTest::newRow("backspace") << int(Qt::Key_Backspace) << 0 << QStringLiteral("\b") << QByteArray("\x7f");
        QTest::newRow("tab") << int(Qt::Key_Tab) << 0 << QStringLiteral("\t") << QByteArray("\t");
        QTest::newRow("backtab") << int(Qt::Key_Backtab) << int(Qt::ShiftModifier) << QString() << QByteArray("\033[Z");
        QTest::newRow("escape") << int(Qt::Key_Escape) << 0 << QStringLiteral("\033") << QByteArray("\033");
        QTest::newRow("up") << int(Qt::Key_Up) << 0 << QString() << QByteArray("\033[A");
        QTest::newRow("left") << int(Qt::Key_Left) << 0 << QString() << QByteArray("\033[D");
        QTest::newRow("ctrl left") << int(Qt::Key_Left) << control << QString() << QByteArray("\033[1;5D");
        QTest::newRow("home") << int(Qt::Key_Home) << 0 << QString() << QByteArray("\033[H");
        QTest::newRow("delete") << int(Qt::Key_Delete) << 0 << QString() << QByteArray("\033[3~");
        QTest::newRow("f1") << int(Qt::Key_F1) << 0 << QString() << QByteArray("\033OP");
        QTest::newRow("f5") << int(Qt::Key_F5) << 0 << QString() << QByteArray("\033[15~");
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
    }

    void keys()
    {
        QFETCH(int, key);
        QFETCH(int, modifiers);
        QFETCH(QString, text);
        QFETCH(QByteArray, sent);

        TerminalSurface surface(4, 10);
        bool handled = false;
        const QByteArray bytes = sentBy(surface, [&] {
            handled = surface.sendKey(key, Qt::KeyboardModifiers(modifiers), text);
        });
        QCOMPARE(bytes, sent);
        QCOMPARE(handled, !sent.isEmpty());
    }

    void typedText_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QByteArray>("sent");

        QTest::newRow("command with carriage return") << QStringLiteral("bash /tmp/x.sh\r") << QByteArray("bash /tmp/x.sh\r");
        QTest::newRow("without carriage return") << QStringLiteral("ls") << QByteArray("ls");
        QTest::newRow("line feed runs the line") << QStringLiteral("ls\n") << QByteArray("ls\r");
        QTest::newRow("crlf") << QStringLiteral("a\r\nb\r\n") << QByteArray("a\rb\r");
        QTest::newRow("quotes and utf-8") << QString::fromUtf8("echo 'ü \"x\"'") << QByteArray("echo '\xc3\xbc \"x\"'");
        QTest::newRow("empty") << QString() << QByteArray();
    }

    void typedText()
    {
        QFETCH(QString, text);
        QFETCH(QByteArray, sent);

        TerminalSurface surface(4, 10);
        // Even with bracketed paste on, typed text arrives as typed, so a
        // carriage return runs the line.
        surface.write("\033[?2004h");
        QCOMPARE(sentBy(surface, [&] { surface.sendText(text); }), sent);
    }

    void answersQueries()
    {
        TerminalSurface surface(4, 10);
        const QByteArray answer = sentBy(surface, [&] { surface.write("ab\r\nc\033[6n"); });
        QCOMPARE(answer, QByteArray("\033[2;2R"));
    }

    void title()
    {
        TerminalSurface surface(4, 10);
        QSignalSpy titleChanged(&surface, &TerminalSurface::titleChanged);
        surface.write("\033]0;build \xe2\x9c\x93\007");
        QCOMPARE(surface.title(), QString::fromUtf8("build ✓"));
        QCOMPARE(titleChanged.size(), 1);
    }
};

QTEST_GUILESS_MAIN(TestTerminalSurface)
#include "TestTerminalSurface.moc"
