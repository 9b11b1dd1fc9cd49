#pragma once

#include "app/base/AlertPresenter.h"
#include "app/base/Desktop.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <functional>
#include <utility>

namespace plinth::test {

/// Records what a view model opens and whether it quit the application.
class FakeDesktop : public Desktop
{
public:
    bool openFile(const QString &path) override
    {
        opened << path;
        return canOpen;
    }
    void quit() override { ++quits; }

    bool canOpen = true;
    QStringList opened;
    int quits = 0;
};

/// Records every alert ("title|message", and its options) and keeps the last
/// one open until the test answers it.
class FakeAlerts : public AlertPresenter
{
public:
    void showAlert(const QString &title, const QString &message, const QStringList &alertOptions,
                   std::function<void(const QString &)> completion) override
    {
        shown << title + QLatin1Char('|') + message;
        options << alertOptions;
        pending = std::move(completion);
    }
    /// The user presses OK with `chosen` selected in the pop-up list.
    void dismiss(const QString &chosen = {})
    {
        auto completion = std::exchange(pending, nullptr);
        if (completion)
            completion(chosen);
    }
    void reset()
    {
        shown.clear();
        options.clear();
        pending = nullptr;
    }

    QStringList shown;
    QList<QStringList> options;
    std::function<void(const QString &)> pending;
};

} // namespace plinth::test
