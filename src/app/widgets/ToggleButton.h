#pragma once

#include <QAbstractButton>

namespace plinth {

/// A check box with its label: a square symbol (ticked when checked) and the
/// label, both blue when checked and grey when not. Pressing it runs the
/// owner's action (clicked()); the owner flips `isChecked` of the entry at
/// `index` in its list and sets it back here: a press alone does not tick
/// it. It is a checkable button, so assistive technology reads it as a
/// check box with its state.
class ToggleButton : public QAbstractButton
{
    Q_OBJECT

public:
    ToggleButton(int index, const QString &label, bool isChecked, QWidget *parent = nullptr);

    int index() const { return m_index; }
    QString label() const { return m_label; }

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent *event) override;
    void nextCheckState() override {}

private:
    int m_index;
    QString m_label;
};

} // namespace plinth
