#include "app/widgets/FocusRing.h"

#include <QAbstractScrollArea>
#include <QApplication>
#include <QEvent>
#include <QPainter>
#include <QPainterPath>

#include <algorithm>

namespace plinth {

namespace {

const QColor ringBlue(0x0A, 0x84, 0xFF);
constexpr int outset = FocusRing::gap + FocusRing::width;
constexpr qreal cornerRadius = 6 + outset;

QPointer<FocusRing> &ring()
{
    static QPointer<FocusRing> instance;
    return instance;
}

} // namespace

FocusRing::FocusRing()
{
    setObjectName(QStringLiteral("focusRing"));
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setAttribute(Qt::WA_NoSystemBackground);
    setFocusPolicy(Qt::NoFocus);
    hide();
}

void FocusRing::followFocus()
{
    static bool following = false;
    if (following || !qApp)
        return;
    following = true;
    QObject::connect(qApp, &QApplication::focusChanged, qApp, [](QWidget *, QWidget *now) {
        // The ring lives in the window of the control it marks: it goes with
        // an alert that closes, and a new one is made for the next control.
        if (!ring())
            ring() = new FocusRing;
        ring()->setTarget(now);
    });
}

QWidget *FocusRing::target()
{
    return ring() && ring()->isVisible() ? ring()->m_target.data() : nullptr;
}

// The ring is laid into the control's window, or into the viewport of the
// scroll area the control lies in (which then clips it as it clips the
// control): a parent without margins around the control would cut it off.
// It follows every widget between the control and that host.
void FocusRing::setTarget(QWidget *widget)
{
    for (const QPointer<QWidget> &watched : std::as_const(m_watched)) {
        if (watched)
            watched->removeEventFilter(this);
    }
    m_watched.clear();
    m_target = widget && widget->parentWidget() && !widget->isWindow() ? widget : nullptr;
    if (!m_target) {
        hide();
        return;
    }
    QWidget *host = m_target->window();
    for (QWidget *ancestor = m_target; ancestor && !ancestor->isWindow(); ancestor = ancestor->parentWidget()) {
        m_watched.append(ancestor);
        ancestor->installEventFilter(this);
        auto *area = qobject_cast<QAbstractScrollArea *>(ancestor->parentWidget());
        if (ancestor != m_target && area && area->viewport() == ancestor) {
            host = ancestor;
            break;
        }
    }
    if (parentWidget() != host)
        setParent(host);
    place();
}

void FocusRing::place()
{
    if (!m_target || !m_target->isVisible() || !parentWidget()) {
        hide();
        return;
    }
    const QRect control(m_target->mapTo(parentWidget(), QPoint(0, 0)), m_target->size());
    setGeometry(control.adjusted(-outset, -outset, outset, outset));
    raise();
    show();
    update();
}

bool FocusRing::eventFilter(QObject *watched, QEvent *event)
{
    if (std::any_of(m_watched.cbegin(), m_watched.cend(),
                    [watched](const QPointer<QWidget> &widget) { return widget == watched; })) {
        switch (event->type()) {
        case QEvent::Move:
        case QEvent::Resize:
        case QEvent::Show:
        case QEvent::Hide:
        case QEvent::ZOrderChange:
            place();
            break;
        case QEvent::ParentChange:
            setTarget(m_target);
            break;
        default:
            break;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void FocusRing::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const qreal half = width / 2.0;
    const qreal radius = cornerRadius - half;
    painter.setPen(QPen(ringBlue, width));
    painter.setBrush(Qt::NoBrush);
    painter.drawRoundedRect(QRectF(rect()).adjusted(half, half, -half, -half), radius, radius);
}

} // namespace plinth
