#pragma once

#include <QString>
#include <QStringList>

#include <functional>

namespace plinth {

/// How a view model shows an alert without knowing about windows: the UI
/// implements it with a window-modal alert on the application panel, tests
/// with a fake that records the alert and answers it.
class AlertPresenter
{
public:
    virtual ~AlertPresenter() = default;

    /// Shows `title` and `message` with one "OK" button and, when `options`
    /// is not empty, a pop-up list of them with the first preselected. When
    /// the alert closes, `completion` (if set) receives the chosen option, or
    /// the empty text when there were none. Returns at once.
    virtual void showAlert(const QString &title, const QString &message, const QStringList &options,
                           std::function<void(const QString &chosen)> completion) = 0;

    /// Shows `title` and `message` with one button per entry of `buttons`.
    /// The first is the default and the answer when the alert is closed
    /// otherwise (Escape), so it should be the safe one. When the alert
    /// closes, `completion` receives the index of the button. Returns at once.
    virtual void askQuestion(const QString &title, const QString &message, const QStringList &buttons,
                             std::function<void(int chosen)> completion) = 0;
};

} // namespace plinth
