#pragma once

#include "toolchain/terminal/PtyProcess.h"
#include "toolchain/terminal/TerminalSurface.h"

#include <QAbstractScrollArea>
#include <QFont>

namespace plinth {

/// A terminal emulator widget that runs a local process: it paints the cells
/// of its TerminalSurface in a monospace font, feeds the surface with what the
/// process writes, and sends keys and pasted text to the process. The
/// vertical scroll bar pages through the scrollback.
class TerminalView : public QAbstractScrollArea
{
    Q_OBJECT

public:
    explicit TerminalView(QWidget *parent = nullptr);

    /// Starts `executable` in the terminal, sized to the view. An empty
    /// `environment` means PtyProcess::defaultEnvironment(); an empty
    /// `argumentZero` means the executable's path.
    bool startProcess(const QString &executable, const QStringList &arguments = {},
                      const QStringList &environment = {}, const QString &argumentZero = {});

    TerminalSurface &surface() { return m_surface; }
    const PtyProcess &process() const { return m_process; }
    /// The size of one character cell in pixels.
    QSize cellSize() const { return m_cellSize; }

public slots:
    /// The paste action: the clipboard's text goes to the process as if it
    /// had been typed (line breaks become carriage returns, so a pasted line
    /// that ends in one runs).
    void paste();

signals:
    /// The terminal now has `columns` by `rows` cells.
    void sizeChanged(int columns, int rows);
    void titleChanged(const QString &title);
    /// The process has ended. The view keeps showing its last output.
    void processTerminated(int exitCode);

protected:
    bool event(QEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void focusInEvent(QFocusEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;
    void inputMethodEvent(QInputMethodEvent *event) override;
    QVariant inputMethodQuery(Qt::InputMethodQuery query) const override;
    void scrollContentsBy(int dx, int dy) override;

private:
    int topRow() const;
    QRect cellRect(int screenRow, int column, int width = 1) const;
    QRect cursorRect() const;
    void updateGridSize();
    void updateScrollBar();
    void onDamaged(const QRect &cells);
    void onCursorChanged();
    void sendTyped(const QByteArray &bytes);
    void paintCursor(QPainter &painter);

    TerminalSurface m_surface;
    PtyProcess m_process;
    QFont m_font;
    QFont m_boldFont;
    QFont m_italicFont;
    QFont m_boldItalicFont;
    QSize m_cellSize;
    int m_ascent = 0;
    QRect m_paintedCursor;
};

} // namespace plinth
