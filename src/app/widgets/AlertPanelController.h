#pragma once

#include "app/base/AlertPresenter.h"

#include <QObject>
#include <QPointer>

#include <functional>

#include <QDialog>

namespace plinth {

class CustomNSPanel;

/// Owns the application panel and shows every alert of the application as a
/// window-modal dialog on it: the title, the message, and one "OK" button
/// with, when options are given, a pop-up list of them, or the buttons of a
/// question.
class AlertPanelController : public QObject, public AlertPresenter
{
    Q_OBJECT

public:
    /// The first screen of the application, made fresh for the panel and for
    /// every return to the start. Set once by start-up before first use.
    static void setFirstScreenFactory(std::function<QWidget *()> factory);

    /// The one controller of the process, made (with its panel showing the
    /// first screen) on first use.
    static AlertPanelController &shared();

    CustomNSPanel *applicationWindow() const { return m_panel; }

    void showAlert(const QString &title, const QString &message, const QStringList &options,
                   std::function<void(const QString &chosen)> completion) override;
    void askQuestion(const QString &title, const QString &message, const QStringList &buttons,
                     std::function<void(int chosen)> completion) override;

    /// The alert currently shown, if any (for tests and the screen flow).
    QDialog *currentAlert() const { return m_alert; }

private:
    AlertPanelController();
    /// A window-modal alert on the panel with the title and message, laid
    /// out for its buttons to follow; it becomes the current alert.
    QDialog *makeAlert(const QString &title, const QString &message);

    CustomNSPanel *m_panel;
    QPointer<QDialog> m_alert;
};

/// The alert presenter of the running program: shows each alert on the
/// shared panel, which it makes on first use (not before, so that it can be
/// handed to the screens while the panel is being made).
class SharedPanelAlerts : public AlertPresenter
{
public:
    void showAlert(const QString &title, const QString &message, const QStringList &options,
                   std::function<void(const QString &chosen)> completion) override
    {
        AlertPanelController::shared().showAlert(title, message, options, std::move(completion));
    }
    void askQuestion(const QString &title, const QString &message, const QStringList &buttons,
                     std::function<void(int chosen)> completion) override
    {
        AlertPanelController::shared().askQuestion(title, message, buttons, std::move(completion));
    }
};

} // namespace plinth
