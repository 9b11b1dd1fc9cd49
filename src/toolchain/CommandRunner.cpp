#include "toolchain/CommandRunner.h"

#include "app/base/DebugConsole.h"
#include "toolchain/AppleScripts.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QProcess>
#include <QProcessEnvironment>
#include <QThread>

#include <algorithm>
#include <climits>
#include <cstdio>

#ifdef Q_OS_UNIX
#include <pwd.h>
#include <signal.h>
#include <unistd.h>

#include <vector>
#endif

namespace plinth {

namespace {

void assertNotOnMainThread()
{
    Q_ASSERT_X(!QCoreApplication::instance() || QThread::currentThread() != QCoreApplication::instance()->thread(),
               "CommandRunner", "a toolchain call blocks until its child has ended; call it on a worker thread");
}

struct ProcessRun
{
    bool started = false;
    bool crashed = false;
    bool timedOut = false;
    QByteArray output;
    int exitCode = -1;
    /// The runner's own line about a signal or the time-out; empty otherwise.
    QString note;
};

QString secondsText(std::chrono::milliseconds duration)
{
    return QString::number(static_cast<double>(duration.count()) / 1000.0);
}

enum class Session {
    /// The child leads a session of its own: at the limit its whole process
    /// group is killed, so the commands a shell started die with it.
    own,
    /// The child stays in the caller's process group, so it keeps the
    /// terminal and a Ctrl-C typed there reaches it; at the limit only the
    /// child itself is killed.
    callers,
};

// Starts the prepared `process` and waits for it for at most `limit`.
// QProcess keeps draining the output pipe while it waits, so a child writing
// more than a pipe buffer never blocks.
ProcessRun runToEnd(QProcess &process, std::chrono::milliseconds limit, Session session = Session::own)
{
    assertNotOnMainThread();
#ifdef Q_OS_UNIX
    if (session == Session::own)
        process.setChildProcessModifier([] { ::setsid(); });
#endif
    process.start();
    if (!process.waitForStarted(-1)) {
        debugConsole(QStringLiteral("Failed to launch process: ") + process.errorString());
        return {};
    }
    ProcessRun result;
    result.started = true;
    const qint64 waitMilliseconds = std::max<qint64>(limit.count(), 0);
    const bool endedInTime = process.waitForFinished(int(std::min<qint64>(waitMilliseconds, INT_MAX)))
                             || process.state() == QProcess::NotRunning;
    if (!endedInTime) {
#ifdef Q_OS_UNIX
        // The child has not been reaped (this thread has not waited for it
        // since), so its id still names its process group.
        if (session == Session::own)
            ::kill(-static_cast<pid_t>(process.processId()), SIGKILL);
#endif
        process.kill();
        process.waitForFinished(-1);
        result.timedOut = true;
        result.note = (session == Session::own ? QStringLiteral("The command timed out after %1 seconds and was "
                                                                "stopped, with every process it had started.")
                                               : QStringLiteral("The command timed out after %1 seconds and was "
                                                                "stopped."))
                          .arg(secondsText(limit));
    }
    result.crashed = process.exitStatus() == QProcess::CrashExit;
    // For a child killed by a signal this is the signal's number.
    result.exitCode = result.timedOut ? -1 : process.exitCode();
    if (result.crashed && !result.timedOut)
        result.note = QStringLiteral("The command was killed by signal %1.").arg(process.exitCode());
    if (!result.note.isEmpty())
        debugConsole(result.note);
    return result;
}

ProcessRun run(const QString &program, const QString &commandLine, const QString &option,
               const QProcessEnvironment &environment, QProcess::ProcessChannelMode channels,
               std::chrono::milliseconds limit)
{
    QProcess process;
    process.setProgram(program);
    process.setArguments({option, commandLine});
    process.setProcessEnvironment(environment);
    process.setProcessChannelMode(channels);
    process.setStandardInputFile(QProcess::nullDevice());
    ProcessRun result = runToEnd(process, limit);
    if (result.started)
        result.output = process.readAllStandardOutput();
    return result;
}

QString decoded(const QByteArray &bytes)
{
    // QString::fromUtf8 replaces every invalid sequence with U+FFFD.
    return QString::fromUtf8(bytes);
}

// A command line run with `shell` -c, with PATH set to `searchPath`.
ProcessRun runCommand(const QString &shell, const QString &searchPath, const QString &commandLine,
                      std::chrono::milliseconds limit)
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("PATH"), searchPath);
    return run(shell, commandLine, QStringLiteral("-c"), environment, QProcess::MergedChannels, limit);
}

ScriptResult scriptResult(const ProcessRun &run)
{
    ScriptResult result{decoded(run.output), run.started ? run.exitCode : -1, run.timedOut};
    if (!run.note.isEmpty()) {
        if (!result.output.isEmpty() && !result.output.endsWith(QLatin1Char('\n')))
            result.output += QLatin1Char('\n');
        result.output += run.note + QLatin1Char('\n');
    }
    return result;
}

} // namespace

QString toolchainSearchPathFor(const QString &loginName)
{
    const QString home = QStringLiteral("/Users/") + loginName;
    const QString rvmRuby = QStringLiteral("/.rvm/gems/ruby-3.0.0/bin ") + home
                            + QStringLiteral("/.rvm/gems/ruby-3.0.0@global/bin ") + home
                            + QStringLiteral("/.rvm/rubies/ruby-3.0.0/bin ");
    QString text = home + rvmRuby + home + QStringLiteral("/.rbenv/shims ") + home
                   + QStringLiteral("/.rbenv/bin /opt/homebrew/bin ") + home + rvmRuby
                   + QStringLiteral("/usr/local/bin /System/Cryptexes/App/usr/bin /usr/bin /bin /usr/sbin /sbin "
                                    "/var/run/com.apple.security.cryptexd/codex.system/bootstrap/usr/local/bin "
                                    "/var/run/com.apple.security.cryptexd/codex.system/bootstrap/usr/bin "
                                    "/var/run/com.apple.security.cryptexd/codex.system/bootstrap/usr/appleinternal/bin "
                                    "/Library/Apple/usr/bin ")
                   + home + QStringLiteral("/.rvm/bin");
    return text.replace(QLatin1Char(' '), QLatin1Char(':'));
}

QString currentLoginName()
{
#ifdef Q_OS_UNIX
    long size = sysconf(_SC_GETPW_R_SIZE_MAX);
    std::vector<char> buffer(size > 0 ? static_cast<size_t>(size) : 16384);
    passwd entry{};
    passwd *found = nullptr;
    if (getpwuid_r(geteuid(), &entry, buffer.data(), buffer.size(), &found) == 0 && found && found->pw_name)
        return QString::fromLocal8Bit(found->pw_name);
#endif
    const QString user = qEnvironmentVariable("USER");
    return user.isEmpty() ? qEnvironmentVariable("USERNAME") : user;
}

std::chrono::milliseconds TimeLimits::of(TimeLimit limit) const
{
    switch (limit) {
    case TimeLimit::probe:
        return probe;
    case TimeLimit::generation:
        return generation;
    case TimeLimit::installation:
        break;
    }
    return installation;
}

CommandRunner::CommandRunner(const Launchers &launchers)
    : m_launchers(launchers)
{
}

QString CommandRunner::toolchainSearchPath() const
{
    return m_searchPath ? *m_searchPath : toolchainSearchPathFor(currentLoginName());
}

QString CommandRunner::executeCommand(const QString &commandLine, TimeLimit limit) const
{
    const ProcessRun result =
        runCommand(m_launchers.commandShell, toolchainSearchPath(), commandLine, m_limits.of(limit));
    // A probe that hung found nothing, whatever it printed before.
    return result.timedOut ? QString() : decoded(result.output);
}

ScriptResult CommandRunner::executeCommandWithStatus(const QString &commandLine, TimeLimit limit) const
{
    return scriptResult(runCommand(m_launchers.commandShell, toolchainSearchPath(), commandLine, m_limits.of(limit)));
}

ScriptResult CommandRunner::executeScripts(const QString &commandLine, TimeLimit limit) const
{
    QProcessEnvironment environment;
    environment.insert(QStringLiteral("LANG"), QStringLiteral("en_US.UTF-8"));
    // The toolchain search path, as for commands: the Ruby that runs the
    // scripts (AddModulesInTarget.rb among them) is the one the prerequisite
    // check asks for the xcodeproj gem, the user's rvm or rbenv Ruby before
    // Homebrew's and the system's.
    environment.insert(QStringLiteral("PATH"), toolchainSearchPath());
    return scriptResult(run(m_launchers.scriptShell, commandLine, QStringLiteral("-c"), environment,
                            QProcess::MergedChannels, m_limits.of(limit)));
}

AppleScriptResult CommandRunner::executeAppleScript(const AppleScripts &appleScript, TimeLimit limit) const
{
    const QFileInfo osascript(m_launchers.appleScript);
    const bool hasOsascript = osascript.isFile() && osascript.isExecutable();
    const ProcessRun result = hasOsascript
        ? run(m_launchers.appleScript, appleScript.scriptText(), QStringLiteral("-e"),
              QProcessEnvironment::systemEnvironment(), QProcess::ForwardedErrorChannel, m_limits.of(limit))
        : run(m_launchers.bash, appleScript.command(), QStringLiteral("-c"),
              QProcessEnvironment::systemEnvironment(), QProcess::ForwardedErrorChannel, m_limits.of(limit));
    return {decoded(result.output).trimmed(), result.started && !result.crashed && result.exitCode == 0};
}

ScriptResult CommandRunner::executeInForeground(const QString &commandLine, TimeLimit limit) const
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    const QString inherited = environment.value(QStringLiteral("PATH"));
    environment.insert(QStringLiteral("PATH"),
                       inherited.isEmpty() ? toolchainSearchPath() : toolchainSearchPath() + QLatin1Char(':') + inherited);
    QProcess process;
    process.setProgram(m_launchers.commandShell);
    process.setArguments({QStringLiteral("-c"), commandLine});
    process.setProcessEnvironment(environment);
    process.setProcessChannelMode(QProcess::ForwardedChannels);
    process.setInputChannelMode(QProcess::ForwardedInputChannel);
    const ProcessRun result = runToEnd(process, m_limits.of(limit), Session::callers);
    if (!result.note.isEmpty())
        fprintf(stderr, "%s\n", qPrintable(result.note));
    return {result.note.isEmpty() ? QString() : result.note + QLatin1Char('\n'),
            result.started && !result.crashed ? result.exitCode : -1, result.timedOut};
}

} // namespace plinth
