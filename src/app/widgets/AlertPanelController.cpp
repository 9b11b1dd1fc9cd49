#include "app/widgets/AlertPanelController.h"

#include "app/widgets/CustomNSPanel.h"
#include "app/widgets/ScreenStack.h"

#include <QComboBox>
#include <QDialog>
#include <QDialogButtonBox>
#include <QLabel>
#include <QPushButton>
#include <QStyle>
#include <QVBoxLayout>

namespace plinth {

namespace {

std::function<QWidget *()> &firstScreenFactory()
{
    static std::function<QWidget *()> factory;
    return factory;
}

} // namespace

void AlertPanelController::setFirstScreenFactory(std::function<QWidget *()> factory)
{
    firstScreenFactory() = std::move(factory);
}

AlertPanelController &AlertPanelController::shared()
{
    static AlertPanelController *controller = new AlertPanelController;
    return *controller;
}

AlertPanelController::AlertPanelController()
    : m_panel(new CustomNSPanel)
{
    m_panel->setAttribute(Qt::WA_DeleteOnClose, false);
    auto *stack = new ScreenStack(firstScreenFactory(), m_panel);
    m_panel->setScreenStack(stack);
    stack->pushFirstScreen();
    m_panel->centreOnPrimaryScreen();
}

QDialog *AlertPanelController::makeAlert(const QString &title, const QString &message)
{
    auto *dialog = new QDialog(m_panel, Qt::Sheet);
    dialog->setObjectName(QStringLiteral("alert"));
    dialog->setWindowModality(Qt::WindowModal);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    dialog->setWindowTitle(title);
    dialog->setMinimumWidth(320);

    auto *layout = new QVBoxLayout(dialog);
    layout->setContentsMargins(24, 20, 24, 16);
    layout->setSpacing(10);
    auto *icon = new QLabel(dialog);
    icon->setPixmap(dialog->style()->standardIcon(QStyle::SP_MessageBoxInformation).pixmap(40, 40));
    layout->addWidget(icon);
    auto *titleLabel = new QLabel(title, dialog);
    titleLabel->setObjectName(QStringLiteral("alertTitle"));
    QFont bold = titleLabel->font();
    bold.setBold(true);
    titleLabel->setFont(bold);
    titleLabel->setWordWrap(true);
    layout->addWidget(titleLabel);
    auto *messageLabel = new QLabel(message, dialog);
    messageLabel->setObjectName(QStringLiteral("alertMessage"));
    messageLabel->setTextFormat(Qt::PlainText); // names of files and folders, never markup
    messageLabel->setWordWrap(true);
    layout->addWidget(messageLabel);
    // The keyboard goes back to the panel, to the control it was on.
    connect(dialog, &QDialog::finished, m_panel, [panel = m_panel] { panel->activateWindow(); });
    m_alert = dialog;
    return dialog;
}

void AlertPanelController::showAlert(const QString &title, const QString &message, const QStringList &options,
                                     std::function<void(const QString &chosen)> completion)
{
    QDialog *dialog = makeAlert(title, message);
    QComboBox *list = nullptr;
    if (!options.isEmpty()) {
        list = new QComboBox(dialog);
        list->setObjectName(QStringLiteral("alertOptions"));
        list->addItems(options);
        list->setCurrentIndex(0);
        list->setFixedSize(200, 24);
        dialog->layout()->addWidget(list);
    }

    auto *buttons = new QDialogButtonBox(dialog);
    QPushButton *ok = buttons->addButton(QStringLiteral("OK"), QDialogButtonBox::AcceptRole);
    ok->setObjectName(QStringLiteral("alertOK"));
    ok->setDefault(true);
    dialog->layout()->addWidget(buttons);
    connect(buttons, &QDialogButtonBox::accepted, dialog, &QDialog::accept);

    // Whatever closes the alert (OK, Escape, the window going away), the
    // completion hears the chosen option once.
    connect(dialog, &QDialog::finished, dialog, [list, completion] {
        if (completion)
            completion(list ? list->currentText() : QString());
    });
    dialog->open();
}

void AlertPanelController::askQuestion(const QString &title, const QString &message, const QStringList &buttons,
                                       std::function<void(int chosen)> completion)
{
    QDialog *dialog = makeAlert(title, message);
    auto *row = new QDialogButtonBox(dialog);
    for (int i = 0; i < buttons.size(); ++i) {
        QPushButton *button = row->addButton(buttons.at(i), QDialogButtonBox::ActionRole);
        button->setObjectName(QStringLiteral("alertButton%1").arg(i));
        button->setDefault(i == 0);
        // The result is the button's index plus one; 0 (rejected: Escape,
        // the window going away) answers the first button.
        connect(button, &QPushButton::clicked, dialog, [dialog, i] { dialog->done(i + 1); });
    }
    dialog->layout()->addWidget(row);
    connect(dialog, &QDialog::finished, dialog, [completion](int result) {
        if (completion)
            completion(result > 0 ? result - 1 : 0);
    });
    dialog->open();
    if (!buttons.isEmpty())
        row->buttons().constFirst()->setFocus();
}

} // namespace plinth
