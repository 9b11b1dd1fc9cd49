#include "toolchain/terminal/PtyProcess.h"

#include <QFileInfo>
#include <QProcessEnvironment>
#include <QSocketNotifier>

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstring>
#include <thread>
#include <vector>

#include <fcntl.h>
#include <pwd.h>
#include <sys/ioctl.h>
#include <sys/wait.h>
#include <unistd.h>
#if defined(Q_OS_MACOS)
#include <util.h>
#else
#include <pty.h>
#endif

namespace plinth {

namespace {

constexpr int reapIntervalMilliseconds = 200;

bool isExecutableFile(const QString &path)
{
    const QFileInfo info(path);
    return info.isAbsolute() && info.isFile() && info.isExecutable();
}

bool namesUtf8(const QString &locale)
{
    return locale.contains(QLatin1String("UTF-8"), Qt::CaseInsensitive)
        || locale.contains(QLatin1String("utf8"), Qt::CaseInsensitive);
}

/// Owns the NUL-terminated copies of a list of strings and the pointer
/// array execve wants, all made before fork so the child allocates nothing.
class CStringArray
{
public:
    explicit CStringArray(const QStringList &strings)
    {
        for (const QString &string : strings)
            m_storage.push_back(string.toLocal8Bit());
        for (const QByteArray &bytes : m_storage)
            m_pointers.push_back(const_cast<char *>(bytes.constData()));
        m_pointers.push_back(nullptr);
    }

    char **data() { return m_pointers.data(); }

private:
    std::vector<QByteArray> m_storage;
    std::vector<char *> m_pointers;
};

/// Waits for `pid` to end, hanging up on it first and killing it when it
/// does not end within two seconds. Runs on a thread of its own.
void hangUpAndReap(pid_t pid)
{
    kill(-pid, SIGHUP);
    kill(-pid, SIGCONT);
    for (int attempt = 0; attempt < 100; ++attempt) {
        if (waitpid(pid, nullptr, WNOHANG) != 0)
            return;
        usleep(20 * 1000);
    }
    kill(-pid, SIGKILL);
    kill(pid, SIGKILL);
    while (waitpid(pid, nullptr, 0) < 0 && errno == EINTR) {
    }
}

} // namespace

PtyProcess::PtyProcess(QObject *parent)
    : QObject(parent)
{
    m_reapTimer.setInterval(reapIntervalMilliseconds);
    connect(&m_reapTimer, &QTimer::timeout, this, &PtyProcess::reap);
}

PtyProcess::~PtyProcess()
{
    closeMaster();
    if (m_pid > 0) {
        const pid_t pid = m_pid;
        std::thread(hangUpAndReap, pid).detach();
    }
}

QStringList PtyProcess::defaultEnvironment()
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("TERM"), QStringLiteral("xterm-256color"));
    environment.insert(QStringLiteral("COLORTERM"), QStringLiteral("truecolor"));
#if defined(Q_OS_MACOS)
    const QString utf8Locale = QStringLiteral("en_US.UTF-8");
#else
    const QString utf8Locale = QStringLiteral("C.UTF-8");
#endif
    const QString all = environment.value(QStringLiteral("LC_ALL"));
    if (!all.isEmpty()) {
        if (!namesUtf8(all))
            environment.insert(QStringLiteral("LC_ALL"), utf8Locale);
    } else {
        QString characterSet = environment.value(QStringLiteral("LC_CTYPE"));
        if (characterSet.isEmpty())
            characterSet = environment.value(QStringLiteral("LANG"));
        if (!namesUtf8(characterSet))
            environment.insert(QStringLiteral("LC_CTYPE"), utf8Locale);
    }
    return environment.toStringList();
}

QString PtyProcess::loginShell()
{
    const QString zsh = QStringLiteral("/bin/zsh");
    if (isExecutableFile(zsh))
        return zsh;
    const QString fromEnvironment = qEnvironmentVariable("SHELL");
    if (isExecutableFile(fromEnvironment))
        return fromEnvironment;
    if (const passwd *entry = getpwuid(getuid()); entry && entry->pw_shell) {
        const QString fromUserDatabase = QString::fromLocal8Bit(entry->pw_shell);
        if (isExecutableFile(fromUserDatabase))
            return fromUserDatabase;
    }
    return QStringLiteral("/bin/sh");
}

bool PtyProcess::start(const QString &program, const QStringList &arguments, const QStringList &environment,
                       const QString &argumentZero, int rows, int columns)
{
    if (m_pid > 0 || m_master >= 0) {
        m_errorString = QStringLiteral("the process has already been started");
        return false;
    }
    const QByteArray path = program.toLocal8Bit();
    CStringArray argv(QStringList{argumentZero.isEmpty() ? program : argumentZero} + arguments);
    CStringArray envp(environment.isEmpty() ? defaultEnvironment() : environment);
    const QByteArray failure = QByteArray("cannot run ") + path + ": ";

    winsize size{};
    size.ws_row = static_cast<unsigned short>(std::max(rows, 1));
    size.ws_col = static_cast<unsigned short>(std::max(columns, 1));

    int master = -1;
    const pid_t pid = forkpty(&master, nullptr, nullptr, &size);
    if (pid < 0) {
        m_errorString = QString::fromLocal8Bit(std::strerror(errno));
        return false;
    }
    if (pid == 0) {
        // The child: only async-signal-safe calls from here on. Signal
        // dispositions and the mask are inherited from this program; the
        // shell expects the defaults.
        struct sigaction defaultAction {};
        defaultAction.sa_handler = SIG_DFL;
        for (int signal : {SIGCHLD, SIGHUP, SIGINT, SIGQUIT, SIGTERM, SIGPIPE, SIGALRM, SIGTSTP, SIGTTIN, SIGTTOU})
            sigaction(signal, &defaultAction, nullptr);
        sigset_t none;
        sigemptyset(&none);
        sigprocmask(SIG_SETMASK, &none, nullptr);
        execve(path.constData(), argv.data(), envp.data());
        const char *reason = std::strerror(errno);
        (void)!::write(STDERR_FILENO, failure.constData(), size_t(failure.size()));
        (void)!::write(STDERR_FILENO, reason, std::strlen(reason));
        (void)!::write(STDERR_FILENO, "\r\n", 2);
        _exit(127);
    }

    m_pid = pid;
    m_master = master;
    fcntl(m_master, F_SETFL, fcntl(m_master, F_GETFL) | O_NONBLOCK);
    fcntl(m_master, F_SETFD, fcntl(m_master, F_GETFD) | FD_CLOEXEC);
    m_readNotifier = new QSocketNotifier(m_master, QSocketNotifier::Read, this);
    connect(m_readNotifier, &QSocketNotifier::activated, this, &PtyProcess::readAvailable);
    m_writeNotifier = new QSocketNotifier(m_master, QSocketNotifier::Write, this);
    m_writeNotifier->setEnabled(false);
    connect(m_writeNotifier, &QSocketNotifier::activated, this, &PtyProcess::writePending);
    m_reapTimer.start();
    return true;
}

void PtyProcess::write(const QByteArray &bytes)
{
    if (m_master < 0 || m_pid <= 0)
        return;
    m_pendingWrite += bytes;
    writePending();
}

void PtyProcess::writePending()
{
    while (m_master >= 0 && !m_pendingWrite.isEmpty()) {
        const ssize_t written = ::write(m_master, m_pendingWrite.constData(), size_t(m_pendingWrite.size()));
        if (written > 0) {
            m_pendingWrite.remove(0, qsizetype(written));
        } else if (written < 0 && errno == EINTR) {
            continue;
        } else {
            if (written < 0 && errno != EAGAIN && errno != EWOULDBLOCK)
                m_pendingWrite.clear(); // the terminal is gone
            break;
        }
    }
    if (m_writeNotifier)
        m_writeNotifier->setEnabled(m_master >= 0 && !m_pendingWrite.isEmpty());
}

void PtyProcess::resize(int rows, int columns)
{
    if (m_master < 0)
        return;
    winsize size{};
    size.ws_row = static_cast<unsigned short>(std::max(rows, 1));
    size.ws_col = static_cast<unsigned short>(std::max(columns, 1));
    ioctl(m_master, TIOCSWINSZ, &size);
}

void PtyProcess::readAvailable()
{
    QByteArray received;
    bool closed = false;
    char buffer[16384];
    while (m_master >= 0) {
        const ssize_t count = ::read(m_master, buffer, sizeof buffer);
        if (count > 0) {
            received.append(buffer, qsizetype(count));
            continue;
        }
        if (count < 0 && errno == EINTR)
            continue;
        // EAGAIN: drained for now. End of file, or EIO on Linux: every
        // holder of the terminal's other side has closed it.
        closed = count == 0 || (errno != EAGAIN && errno != EWOULDBLOCK);
        break;
    }
    if (!received.isEmpty())
        emit readyRead(received);
    if (closed) {
        closeMaster();
        reap();
    }
}

void PtyProcess::closeMaster()
{
    delete m_readNotifier;
    m_readNotifier = nullptr;
    delete m_writeNotifier;
    m_writeNotifier = nullptr;
    m_pendingWrite.clear();
    if (m_master >= 0) {
        ::close(m_master);
        m_master = -1;
    }
}

void PtyProcess::reap()
{
    if (m_pid <= 0)
        return;
    int status = 0;
    pid_t result;
    do {
        result = waitpid(m_pid, &status, WNOHANG);
    } while (result < 0 && errno == EINTR);
    if (result == 0)
        return;
    m_reapTimer.stop();
    m_pid = -1;
    if (result > 0)
        m_exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    else
        m_exitCode = 255; // reaped elsewhere; its status is unknown
    // What the child wrote before it ended is waiting in the terminal.
    if (m_master >= 0)
        readAvailable();
    emit finished(m_exitCode);
}

} // namespace plinth
