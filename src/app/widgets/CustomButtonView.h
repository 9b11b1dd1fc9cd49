#pragma once

#include <QAbstractButton>
#include <QColor>

namespace plinth {

/// A large button with a symbol and a title on a rounded, tinted
/// background: full colour in light mode, faint (15 %) in dark mode.
class CustomButtonView : public QAbstractButton
{
    Q_OBJECT

public:
    enum class ColorScheme { light, dark };

    CustomButtonView(const QString &imageName, const QString &title, const QColor &backgroundColor,
                     ColorScheme colorScheme, QWidget *parent = nullptr);

    QString imageName() const { return m_imageName; }
    QColor backgroundColor() const { return m_backgroundColor; }
    /// For a named colour whose variant follows the colour scheme.
    void setBackgroundColor(const QColor &color);
    ColorScheme colorScheme() const { return m_colorScheme; }
    void setColorScheme(ColorScheme scheme);
    /// The background actually painted: the colour at the scheme's opacity.
    QColor effectiveBackground() const;

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QString m_imageName;
    QColor m_backgroundColor;
    ColorScheme m_colorScheme;
};

} // namespace plinth
