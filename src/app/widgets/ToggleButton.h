#pragma once

#include <QAbstractButton>

namespace plinth {

/// A check box with its label: a square symbol (ticked when checked) and the
/// label, both blue when checked and grey when not. Pressing it runs the
/// owner's action (clicked()); the owner flips `isChecked` of the entry at
/// `index` in its list and sets it back here.
class ToggleButton : public QAbstractButton
{
    Q_OBJECT

public:
    ToggleButton(int index, const QString &label, bool isChecked, QWidget *parent = nullptr);

    int index() const { return m_index; }
    QString label() const { return m_label; }
    bool isChecked() const { return m_isChecked; }
    void setChecked(bool checked);

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    int m_index;
    QString m_label;
    bool m_isChecked;
};

} // namespace plinth
