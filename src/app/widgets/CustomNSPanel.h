#pragma once

#include <QWidget>

namespace plinth {

class ScreenStack;

/// The application's one visible window: borderless, 1000 by 600, with
/// rounded corners, centred on the primary screen's available area. It can
/// always become the active window (the focus is on its screen's controls,
/// marked by the focus ring) and is moved by dragging a screen's header.
class CustomNSPanel : public QWidget
{
    Q_OBJECT

public:
    static constexpr int width = 1000;
    static constexpr int height = 600;
    static constexpr qreal cornerRadius = 15;

    explicit CustomNSPanel(QWidget *parent = nullptr);

    /// Hosts `stack` as the panel's whole content.
    void setScreenStack(ScreenStack *stack);
    ScreenStack *screenStack() const { return m_stack; }

    /// Places the panel in the middle of the primary screen's available area
    /// (at the origin when there is no screen).
    void centreOnPrimaryScreen();

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    ScreenStack *m_stack = nullptr;
};

} // namespace plinth
