#include "app/widgets/CustomButtonView.h"

#include "app/widgets/Artwork.h"

#include <QFontMetrics>
#include <QPainter>
#include <QPainterPath>

namespace plinth {

namespace {
constexpr int verticalPadding = 10;
constexpr int leadingPadding = 16;
constexpr int symbolSide = 22;
constexpr int spacing = 10;
constexpr qreal cornerRadius = 10;

QFont titleFont()
{
    QFont font;
    font.setPointSizeF(20);
    font.setWeight(QFont::DemiBold);
    return font;
}
} // namespace

CustomButtonView::CustomButtonView(const QString &imageName, const QString &title, const QColor &backgroundColor,
                                   ColorScheme colorScheme, QWidget *parent)
    : QAbstractButton(parent)
    , m_imageName(imageName)
    , m_backgroundColor(backgroundColor)
    , m_colorScheme(colorScheme)
{
    setText(title);
    setAccessibleName(title);
    setCursor(Qt::PointingHandCursor);
}

void CustomButtonView::setColorScheme(ColorScheme scheme)
{
    m_colorScheme = scheme;
    update();
}

void CustomButtonView::setBackgroundColor(const QColor &color)
{
    m_backgroundColor = color;
    update();
}

QColor CustomButtonView::effectiveBackground() const
{
    QColor color = m_backgroundColor;
    color.setAlphaF(m_colorScheme == ColorScheme::dark ? 0.15f : 1.0f);
    return color;
}

QSize CustomButtonView::sizeHint() const
{
    const QFontMetrics metrics(titleFont());
    return {leadingPadding * 2 + symbolSide + spacing + metrics.horizontalAdvance(text()),
            verticalPadding * 2 + std::max(symbolSide, metrics.height())};
}

void CustomButtonView::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    QPainterPath shape;
    shape.addRoundedRect(QRectF(rect()), cornerRadius, cornerRadius);
    QColor fill = effectiveBackground();
    if (isDown())
        fill = fill.darker(115);
    painter.fillPath(shape, fill);

    const QColor foreground = Artwork::color(QStringLiteral("ExistingProjectForgroundColor"),
                                             m_colorScheme == ColorScheme::dark);
    const int top = (height() - symbolSide) / 2;
    painter.drawPixmap(leadingPadding, top, Artwork::symbol(m_imageName, foreground, {symbolSide, symbolSide}));
    painter.setFont(titleFont());
    painter.setPen(foreground);
    painter.drawText(rect().adjusted(leadingPadding + symbolSide + spacing, 0, 0, 0), Qt::AlignVCenter | Qt::AlignLeft,
                     text());
}

} // namespace plinth
