#include "project/FormRows.h"

#include "app/widgets/Artwork.h"

#include <QApplication>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

namespace plinth {

namespace {
const QColor messageRed(0xE0, 0x35, 0x35);
} // namespace

QGridLayout *makeFormGrid(QVBoxLayout *column)
{
    auto *grid = new QGridLayout;
    grid->setContentsMargins(0, 0, 0, 0);
    grid->setHorizontalSpacing(16);
    grid->setVerticalSpacing(formRowSpacing);
    grid->setColumnMinimumWidth(0, formLabelColumnWidth);
    grid->setColumnStretch(1, 1);
    column->addLayout(grid);
    return grid;
}

QLineEdit *makeFormField(const QString &objectName, QWidget *parent)
{
    auto *field = new QLineEdit(parent);
    field->setObjectName(objectName);
    QFont font = field->font();
    font.setPointSizeF(13);
    field->setFont(font);
    field->setMinimumHeight(28);
    return field;
}

QLabel *addFormRow(QGridLayout *grid, int row, const QString &label, QWidget *control, QLayout *cell)
{
    auto *title = new QLabel(label, control->parentWidget());
    title->setFont(Artwork::font(QStringLiteral("Heebo-Regular"), 15));
    title->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    title->setMinimumWidth(formLabelColumnWidth);
    title->setBuddy(control);
    if (control->accessibleName().isEmpty())
        control->setAccessibleName(label);
    grid->addWidget(title, row, 0);
    if (cell)
        grid->addLayout(cell, row, 1);
    else
        grid->addWidget(control, row, 1);
    return title;
}

QLabel *makeFormMessage(const QString &objectName, QWidget *parent)
{
    auto *message = new QLabel(parent);
    message->setObjectName(objectName);
    QFont font = QApplication::font();
    font.setPointSizeF(12);
    message->setFont(font);
    message->setWordWrap(true);
    QPalette palette;
    palette.setColor(QPalette::WindowText, messageRed);
    message->setPalette(palette);
    message->hide();
    return message;
}

void showFormMessage(QLabel *message, const QString &text)
{
    message->setText(text);
    message->setAccessibleName(text);
    message->setVisible(!text.isEmpty());
}

void showModelText(QLineEdit *field, const QString &value)
{
    if (field->text() != value)
        field->setText(value);
}

void showAsReadOnly(QLineEdit *field)
{
    QPalette palette;
    palette.setColor(QPalette::Base, Qt::transparent);
    field->setPalette(palette);
    field->setFocusPolicy(Qt::TabFocus);
}

} // namespace plinth
