#pragma once

#include <QByteArray>
#include <QObject>
#include <QString>
#include <QStringList>
#include <QTimer>

#include <sys/types.h>

class QSocketNotifier;

namespace plinth {

/// A child process on its own pseudo-terminal (forkpty): the child's
/// standard input, output and error are the terminal, and it leads a new
/// session with that terminal as its controlling terminal. Reading happens
/// on the main thread through a socket notifier; the pty master is
/// non-blocking, so neither reading nor writing ever waits.
class PtyProcess : public QObject
{
    Q_OBJECT

public:
    explicit PtyProcess(QObject *parent = nullptr);
    /// Hangs up on a child that still runs and reaps it off the main thread.
    ~PtyProcess() override;

    /// The environment a shell gets when none is given: this process's
    /// environment with TERM=xterm-256color and COLORTERM=truecolor, and a
    /// UTF-8 character set when the locale names none.
    static QStringList defaultEnvironment();

    /// The shell to run as a login shell: /bin/zsh; where there is none (as
    /// on most Linux machines) the user's shell from $SHELL or the user
    /// database, and /bin/sh as the last resort, so the terminal always gets
    /// a working shell.
    static QString loginShell();

    /// Starts `program` with `arguments`, `environment` ("NAME=value"
    /// entries; the default environment when empty), `argumentZero` (the
    /// program path when empty) and a terminal of `rows` by `columns`, in
    /// this process's current directory. Answers false, with errorString()
    /// set, when the pty or the process cannot be made; a program that
    /// cannot be executed is reported by the child on the terminal and ends
    /// with exit code 127.
    bool start(const QString &program, const QStringList &arguments, const QStringList &environment,
               const QString &argumentZero, int rows, int columns);

    bool isRunning() const { return m_pid > 0; }
    pid_t processId() const { return m_pid; }
    QString errorString() const { return m_errorString; }
    /// The exit code given with finished().
    int exitCode() const { return m_exitCode; }

    /// Sends `bytes` to the child as typed input. Bytes the terminal cannot
    /// take at once are queued and sent as it drains; after the child has
    /// ended they are dropped.
    void write(const QByteArray &bytes);

    /// Tells the terminal and the child (SIGWINCH) its new size.
    void resize(int rows, int columns);

signals:
    void readyRead(const QByteArray &bytes);
    /// The child has ended and everything it wrote has been read.
    /// `exitCode` is its exit status, or 128 plus the signal that ended it.
    void finished(int exitCode);

private:
    void readAvailable();
    void writePending();
    void closeMaster();
    void reap();

    int m_master = -1;
    pid_t m_pid = -1;
    QSocketNotifier *m_readNotifier = nullptr;
    QSocketNotifier *m_writeNotifier = nullptr;
    QByteArray m_pendingWrite;
    QTimer m_reapTimer;
    int m_exitCode = 0;
    QString m_errorString;
};

} // namespace plinth
