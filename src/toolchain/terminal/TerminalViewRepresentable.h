#pragma once

#include "toolchain/terminal/TerminalView.h"

#include <QPointer>
#include <QString>
#include <QWidget>

namespace plinth {

/// The embedded terminal as the screens place it in their layouts: when it is
/// first shown it starts the user's login shell in a terminal in the home
/// directory and, two seconds later, types `command` into it through the
/// clipboard. A command that ends in a carriage return runs. Nothing is read
/// back: whatever happens is visible only in the terminal, which keeps
/// showing its last output after the shell has ended and then says that it
/// has ended, with its exit status.
class TerminalViewRepresentable : public QWidget
{
    Q_OBJECT

public:
    /// The delay between starting the shell and typing the command.
    static constexpr int commandDelayMilliseconds = 2000;

    /// `command` is fixed for the element's life; another command needs a
    /// new element. `shell` is the program the terminal runs, as a login
    /// shell; empty means PtyProcess::loginShell().
    explicit TerminalViewRepresentable(const QString &command, QWidget *parent = nullptr,
                                       const QString &shell = QString());

    QString command() const { return m_command; }
    /// The terminal, or null until the element has first been shown.
    TerminalView *terminal() const { return m_terminal; }

protected:
    void showEvent(QShowEvent *event) override;

private:
    void load();
    void sendCommand();

    const QString m_command;
    const QString m_shell;
    QPointer<TerminalView> m_terminal;
};

} // namespace plinth
