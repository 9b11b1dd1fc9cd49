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

/// A box with a thin grey rounded outline, for rows of a list.
class OutlinedBox : public QWidget
{
    Q_OBJECT

public:
    using QWidget::QWidget;

protected:
    void paintEvent(QPaintEvent *event) override;
};

} // namespace plinth
