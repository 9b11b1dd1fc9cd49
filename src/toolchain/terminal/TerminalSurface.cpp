#include "toolchain/terminal/TerminalSurface.h"

#include <algorithm>
#include <cstring>

namespace plinth {

namespace {

constexpr uint32_t wideCharacterContinuation = 0xFFFFFFFF;

/// A dark scheme: the sixteen ANSI colours, then the default foreground and
/// background.
constexpr QRgb ansiPalette[16] = {
    0xff000000, 0xffcd3131, 0xff0dbc79, 0xffe5e510, 0xff2472c8, 0xffbc3fbc, 0xff11a8cd, 0xffe5e5e5,
    0xff666666, 0xfff14c4c, 0xff23d18b, 0xfff5f543, 0xff3b8eea, 0xffd670d6, 0xff29b8db, 0xffffffff,
};
constexpr QRgb schemeForeground = 0xffd4d4d4;
constexpr QRgb schemeBackground = 0xff1e1e1e;

VTermColor vtermColor(QRgb rgb)
{
    VTermColor color;
    vterm_color_rgb(&color, uint8_t(qRed(rgb)), uint8_t(qGreen(rgb)), uint8_t(qBlue(rgb)));
    return color;
}

bool isBlank(const VTermScreenCell &cell)
{
    return (cell.chars[0] == 0 || cell.chars[0] == ' ') && VTERM_COLOR_IS_DEFAULT_BG(&cell.bg)
        && !cell.attrs.reverse;
}

/// The modifier that means Control on the keyboard (Qt names the macOS
/// Command key Control and the Control key Meta).
Qt::KeyboardModifier controlKeyModifier()
{
#ifdef Q_OS_MACOS
    return Qt::MetaModifier;
#else
    return Qt::ControlModifier;
#endif
}

VTermModifier vtermModifiers(Qt::KeyboardModifiers modifiers)
{
    int result = VTERM_MOD_NONE;
    if (modifiers & Qt::ShiftModifier)
        result |= VTERM_MOD_SHIFT;
    if (modifiers & Qt::AltModifier)
        result |= VTERM_MOD_ALT;
    if (modifiers & controlKeyModifier())
        result |= VTERM_MOD_CTRL;
    return VTermModifier(result);
}

/// The key of libvterm for a Qt key that types no text, or VTERM_KEY_NONE.
VTermKey vtermKey(int key)
{
    switch (key) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        return VTERM_KEY_ENTER;
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
        return VTERM_KEY_TAB;
    case Qt::Key_Backspace:
        return VTERM_KEY_BACKSPACE;
    case Qt::Key_Escape:
        return VTERM_KEY_ESCAPE;
    case Qt::Key_Up:
        return VTERM_KEY_UP;
    case Qt::Key_Down:
        return VTERM_KEY_DOWN;
    case Qt::Key_Left:
        return VTERM_KEY_LEFT;
    case Qt::Key_Right:
        return VTERM_KEY_RIGHT;
    case Qt::Key_Insert:
        return VTERM_KEY_INS;
    case Qt::Key_Delete:
        return VTERM_KEY_DEL;
    case Qt::Key_Home:
        return VTERM_KEY_HOME;
    case Qt::Key_End:
        return VTERM_KEY_END;
    case Qt::Key_PageUp:
        return VTERM_KEY_PAGEUP;
    case Qt::Key_PageDown:
        return VTERM_KEY_PAGEDOWN;
    default:
        if (key >= Qt::Key_F1 && key <= Qt::Key_F12)
            return VTermKey(VTERM_KEY_FUNCTION(key - Qt::Key_F1 + 1));
        return VTERM_KEY_NONE;
    }
}

/// The control character that Ctrl with `key` types, as on a VT100
/// keyboard, or -1 when Ctrl with that key has none.
int controlCharacter(int key)
{
    if (key >= Qt::Key_A && key <= Qt::Key_Z)
        return key - Qt::Key_A + 1;
    switch (key) {
    case Qt::Key_At:
    case Qt::Key_Space:
    case Qt::Key_2:
        return 0;
    case Qt::Key_BracketLeft:
    case Qt::Key_3:
        return 0x1b;
    case Qt::Key_Backslash:
    case Qt::Key_4:
        return 0x1c;
    case Qt::Key_BracketRight:
    case Qt::Key_5:
        return 0x1d;
    case Qt::Key_AsciiCircum:
    case Qt::Key_6:
        return 0x1e;
    case Qt::Key_Underscore:
    case Qt::Key_Minus:
    case Qt::Key_7:
        return 0x1f;
    case Qt::Key_Question:
    case Qt::Key_8:
        return 0x7f;
    default:
        return -1;
    }
}

} // namespace

TerminalSurface::TerminalSurface(int rows, int columns, QObject *parent)
    : QObject(parent)
    , m_rows(std::max(rows, 1))
    , m_columns(std::max(columns, 1))
    , m_defaultForeground(schemeForeground)
    , m_defaultBackground(schemeBackground)
{
    m_vterm = vterm_new(m_rows, m_columns);
    vterm_set_utf8(m_vterm, 1);
    vterm_output_set_callback(m_vterm, &TerminalSurface::onOutput, this);

    VTermState *state = vterm_obtain_state(m_vterm);
    const VTermColor foreground = vtermColor(schemeForeground);
    const VTermColor background = vtermColor(schemeBackground);
    vterm_state_set_default_colors(state, &foreground, &background);
    for (int index = 0; index < 16; ++index) {
        const VTermColor color = vtermColor(ansiPalette[index]);
        vterm_state_set_palette_color(state, index, &color);
    }

    m_screen = vterm_obtain_screen(m_vterm);
    m_callbacks.damage = &TerminalSurface::onDamage;
    m_callbacks.movecursor = &TerminalSurface::onMoveCursor;
    m_callbacks.settermprop = &TerminalSurface::onSetTermProp;
    m_callbacks.bell = &TerminalSurface::onBell;
    m_callbacks.sb_pushline = &TerminalSurface::onPushLine;
    m_callbacks.sb_popline = &TerminalSurface::onPopLine;
    vterm_screen_set_callbacks(m_screen, &m_callbacks, this);
    vterm_screen_set_damage_merge(m_screen, VTERM_DAMAGE_SCREEN);
    vterm_screen_enable_altscreen(m_screen, 1);
    vterm_screen_reset(m_screen, 1);
}

TerminalSurface::~TerminalSurface()
{
    vterm_free(m_vterm);
}

void TerminalSurface::resize(int rows, int columns)
{
    rows = std::max(rows, 1);
    columns = std::max(columns, 1);
    if (rows == m_rows && columns == m_columns)
        return;
    m_rows = rows;
    m_columns = columns;
    vterm_set_size(m_vterm, rows, columns);
    flush();
    emit damaged(QRect(0, 0, m_columns, m_rows));
}

void TerminalSurface::write(const QByteArray &bytes)
{
    if (bytes.isEmpty())
        return;
    vterm_input_write(m_vterm, bytes.constData(), size_t(bytes.size()));
    flush();
}

void TerminalSurface::flush()
{
    vterm_screen_flush_damage(m_screen);
    if (m_scrollbackChanged) {
        m_scrollbackChanged = false;
        emit scrollbackChanged();
    }
}

TerminalCell TerminalSurface::convert(const VTermScreenCell &source) const
{
    TerminalCell cell;
    if (source.chars[0] == wideCharacterContinuation) {
        cell.width = 0;
    } else {
        for (int index = 0; index < VTERM_MAX_CHARS_PER_CELL && source.chars[index] != 0; ++index) {
            const char32_t character = source.chars[index];
            cell.text += QString::fromUcs4(&character, 1);
        }
        cell.width = source.width == 2 ? 2 : 1;
    }
    VTermColor foreground = source.fg;
    VTermColor background = source.bg;
    cell.defaultForeground = VTERM_COLOR_IS_DEFAULT_FG(&foreground);
    cell.defaultBackground = VTERM_COLOR_IS_DEFAULT_BG(&background);
    vterm_screen_convert_color_to_rgb(m_screen, &foreground);
    vterm_screen_convert_color_to_rgb(m_screen, &background);
    cell.foreground = qRgb(foreground.rgb.red, foreground.rgb.green, foreground.rgb.blue);
    cell.background = qRgb(background.rgb.red, background.rgb.green, background.rgb.blue);
    cell.bold = source.attrs.bold;
    cell.italic = source.attrs.italic;
    cell.underline = source.attrs.underline != VTERM_UNDERLINE_OFF;
    cell.strike = source.attrs.strike;
    cell.reverse = source.attrs.reverse;
    return cell;
}

TerminalCell TerminalSurface::cell(int row, int column) const
{
    if (row >= 0 && row < m_rows && column >= 0 && column < m_columns) {
        VTermScreenCell cell;
        vterm_screen_get_cell(m_screen, VTermPos{row, column}, &cell);
        return convert(cell);
    }
    if (row < 0 && row >= -scrollbackCount() && column >= 0) {
        const std::vector<VTermScreenCell> &line = m_scrollback[size_t(-row - 1)];
        if (size_t(column) < line.size())
            return convert(line[size_t(column)]);
    }
    TerminalCell blank; // outside the screen, or the trimmed end of a scrollback line
    blank.foreground = m_defaultForeground;
    blank.background = m_defaultBackground;
    return blank;
}

QString TerminalSurface::lineText(int row) const
{
    QString line;
    for (int column = 0; column < m_columns; ++column) {
        const TerminalCell current = cell(row, column);
        if (current.width == 0)
            continue;
        line += current.text.isEmpty() ? QStringLiteral(" ") : current.text;
    }
    while (line.endsWith(QLatin1Char(' ')))
        line.chop(1);
    return line;
}

QString TerminalSurface::text() const
{
    QStringList lines;
    for (int row = -scrollbackCount(); row < m_rows; ++row)
        lines.append(lineText(row));
    return lines.join(QLatin1Char('\n'));
}

bool TerminalSurface::sendKey(int key, Qt::KeyboardModifiers modifiers, const QString &text)
{
    const VTermModifier modifier = vtermModifiers(modifiers);
    const VTermKey special = vtermKey(key);
    if (special != VTERM_KEY_NONE) {
        const bool shift = key == Qt::Key_Backtab || (modifier & VTERM_MOD_SHIFT);
        vterm_keyboard_key(m_vterm, special, VTermModifier(shift ? modifier | VTERM_MOD_SHIFT : modifier));
        return true;
    }
    if (modifier & VTERM_MOD_CTRL) {
        const int control = controlCharacter(key);
        if (control >= 0) {
            sendControl(char(control), modifiers);
            return true;
        }
    }
    if (text.isEmpty())
        return false;
    QByteArray bytes = text.toUtf8();
    if (modifier & VTERM_MOD_ALT)
        bytes.prepend('\x1b');
    emit bytesToSend(bytes);
    return true;
}

void TerminalSurface::sendControl(char character, Qt::KeyboardModifiers modifiers)
{
    QByteArray bytes(1, character);
    if (modifiers & Qt::AltModifier)
        bytes.prepend('\x1b');
    emit bytesToSend(bytes);
}

void TerminalSurface::sendText(const QString &text)
{
    if (text.isEmpty())
        return;
    QString typed = text;
    typed.replace(QStringLiteral("\r\n"), QStringLiteral("\r"));
    typed.replace(QLatin1Char('\n'), QLatin1Char('\r'));
    emit bytesToSend(typed.toUtf8());
}

void TerminalSurface::setFocused(bool focused)
{
    VTermState *state = vterm_obtain_state(m_vterm);
    if (focused)
        vterm_state_focus_in(state);
    else
        vterm_state_focus_out(state);
}

int TerminalSurface::onDamage(VTermRect rect, void *user)
{
    auto *self = static_cast<TerminalSurface *>(user);
    emit self->damaged(QRect(rect.start_col, rect.start_row, rect.end_col - rect.start_col,
                             rect.end_row - rect.start_row));
    return 1;
}

int TerminalSurface::onMoveCursor(VTermPos pos, VTermPos, int visible, void *user)
{
    auto *self = static_cast<TerminalSurface *>(user);
    self->m_cursor = QPoint(pos.col, pos.row);
    self->m_cursorVisible = visible;
    emit self->cursorChanged();
    return 1;
}

int TerminalSurface::onSetTermProp(VTermProp prop, VTermValue *value, void *user)
{
    auto *self = static_cast<TerminalSurface *>(user);
    switch (prop) {
    case VTERM_PROP_CURSORVISIBLE:
        self->m_cursorVisible = value->boolean;
        emit self->cursorChanged();
        break;
    case VTERM_PROP_ALTSCREEN:
        self->m_alternateScreen = value->boolean;
        emit self->alternateScreenChanged(self->m_alternateScreen);
        break;
    case VTERM_PROP_TITLE:
        self->m_title = QString::fromUtf8(value->string);
        emit self->titleChanged(self->m_title);
        break;
    case VTERM_PROP_REVERSE:
        self->m_reverseVideo = value->boolean;
        emit self->damaged(QRect(0, 0, self->m_columns, self->m_rows));
        break;
    default:
        break;
    }
    return 1;
}

int TerminalSurface::onBell(void *user)
{
    emit static_cast<TerminalSurface *>(user)->bell();
    return 1;
}

int TerminalSurface::onPushLine(int columns, const VTermScreenCell *cells, void *user)
{
    auto *self = static_cast<TerminalSurface *>(user);
    int length = columns;
    while (length > 0 && isBlank(cells[length - 1]))
        --length;
    self->m_scrollback.emplace_front(cells, cells + length);
    if (self->m_scrollback.size() > size_t(maximumScrollback))
        self->m_scrollback.pop_back();
    self->m_scrollbackChanged = true;
    return 1;
}

int TerminalSurface::onPopLine(int columns, VTermScreenCell *cells, void *user)
{
    auto *self = static_cast<TerminalSurface *>(user);
    if (self->m_scrollback.empty())
        return 0;
    const std::vector<VTermScreenCell> line = std::move(self->m_scrollback.front());
    self->m_scrollback.pop_front();
    VTermColor foreground;
    VTermColor background;
    vterm_state_get_default_colors(vterm_obtain_state(self->m_vterm), &foreground, &background);
    foreground.type |= VTERM_COLOR_DEFAULT_FG;
    background.type |= VTERM_COLOR_DEFAULT_BG;
    for (int column = 0; column < columns; ++column) {
        if (size_t(column) < line.size()) {
            cells[column] = line[size_t(column)];
        } else {
            std::memset(&cells[column], 0, sizeof(VTermScreenCell));
            cells[column].width = 1;
            cells[column].fg = foreground;
            cells[column].bg = background;
        }
    }
    self->m_scrollbackChanged = true;
    return 1;
}

void TerminalSurface::onOutput(const char *bytes, size_t length, void *user)
{
    emit static_cast<TerminalSurface *>(user)->bytesToSend(QByteArray(bytes, qsizetype(length)));
}

} // namespace plinth
