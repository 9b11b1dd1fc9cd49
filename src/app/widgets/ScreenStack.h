#pragma once

#include <QStackedWidget>

#include <functional>

namespace plinth {

/// The navigation stack of the panel: screens are pushed on top and popped
/// off again; only the top one is shown. A screen's frame that asks to go
/// home (Cancel) gets a fresh first screen pushed on top of it; the screens
/// below stay where they are.
class ScreenStack : public QStackedWidget
{
    Q_OBJECT

public:
    explicit ScreenStack(std::function<QWidget *()> firstScreenFactory, QWidget *parent = nullptr);

    /// Shows `screen` on top; the stack owns it from now on.
    void push(QWidget *screen);
    /// Removes and deletes the top screen, unless it is the only one.
    void pop();
    /// Pops every screen above `screen`, which becomes the top; nothing
    /// happens when `screen` is not on this stack.
    void popTo(QWidget *screen);
    /// Pushes a fresh instance of the first screen.
    void pushFirstScreen();

    QWidget *top() const;
    /// The stack that holds `screen` (or a widget inside it), if any.
    static ScreenStack *of(QWidget *screen);
    int depth() const { return count(); }

Q_SIGNALS:
    void topChanged(QWidget *screen);

private:
    std::function<QWidget *()> m_firstScreenFactory;
};

} // namespace plinth
