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

void AlertPanelController::showAlert(const QString &title, const QString &message, const QStringList &options,
                                     std::function<void(const QString &chosen)> completion)
{
    auto *dialog = new QDialog(m_panel, Qt::Sheet);
    dialog->setObjectName(QStringLiteral("alert"));
    dialog->setWindowModality(Qt::WindowModal);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    dialog->setWindowTitle(title);

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
    messageLabel->setWordWrap(true);
    layout->addWidget(messageLabel);

    QComboBox *list = nullptr;
    if (!options.isEmpty()) {
        list = new QComboBox(dialog);
        list->setObjectName(QStringLiteral("alertOptions"));
        list->addItems(options);
        list->setCurrentIndex(0);
        list->setFixedSize(200, 24);
        layout->addWidget(list);
    }

    auto *buttons = new QDialogButtonBox(dialog);
    QPushButton *ok = buttons->addButton(QStringLiteral("OK"), QDialogButtonBox::AcceptRole);
    ok->setObjectName(QStringLiteral("alertOK"));
    ok->setDefault(true);
    layout->addWidget(buttons);
    connect(buttons, &QDialogButtonBox::accepted, dialog, &QDialog::accept);

    // Whatever closes the alert (OK, Escape, the window going away), the
    // completion hears the chosen option once.
    connect(dialog, &QDialog::finished, dialog, [list, completion] {
        if (completion)
            completion(list ? list->currentText() : QString());
    });
    m_alert = dialog;
    dialog->setMinimumWidth(320);
    dialog->open();
}

} // namespace plinth
