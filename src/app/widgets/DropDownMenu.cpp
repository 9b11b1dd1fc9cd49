#include "app/widgets/DropDownMenu.h"

#include "app/widgets/Artwork.h"

#include <QMenu>

namespace plinth {

DropDownMenu::DropDownMenu(const QString &label, const QStringList &options, const QString &selectedOption,
                           QWidget *parent)
    : QToolButton(parent)
    , m_label(label)
    , m_options(options)
    , m_selectedOption(selectedOption)
{
    setPopupMode(QToolButton::InstantPopup);
    setToolButtonStyle(Qt::ToolButtonTextOnly);
    setFont(Artwork::font(QStringLiteral("Heebo-Regular"), 14));
    setMenu(new QMenu(this));
    setStyleSheet(QStringLiteral("QToolButton { background: rgba(128, 128, 128, 0.2); border: none;"
                                 " border-radius: 8px; padding: 6px 12px; }"
                                 "QToolButton::menu-indicator { subcontrol-position: right center; }"));
    showSelectedOption();
    rebuildMenu();
}

// The face shows the option; a screen reader hears the label with it, as
// the menu's own name ("Interface: UIKit").
void DropDownMenu::showSelectedOption()
{
    setText(m_selectedOption);
    setAccessibleName(m_label + QStringLiteral(": ") + m_selectedOption);
}

void DropDownMenu::setOptions(const QStringList &options)
{
    m_options = options;
    rebuildMenu();
}

void DropDownMenu::setSelectedOption(const QString &option)
{
    if (m_selectedOption == option)
        return;
    m_selectedOption = option;
    showSelectedOption();
    Q_EMIT selectedOptionChanged(option);
}

void DropDownMenu::rebuildMenu()
{
    menu()->clear();
    for (const QString &option : m_options) {
        QAction *action = menu()->addAction(option);
        connect(action, &QAction::triggered, this, [this, option] { setSelectedOption(option); });
    }
}

} // namespace plinth
