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
    void askQuestion(const QString &title, const QString &message, const QStringList &buttons,
                     std::function<void(int)> completion) override
    {
        shown << title + QLatin1Char('|') + message;
        options << buttons;
        pendingQuestion = std::move(completion);
    }
    /// The user presses button `index` of the open question.
    void answer(int index)
    {
        auto completion = std::exchange(pendingQuestion, nullptr);
        if (completion)
            completion(index);
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
        pendingQuestion = nullptr;
    }

    QStringList shown;
    QList<QStringList> options;
    std::function<void(const QString &)> pending;
    std::function<void(int)> pendingQuestion;
};

} // namespace plinth::test
