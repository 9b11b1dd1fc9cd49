#pragma once

#include <QString>
#include <QStringList>

namespace plinth {

/// Writes `text` as one line to standard error in debug form (quoted, with
/// escapes), the one place every diagnostic of the program goes to. In the
/// plain form the text goes out as it is, with one line break at its end.
void debugConsole(const QString &text);

/// How debugConsole writes: in debug form (the window's console, the
/// default), or plain, as a command-line tool prints its lines.
enum class ConsoleForm { debug, plain };
void setConsoleForm(ConsoleForm form);

/// The debug form of `text`: what debugConsole writes for it.
QString debugForm(const QString &text);

/// While alive, records every line given to debugConsole (from any thread), as
/// given, for tests to assert on. Lines still reach standard error. Captures
/// nest; each sees the lines written during its own lifetime.
class ConsoleCapture
{
public:
    enum class Threads { all, creatingThreadOnly };

    /// `creatingThreadOnly` records only the lines written on the thread that
    /// made the capture (a worker that wants the lines of its own step).
    explicit ConsoleCapture(Threads threads = Threads::all);
    ~ConsoleCapture();
    ConsoleCapture(const ConsoleCapture &) = delete;
    ConsoleCapture &operator=(const ConsoleCapture &) = delete;

    QStringList lines() const;

private:
    friend void debugConsole(const QString &text);
    void append(const QString &line);

    QStringList m_lines;
    const void *m_thread = nullptr; ///< the only thread recorded, or null for all
};

} // namespace plinth
