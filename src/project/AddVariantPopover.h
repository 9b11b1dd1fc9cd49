#pragma once

#include <QFrame>

class QLabel;
class QLineEdit;

namespace plinth {

class ProjectDetailsSubsequentViewModel;

/// The build settings screen's popover for an own configuration variant: a
/// pop-up 300 px wide with a title, the name field, the refusal message and
/// Cancel / Add. It works on the model's popover state: Add (or Return in
/// the field) adds, Cancel, Escape or a click outside cancel.
class AddVariantPopover : public QFrame
{
    Q_OBJECT

public:
    static constexpr int popoverWidth = 300;

    AddVariantPopover(ProjectDetailsSubsequentViewModel *model, QWidget *parent);

    /// Shows the popover under `anchor` with the focus in the name field.
    void openUnder(QWidget *anchor);

    QLineEdit *labelField() const { return m_field; }

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void hideEvent(QHideEvent *event) override;
    void paintEvent(QPaintEvent *event) override;

private:
    void fitHeight();

    ProjectDetailsSubsequentViewModel *m_model;
    QLineEdit *m_field = nullptr;
    QLabel *m_message = nullptr;
};

} // namespace plinth
