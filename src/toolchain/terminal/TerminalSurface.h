#pragma once

#include <QByteArray>
#include <QObject>
#include <QPoint>
#include <QRect>
#include <QRgb>
#include <QString>

#include <deque>
#include <vector>

#include <vterm.h>

namespace plinth {

/// One character cell as a painter needs it: its text, colours resolved to
/// RGB and its attributes.
struct TerminalCell
{
    QString text;          ///< empty for a blank cell and for the right half of a wide character
    int width = 1;         ///< 2 for a wide character, 0 for the cell it covers on its right
    QRgb foreground = 0;
    QRgb background = 0;
    bool defaultForeground = true;
    bool defaultBackground = true;
    bool bold = false;
    bool italic = false;
    bool underline = false;
    bool strike = false;
    bool reverse = false;
};

/// The state of a terminal, without any widget: bytes from the child process
/// go in (`write`), changed cells come out (`damaged`), and the keys and
/// pasted text it is given come out as the bytes to send to the child
/// (`bytesToSend`). libvterm does the emulation (UTF-8, colours, cursor,
/// scrolling regions, alternate screen); this class adds the scrollback.
///
/// Rows are counted from the top of the screen; the scrollback lines have the
/// negative row numbers -1 (the newest) to -scrollbackCount() (the oldest).
class TerminalSurface : public QObject
{
    Q_OBJECT

public:
    /// At most this many lines are kept above the screen.
    static constexpr int maximumScrollback = 5000;

    TerminalSurface(int rows, int columns, QObject *parent = nullptr);
    ~TerminalSurface() override;

    int rows() const { return m_rows; }
    int columns() const { return m_columns; }
    void resize(int rows, int columns);

    /// Feeds output of the child process to the emulator.
    void write(const QByteArray &bytes);

    TerminalCell cell(int row, int column) const;
    /// The text of one row with trailing blanks removed.
    QString lineText(int row) const;
    /// Every scrollback line and screen row, one per line, trailing blanks
    /// removed.
    QString text() const;

    int scrollbackCount() const { return int(m_scrollback.size()); }
    QPoint cursor() const { return m_cursor; } ///< x = column, y = row
    bool isCursorVisible() const { return m_cursorVisible; }
    bool isAlternateScreen() const { return m_alternateScreen; }
    bool isReverseVideo() const { return m_reverseVideo; }
    QString title() const { return m_title; }
    QRgb defaultForeground() const { return m_defaultForeground; }
    QRgb defaultBackground() const { return m_defaultBackground; }

    /// Sends the key `key` (a Qt::Key) with `modifiers` to the child, as
    /// an xterm does: Return is a carriage return, Backspace DEL, the arrows
    /// follow the cursor-key mode, Ctrl with a letter sends its control
    /// character, Alt prefixes ESC. `text` is what the key types, used for
    /// the keys that only type text. Answers whether anything was sent.
    bool sendKey(int key, Qt::KeyboardModifiers modifiers, const QString &text);
    /// Sends `text` as if typed: every line break becomes a carriage return.
    void sendText(const QString &text);

    void setFocused(bool focused);

signals:
    /// The cells of `rect` (x = column, y = row, screen rows only) changed.
    void damaged(const QRect &rect);
    void cursorChanged();
    /// Lines were added to or taken from the scrollback.
    void scrollbackChanged();
    void titleChanged(const QString &title);
    void alternateScreenChanged(bool active);
    void bell();
    /// Bytes for the child: typed keys, pasted text, answers to queries.
    void bytesToSend(const QByteArray &bytes);

private:
    static int onDamage(VTermRect rect, void *user);
    static int onMoveCursor(VTermPos pos, VTermPos oldPosition, int visible, void *user);
    static int onSetTermProp(VTermProp prop, VTermValue *value, void *user);
    static int onBell(void *user);
    static int onPushLine(int columns, const VTermScreenCell *cells, void *user);
    static int onPopLine(int columns, VTermScreenCell *cells, void *user);
    static void onOutput(const char *bytes, size_t length, void *user);

    TerminalCell convert(const VTermScreenCell &cell) const;
    void sendControl(char character, Qt::KeyboardModifiers modifiers);
    void flush();

    VTerm *m_vterm = nullptr;
    VTermScreen *m_screen = nullptr;
    VTermScreenCallbacks m_callbacks{};
    int m_rows;
    int m_columns;
    std::deque<std::vector<VTermScreenCell>> m_scrollback; ///< front is the newest line
    bool m_scrollbackChanged = false;
    QPoint m_cursor;
    bool m_cursorVisible = true;
    bool m_alternateScreen = false;
    bool m_reverseVideo = false;
    QString m_title;
    QRgb m_defaultForeground;
    QRgb m_defaultBackground;
};

} // namespace plinth
