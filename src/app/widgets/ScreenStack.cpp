#include "app/widgets/ScreenStack.h"

#include "app/widgets/BaseView.h"

#include <QPushButton>

namespace plinth {

namespace {

/// Puts the keyboard focus where a user starts on `screen`: the control the
/// screen names (its focus proxy), else the first control of its frame.
void focusFirstControl(QWidget *screen)
{
    if (screen->focusProxy()) {
        screen->setFocus(Qt::OtherFocusReason);
        return;
    }
    auto *frame = qobject_cast<BaseView *>(screen);
    if (!frame)
        frame = screen->findChild<BaseView *>();
    if (frame)
        frame->focusFirstControl();
    else
        screen->setFocus(Qt::TabFocusReason);
}

} // namespace

ScreenStack::ScreenStack(std::function<QWidget *()> firstScreenFactory, QWidget *parent)
    : QStackedWidget(parent)
    , m_firstScreenFactory(std::move(firstScreenFactory))
{
}

void ScreenStack::push(QWidget *screen)
{
    QList<BaseView *> frames = screen->findChildren<BaseView *>();
    if (auto *frame = qobject_cast<BaseView *>(screen))
        frames.append(frame);
    for (BaseView *frame : frames) {
        connect(frame, &BaseView::shouldGoToHomeScreenChanged, this, [this](bool goHome) {
            if (goHome)
                pushFirstScreen();
        });
    }
    addWidget(screen);
    setCurrentWidget(screen);
    focusFirstControl(screen);
    Q_EMIT topChanged(screen);
}

void ScreenStack::pop()
{
    if (count() <= 1)
        return;
    QWidget *screen = widget(count() - 1);
    removeWidget(screen);
    screen->deleteLater();
    setCurrentIndex(count() - 1);
    if (QWidget *shown = top())
        focusFirstControl(shown);
    Q_EMIT topChanged(top());
}

void ScreenStack::popTo(QWidget *screen)
{
    const int index = indexOf(screen);
    if (index < 0)
        return;
    while (count() - 1 > index)
        pop();
}

void ScreenStack::pushFirstScreen()
{
    if (m_firstScreenFactory)
        push(m_firstScreenFactory());
}

ScreenStack *ScreenStack::of(QWidget *screen)
{
    for (QWidget *widget = screen; widget; widget = widget->parentWidget()) {
        if (auto *stack = qobject_cast<ScreenStack *>(widget))
            return stack;
    }
    return nullptr;
}

QWidget *ScreenStack::top() const
{
    return count() > 0 ? widget(count() - 1) : nullptr;
}

} // namespace plinth
