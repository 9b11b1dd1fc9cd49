#include "toolchain/terminal/TerminalView.h"

#include <QClipboard>
#include <QFontDatabase>
#include <QFontMetricsF>
#include <QGuiApplication>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QPainter>
#include <QPalette>
#include <QScrollBar>

#include <cmath>

namespace plinth {

namespace {

constexpr int initialRows = 24;
constexpr int initialColumns = 80;
/// Space between the viewport's edges and the cells.
constexpr int padding = 4;

QFont terminalFont()
{
#if defined(Q_OS_MACOS)
    QFont font(QStringLiteral("Menlo"), 12);
#else
    QFont font = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    font.setPointSize(11);
#endif
    font.setStyleHint(QFont::Monospace);
    font.setFixedPitch(true);
    font.setKerning(false);
    return font;
}

bool isPasteKey(const QKeyEvent *event)
{
#if defined(Q_OS_MACOS)
    return event->matches(QKeySequence::Paste);
#else
    // Ctrl+V is the terminal's own (literal next), so the paste keys are
    // those of other Linux terminals.
    const Qt::KeyboardModifiers modifiers = event->modifiers() & ~Qt::KeypadModifier;
    return (event->key() == Qt::Key_V && modifiers == (Qt::ControlModifier | Qt::ShiftModifier))
        || (event->key() == Qt::Key_Insert && modifiers == Qt::ShiftModifier);
#endif
}

} // namespace

TerminalView::TerminalView(QWidget *parent)
    : QAbstractScrollArea(parent)
    , m_surface(initialRows, initialColumns)
    , m_font(terminalFont())
{
    m_boldFont = m_font;
    m_boldFont.setBold(true);
    m_italicFont = m_font;
    m_italicFont.setItalic(true);
    m_boldItalicFont = m_boldFont;
    m_boldItalicFont.setItalic(true);
    const QFontMetricsF metrics(m_font);
    m_cellSize = QSize(int(std::ceil(metrics.horizontalAdvance(QLatin1Char('M')))),
                       int(std::ceil(metrics.lineSpacing())));
    m_ascent = int(std::ceil(metrics.ascent()));

    setFocusPolicy(Qt::StrongFocus);
    setAttribute(Qt::WA_InputMethodEnabled);
    setFrameShape(QFrame::NoFrame);
    // A scroll bar that comes and goes would change the number of columns
    // whenever the first line scrolls away.
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    // The scroll bar in the terminal's colours rather than the window's.
    QPalette barPalette = verticalScrollBar()->palette();
    const QColor background(m_surface.defaultBackground());
    barPalette.setColor(QPalette::Window, background);
    barPalette.setColor(QPalette::Base, background);
    barPalette.setColor(QPalette::Button, background.lighter(180));
    barPalette.setColor(QPalette::ButtonText, QColor(m_surface.defaultForeground()));
    barPalette.setColor(QPalette::WindowText, QColor(m_surface.defaultForeground()));
    verticalScrollBar()->setPalette(barPalette);
    viewport()->setCursor(Qt::IBeamCursor);
    viewport()->setAutoFillBackground(false);
    viewport()->setAttribute(Qt::WA_OpaquePaintEvent);

    connect(&m_process, &PtyProcess::readyRead, &m_surface, &TerminalSurface::write);
    connect(&m_process, &PtyProcess::finished, this, &TerminalView::processTerminated);
    connect(&m_surface, &TerminalSurface::bytesToSend, &m_process, &PtyProcess::write);
    connect(&m_surface, &TerminalSurface::damaged, this, &TerminalView::onDamaged);
    connect(&m_surface, &TerminalSurface::cursorChanged, this, &TerminalView::onCursorChanged);
    connect(&m_surface, &TerminalSurface::scrollbackChanged, this, &TerminalView::updateScrollBar);
    connect(&m_surface, &TerminalSurface::titleChanged, this, &TerminalView::titleChanged);
    updateScrollBar();
}

bool TerminalView::startProcess(const QString &executable, const QStringList &arguments,
                                const QStringList &environment, const QString &argumentZero)
{
    updateGridSize();
    if (m_process.start(executable, arguments, environment, argumentZero, m_surface.rows(), m_surface.columns()))
        return true;
    // Whatever goes wrong shows in the terminal itself.
    m_surface.write(QStringLiteral("cannot start %1: %2\r\n").arg(executable, m_process.errorString()).toUtf8());
    return false;
}

void TerminalView::paste()
{
    const QString text = QGuiApplication::clipboard()->text();
    if (text.isEmpty())
        return;
    verticalScrollBar()->setValue(verticalScrollBar()->maximum());
    m_surface.sendText(text);
}

int TerminalView::topRow() const
{
    return verticalScrollBar()->value() - m_surface.scrollbackCount();
}

QRect TerminalView::cellRect(int screenRow, int column, int width) const
{
    return QRect(padding + column * m_cellSize.width(), padding + screenRow * m_cellSize.height(),
                 width * m_cellSize.width(), m_cellSize.height());
}

QRect TerminalView::cursorRect() const
{
    const QPoint cursor = m_surface.cursor();
    return cellRect(cursor.y() - topRow(), cursor.x());
}

void TerminalView::updateGridSize()
{
    const QSize area = viewport()->size();
    const int columns = std::max(1, (area.width() - 2 * padding) / m_cellSize.width());
    const int rows = std::max(1, (area.height() - 2 * padding) / m_cellSize.height());
    if (columns == m_surface.columns() && rows == m_surface.rows())
        return;
    m_surface.resize(rows, columns);
    m_process.resize(rows, columns);
    updateScrollBar();
    emit sizeChanged(columns, rows);
}

void TerminalView::updateScrollBar()
{
    QScrollBar *bar = verticalScrollBar();
    const bool atBottom = bar->value() == bar->maximum();
    bar->setRange(0, m_surface.scrollbackCount());
    bar->setPageStep(m_surface.rows());
    bar->setSingleStep(1);
    if (atBottom)
        bar->setValue(bar->maximum());
    viewport()->update();
}

void TerminalView::onDamaged(const QRect &cells)
{
    viewport()->update(cellRect(cells.y() - topRow(), cells.x(), cells.width())
                           .adjusted(0, 0, 0, (cells.height() - 1) * m_cellSize.height()));
}

void TerminalView::onCursorChanged()
{
    viewport()->update(m_paintedCursor);
    viewport()->update(cursorRect());
}

void TerminalView::scrollContentsBy(int, int)
{
    viewport()->update();
}

bool TerminalView::event(QEvent *event)
{
    switch (event->type()) {
    case QEvent::ShortcutOverride: {
        // Keys belong to the shell while the terminal has the focus, except
        // the application's Command shortcuts on macOS.
        auto *keyEvent = static_cast<QKeyEvent *>(event);
#if defined(Q_OS_MACOS)
        if (keyEvent->modifiers() & Qt::ControlModifier)
            return QAbstractScrollArea::event(event);
#endif
        keyEvent->accept();
        return true;
    }
    case QEvent::KeyPress: {
        auto *keyEvent = static_cast<QKeyEvent *>(event);
        if (keyEvent->key() == Qt::Key_Tab || keyEvent->key() == Qt::Key_Backtab) {
            // Tab completes in the shell; Control-Tab (and Control-Shift-Tab)
            // leaves the terminal for the next (previous) control, as in a
            // text editor.
            if (keyEvent->modifiers() & (Qt::ControlModifier | Qt::MetaModifier)) {
                const bool back = keyEvent->key() == Qt::Key_Backtab || (keyEvent->modifiers() & Qt::ShiftModifier);
                focusNextPrevChild(!back);
                return true;
            }
            keyPressEvent(keyEvent); // not a focus change: the shell completes
            return true;
        }
        break;
    }
    default:
        break;
    }
    return QAbstractScrollArea::event(event);
}

void TerminalView::keyPressEvent(QKeyEvent *event)
{
    if (isPasteKey(event)) {
        paste();
        event->accept();
        return;
    }
    const Qt::KeyboardModifiers modifiers = event->modifiers() & ~Qt::KeypadModifier;
    if (modifiers == Qt::ShiftModifier && (event->key() == Qt::Key_PageUp || event->key() == Qt::Key_PageDown)) {
        QScrollBar *bar = verticalScrollBar();
        bar->setValue(bar->value() + (event->key() == Qt::Key_PageUp ? -1 : 1) * bar->pageStep());
        event->accept();
        return;
    }
    if (m_surface.sendKey(event->key(), modifiers, event->text())) {
        verticalScrollBar()->setValue(verticalScrollBar()->maximum());
        event->accept();
        return;
    }
    event->ignore();
}

void TerminalView::inputMethodEvent(QInputMethodEvent *event)
{
    if (!event->commitString().isEmpty())
        m_surface.sendText(event->commitString());
    event->accept();
}

QVariant TerminalView::inputMethodQuery(Qt::InputMethodQuery query) const
{
    if (query == Qt::ImCursorRectangle)
        return cursorRect();
    if (query == Qt::ImFont)
        return m_font;
    return QAbstractScrollArea::inputMethodQuery(query);
}

void TerminalView::focusInEvent(QFocusEvent *event)
{
    QAbstractScrollArea::focusInEvent(event);
    m_surface.setFocused(true);
    viewport()->update(cursorRect());
}

void TerminalView::focusOutEvent(QFocusEvent *event)
{
    QAbstractScrollArea::focusOutEvent(event);
    m_surface.setFocused(false);
    viewport()->update(cursorRect());
}

void TerminalView::resizeEvent(QResizeEvent *event)
{
    QAbstractScrollArea::resizeEvent(event);
    updateGridSize();
}

void TerminalView::paintEvent(QPaintEvent *event)
{
    QPainter painter(viewport());
    const QRect dirty = event->rect();
    const bool reverseVideo = m_surface.isReverseVideo();
    const QColor screenBackground(reverseVideo ? m_surface.defaultForeground() : m_surface.defaultBackground());
    painter.fillRect(dirty, screenBackground);

    const QRect cells = dirty.translated(-padding, -padding);
    const int firstRow = std::max(0, cells.top() / m_cellSize.height());
    const int lastRow = std::min(m_surface.rows() - 1, cells.bottom() / m_cellSize.height());
    const int firstColumn = std::max(0, cells.left() / m_cellSize.width() - 1); // a wide character to the left
    const int lastColumn = std::min(m_surface.columns() - 1, cells.right() / m_cellSize.width());
    const int top = topRow();
    const QFont *currentFont = nullptr;

    for (int screenRow = firstRow; screenRow <= lastRow; ++screenRow) {
        for (int column = firstColumn; column <= lastColumn; ++column) {
            const TerminalCell cell = m_surface.cell(top + screenRow, column);
            if (cell.width == 0)
                continue;
            QColor foreground(cell.foreground);
            QColor background(cell.background);
            bool paintBackground = !cell.defaultBackground;
            if (cell.reverse != reverseVideo) {
                std::swap(foreground, background);
                paintBackground = true;
            }
            const QRect rect = cellRect(screenRow, column, cell.width);
            if (paintBackground)
                painter.fillRect(rect, background);
            if (cell.text.isEmpty() || cell.text == QLatin1String(" "))
                continue;
            const QFont *font = cell.bold ? (cell.italic ? &m_boldItalicFont : &m_boldFont)
                                          : (cell.italic ? &m_italicFont : &m_font);
            if (font != currentFont) {
                currentFont = font;
                painter.setFont(*font);
            }
            if (cell.underline || cell.strike) {
                QFont styled = *font;
                styled.setUnderline(cell.underline);
                styled.setStrikeOut(cell.strike);
                painter.setFont(styled);
                currentFont = nullptr;
            }
            painter.setPen(foreground);
            painter.drawText(QPoint(rect.left(), rect.top() + m_ascent), cell.text);
        }
    }
    paintCursor(painter);
}

void TerminalView::paintCursor(QPainter &painter)
{
    m_paintedCursor = QRect();
    if (!m_surface.isCursorVisible() || verticalScrollBar()->value() != verticalScrollBar()->maximum())
        return;
    const QPoint cursor = m_surface.cursor();
    const TerminalCell cell = m_surface.cell(cursor.y(), cursor.x());
    const QRect rect = cellRect(cursor.y(), cursor.x(), std::max(cell.width, 1));
    const QColor color(m_surface.defaultForeground());
    if (hasFocus()) {
        painter.fillRect(rect, color);
        if (!cell.text.isEmpty()) {
            painter.setFont(cell.bold ? m_boldFont : m_font);
            painter.setPen(QColor(m_surface.defaultBackground()));
            painter.drawText(QPoint(rect.left(), rect.top() + m_ascent), cell.text);
        }
    } else {
        painter.setPen(color);
        painter.drawRect(rect.adjusted(0, 0, -1, -1));
    }
    m_paintedCursor = rect;
}

} // namespace plinth
