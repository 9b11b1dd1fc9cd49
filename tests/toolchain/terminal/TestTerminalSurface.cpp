#include "toolchain/terminal/TerminalSurface.h"

#include <QSignalSpy>
#include <QtTest>

using namespace plinth;

namespace {

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

        QTest::newRow("wide characters") << QByteArray("\xe6\x97\xa5\xe6\x9c\xac!") << QStringList{QString::fromUtf8("日本!")};
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

    // Our scheme's ANSI colours, true colour as sent, the attributes,
    // default colours flagged and holding the scheme's, and the two cells of
    // a wide character.
    void cells()
    {
        TerminalSurface surface(3, 10);
        surface.write("\033[31mA\033[94;42mB\033[0;38;2;1;2;3mC\033[0;1;3;4;7;9mD\033[39;49;22;23;24;27;29mE");
        surface.write("\xe6\x97\xa5x");
        QCOMPARE(surface.cell(0, 0).foreground, qRgb(0xcd, 0x31, 0x31));
        QVERIFY(surface.cell(0, 0).defaultBackground);
        QCOMPARE(surface.cell(0, 1).foreground, qRgb(0x3b, 0x8e, 0xea));
        QCOMPARE(surface.cell(0, 1).background, qRgb(0x0d, 0xbc, 0x79));
        QCOMPARE(surface.cell(0, 2).foreground, qRgb(1, 2, 3));
        const TerminalCell styled = surface.cell(0, 3);
        QVERIFY(styled.bold && styled.italic && styled.underline && styled.reverse && styled.strike);
        const TerminalCell plain = surface.cell(0, 4);
        QVERIFY(plain.defaultForeground && plain.defaultBackground);
        QVERIFY(!plain.bold && !plain.italic && !plain.underline && !plain.reverse && !plain.strike);
        QCOMPARE(plain.foreground, surface.defaultForeground());
        QCOMPARE(plain.background, surface.defaultBackground());
        QCOMPARE(surface.cell(0, 5).text, QString::fromUtf8("日"));
        QCOMPARE(surface.cell(0, 5).width, 2);
        QCOMPARE(surface.cell(0, 6).width, 0);
        QCOMPARE(surface.cell(0, 7).text, "x");
    }

    // What the surface tells its view: damage and the cursor.
    void changesForTheView()
    {
        TerminalSurface surface(4, 10);
        QSignalSpy damaged(&surface, &TerminalSurface::damaged);
        QSignalSpy cursorChanged(&surface, &TerminalSurface::cursorChanged);
        surface.write("\033[3;6Hx");
        QRect changed;
        for (const QList<QVariant> &arguments : damaged)
            changed |= arguments.at(0).toRect();
        QVERIFY(changed.contains(QPoint(5, 2)));
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

        // The scrollback keeps the newest lines up to its bound.
        QByteArray bytes;
        for (int line = 0; line < TerminalSurface::maximumScrollback + 100; ++line)
            bytes += QByteArray::number(line) + "\r\n";
        surface.write(bytes);
        QCOMPARE(surface.lineText(0), QString::number(TerminalSurface::maximumScrollback + 99));
        QCOMPARE(surface.scrollbackCount(), TerminalSurface::maximumScrollback);
        QCOMPARE(surface.lineText(-TerminalSurface::maximumScrollback), QStringLiteral("99"));
    }

    void keys_data()
    {
        QTest::addColumn<int>("key");
        QTest::addColumn<int>("modifiers");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QByteArray>("sent");

        const int control = int(Qt::ControlModifier);
        QTest::newRow("non-ascii") << int(Qt::Key_Eacute) << 0 << QString::fromUtf8("é") << QByteArray("\xc3\xa9");
        QTest::newRow("backspace") << int(Qt::Key_Backspace) << 0 << QStringLiteral("\b") << QByteArray("\x7f");
        QTest::newRow("backtab") << int(Qt::Key_Backtab) << int(Qt::ShiftModifier) << QString() << QByteArray("\033[Z");
        QTest::newRow("ctrl left") << int(Qt::Key_Left) << control << QString() << QByteArray("\033[1;5D");
#if !defined(Q_OS_MACOS)
        QTest::newRow("ctrl d without text") << int(Qt::Key_D) << control << QString() << QByteArray("\x04");
        QTest::newRow("ctrl space") << int(Qt::Key_Space) << control << QString() << QByteArray(1, '\0');
        QTest::newRow("ctrl alt x") << int(Qt::Key_X) << (control | int(Qt::AltModifier)) << QString() << QByteArray("\033\x18");
#endif
        QTest::newRow("alt b") << int(Qt::Key_B) << int(Qt::AltModifier) << QStringLiteral("b") << QByteArray("\033b");
        QTest::newRow("shift alone") << int(Qt::Key_Shift) << int(Qt::ShiftModifier) << QString() << QByteArray();
        // Key 0: typed text, which arrives as typed even with bracketed
        // paste on, so that a carriage return runs the line.
        QTest::newRow("typed line feed runs the line") << 0 << 0 << QStringLiteral("ls\n") << QByteArray("ls\r");
        QTest::newRow("typed crlf") << 0 << 0 << QStringLiteral("a\r\nb\r\n") << QByteArray("a\rb\r");
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
