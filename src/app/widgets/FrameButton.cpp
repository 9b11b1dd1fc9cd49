#include "app/widgets/FrameButton.h"

#include <QPainter>
#include <QPainterPath>

namespace plinth {

namespace {
constexpr int horizontalPadding = 20;
constexpr int verticalPadding = 5;
constexpr int minimumButtonWidth = 100;
constexpr qreal cornerRadius = 5;
const QColor enabledBlue(0x0A, 0x84, 0xFF);
const QColor disabledGrey(0x9A, 0x9A, 0x9E);
} // namespace

FrameButton::FrameButton(bool primary, QWidget *parent)
    : QPushButton(parent)
    , m_primary(primary)
{
    setFlat(true);
    setAutoDefault(false);
    setCursor(Qt::PointingHandCursor);
}

QColor FrameButton::background() const
{
    if (m_primary)
        return isEnabled() ? (isDown() ? enabledBlue.darker(120) : enabledBlue) : disabledGrey;
    QColor grey(128, 128, 128);
    grey.setAlphaF(isDown() ? 0.35f : 0.18f);
    return grey;
}

QSize FrameButton::sizeHint() const
{
    const QFontMetrics metrics(font());
    return {std::max(minimumButtonWidth, metrics.horizontalAdvance(text()) + 2 * horizontalPadding),
            metrics.height() + 2 * verticalPadding + 4};
}

void FrameButton::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    QPainterPath shape;
    shape.addRoundedRect(QRectF(rect()), cornerRadius, cornerRadius);
    painter.fillPath(shape, background());
    QColor title = m_primary ? QColor(Qt::white) : palette().color(QPalette::ButtonText);
    if (!m_primary && !isEnabled())
        title = disabledGrey;
    painter.setPen(title);
    painter.drawText(rect(), Qt::AlignCenter, text());
}

OutlinedBox::OutlinedBox(QWidget *parent, qreal cornerRadius)
    : QWidget(parent)
    , m_cornerRadius(cornerRadius)
{
}

void OutlinedBox::paintOutline(QWidget *widget, qreal cornerRadius)
{
    QPainter painter(widget);
    painter.setRenderHint(QPainter::Antialiasing);
    QColor outline(128, 128, 128);
    outline.setAlphaF(0.5f);
    painter.setPen(QPen(outline, 0.8));
    painter.drawRoundedRect(QRectF(widget->rect()).adjusted(0.5, 0.5, -0.5, -0.5), cornerRadius, cornerRadius);
}

void OutlinedBox::paintEvent(QPaintEvent *)
{
    paintOutline(this, m_cornerRadius);
}

} // namespace plinth
