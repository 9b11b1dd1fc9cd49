#pragma once

#include <QString>

class QGridLayout;
class QLabel;
class QLayout;
class QLineEdit;
class QVBoxLayout;
class QWidget;

namespace plinth {

// The labelled rows of the identity and build settings screens: labels
// right-aligned in a column of their own, the control filling the rest of
// the row, a red message under a control when it has one.

inline constexpr int formMargin = 20;
inline constexpr int formLabelColumnWidth = 180;
inline constexpr int formRowSpacing = 14;

/// A two-column grid added to `column`.
QGridLayout *makeFormGrid(QVBoxLayout *column);
/// An editable text field without placeholder.
QLineEdit *makeFormField(const QString &objectName, QWidget *parent);
/// The label of `control` (Heebo-Regular 15, right-aligned, on one line: the
/// column widens for a label longer than its 180 points) in `row` of `grid`,
/// with the control beside it, or `cell` when the control shares its cell
/// with other widgets; a control without an accessible name takes the label.
QLabel *addFormRow(QGridLayout *grid, int row, const QString &label, QWidget *control, QLayout *cell = nullptr);
/// A message under a control: system font 12 pt, red, hidden while empty.
QLabel *makeFormMessage(const QString &objectName, QWidget *parent);
void showFormMessage(QLabel *message, const QString &text);
/// Shows a value the model took in `field`, leaving the field (and the
/// user's cursor in it) alone when it already shows that value.
void showModelText(QLineEdit *field, const QString &value);
/// Lets the window show through a read-only field, in light and dark palettes.
void showAsReadOnly(QLineEdit *field);

} // namespace plinth
