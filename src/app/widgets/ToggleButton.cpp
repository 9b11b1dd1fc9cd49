#include "app/widgets/ToggleButton.h"

#include "app/widgets/Artwork.h"

#include <QFontMetrics>
#include <QPainter>

namespace plinth {

namespace {
constexpr int symbolSide = 18;
constexpr int spacing = 8;
const QColor checkedColor(0x0A, 0x84, 0xFF);
const QColor uncheckedColor(0x8E, 0x8E, 0x93);

QFont labelFont()
{
    QFont font;
    font.setPointSizeF(15);
    return font;
}
} // namespace

ToggleButton::ToggleButton(int index, const QString &label, bool isChecked, QWidget *parent)
    : QAbstractButton(parent)
    , m_index(index)
    , m_label(label)
{
    setText(label);
    setCheckable(true);
    setChecked(isChecked);
    setCursor(Qt::PointingHandCursor);
    setFocusPolicy(Qt::TabFocus);
    setAccessibleName(label);
}

QSize ToggleButton::sizeHint() const
{
    const QFontMetrics metrics(labelFont());
    return {symbolSide + spacing + metrics.horizontalAdvance(m_label) + 2, std::max(symbolSide, metrics.height()) + 4};
}

void ToggleButton::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QColor color = isChecked() ? checkedColor : uncheckedColor;
    const int top = (height() - symbolSide) / 2;
    const QString symbolName = isChecked() ? QStringLiteral("checkmark.square") : QStringLiteral("square");
    const QPixmap symbol = Artwork::symbol(symbolName, color, {symbolSide, symbolSide});
    if (!symbol.isNull()) {
        painter.drawPixmap(0, top, symbol);
    } else {
        painter.setPen(QPen(color, 1.5));
        painter.drawRoundedRect(QRectF(1, top + 1, symbolSide - 2, symbolSide - 2), 3, 3);
        if (isChecked())
            painter.drawPolyline(QPolygonF({QPointF(4, top + 9), QPointF(8, top + 13), QPointF(14, top + 5)}));
    }
    painter.setFont(labelFont());
    painter.setPen(color);
    painter.drawText(rect().adjusted(symbolSide + spacing, 0, 0, 0), Qt::AlignVCenter | Qt::AlignLeft, m_label);
}

} // namespace plinth
