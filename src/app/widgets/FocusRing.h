#pragma once

#include <QList>
#include <QPointer>
#include <QWidget>

namespace plinth {

/// The mark around the control that has the keyboard focus: a blue rounded
/// ring drawn a few pixels outside the control, so that it shows on every
/// control alike (the blue Next button, a borderless symbol, a check box, a
/// text field) and in light and dark mode. One ring follows the focus
/// through every window of the application; it is laid over the control in
/// its window (or in the scroll area's viewport that shows the control),
/// takes no mouse events and no focus.
class FocusRing : public QWidget
{
    Q_OBJECT

public:
    /// Lets the ring follow the application's keyboard focus from now on
    /// (once per process; later calls do nothing).
    static void followFocus();
    /// The control the ring is drawn around, if any (for tests).
    static QWidget *target();

    /// The gap between the control and the ring, and the ring's width.
    static constexpr int gap = 2;
    static constexpr int width = 2;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void paintEvent(QPaintEvent *event) override;

private:
    FocusRing();
    void setTarget(QWidget *widget);
    void place();

    QPointer<QWidget> m_target;
    QList<QPointer<QWidget>> m_watched; ///< the control and its ancestors up to the ring's parent
};

} // namespace plinth
