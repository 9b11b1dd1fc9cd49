#include "app/widgets/FocusRing.h"

#include <QApplication>
#include <QEvent>
#include <QPainter>
#include <QPainterPath>

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

void FocusRing::setTarget(QWidget *widget)
{
    if (m_target)
        m_target->removeEventFilter(this);
    m_target = widget && widget->parentWidget() && !widget->isWindow() ? widget : nullptr;
    if (!m_target) {
        hide();
        return;
    }
    m_target->installEventFilter(this);
    if (parentWidget() != m_target->parentWidget())
        setParent(m_target->parentWidget());
    place();
}

void FocusRing::place()
{
    if (!m_target || !m_target->isVisible()) {
        hide();
        return;
    }
    setGeometry(m_target->geometry().adjusted(-outset, -outset, outset, outset));
    raise();
    show();
    update();
}

bool FocusRing::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_target) {
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
