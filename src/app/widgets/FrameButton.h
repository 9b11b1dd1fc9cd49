#pragma once

#include <QPushButton>

namespace plinth {

/// A borderless frame button on a rounded rectangle (radius 5): the primary
/// one (Next) is blue while enabled and grey while disabled, with a white
/// title; the others sit on a faint grey. Painted directly rather than
/// through a style sheet, which would re-polish the whole screen.
class FrameButton : public QPushButton
{
    Q_OBJECT

public:
    FrameButton(bool primary, QWidget *parent = nullptr);

    /// The background drawn in the button's current state.
    QColor background() const;

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override { return sizeHint(); }

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    bool m_primary;
};

/// A box with a thin grey rounded outline: rows of a list (radius 8), the
/// catalog lists and their frame (radius 2).
class OutlinedBox : public QWidget
{
    Q_OBJECT

public:
    explicit OutlinedBox(QWidget *parent = nullptr, qreal cornerRadius = 8);

    /// Draws the outline around `widget`'s whole rectangle.
    static void paintOutline(QWidget *widget, qreal cornerRadius);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    qreal m_cornerRadius;
};

} // namespace plinth
