#include "toolchain/CommandRunner.h"

#include "app/DebugConsole.h"
#include "toolchain/AppleScripts.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QProcess>
#include <QProcessEnvironment>
#include <QThread>

#ifdef Q_OS_UNIX
#include <pwd.h>
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
    QByteArray output;
    int exitCode = -1;
};

// Starts `program`, reads its output channel until the child has ended and
// returns what it read. QProcess keeps draining the pipe while it waits, so
// a child writing more than a pipe buffer never blocks.
ProcessRun run(const QString &program, const QString &commandLine, const QString &option,
               const QProcessEnvironment &environment, QProcess::ProcessChannelMode channels)
{
    assertNotOnMainThread();
    QProcess process;
    process.setProgram(program);
    process.setArguments({option, commandLine});
    process.setProcessEnvironment(environment);
    process.setProcessChannelMode(channels);
    process.setStandardInputFile(QProcess::nullDevice());
    process.start();
    if (!process.waitForStarted(-1)) {
        debugConsole(QStringLiteral("Failed to launch process: ") + process.errorString());
        return {};
    }
    process.waitForFinished(-1);
    ProcessRun result;
    result.started = true;
    result.crashed = process.exitStatus() == QProcess::CrashExit;
    result.output = process.readAllStandardOutput();
    // For a child killed by a signal this is the signal's number.
    result.exitCode = process.exitCode();
    return result;
}

QString decoded(const QByteArray &bytes)
{
    // QString::fromUtf8 replaces every invalid sequence with U+FFFD.
    return QString::fromUtf8(bytes);
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

CommandRunner::CommandRunner(const Launchers &launchers)
    : m_launchers(launchers)
{
}

QString CommandRunner::toolchainSearchPath() const
{
    return m_searchPath ? *m_searchPath : toolchainSearchPathFor(currentLoginName());
}

QString CommandRunner::executeCommand(const QString &commandLine) const
{
    return executeCommandWithStatus(commandLine).output;
}

ScriptResult CommandRunner::executeCommandWithStatus(const QString &commandLine) const
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("PATH"), toolchainSearchPath());
    const ProcessRun result =
        run(m_launchers.commandShell, commandLine, QStringLiteral("-c"), environment, QProcess::MergedChannels);
    return {decoded(result.output), result.started ? result.exitCode : -1};
}

ScriptResult CommandRunner::executeScripts(const QString &commandLine) const
{
    QProcessEnvironment environment;
    environment.insert(QStringLiteral("LANG"), QStringLiteral("en_US.UTF-8"));
    // The toolchain search path, as for commands: the Ruby that runs the
    // scripts (AddModulesInTarget.rb among them) is the one the prerequisite
    // check asks for the xcodeproj gem, the user's rvm or rbenv Ruby before
    // Homebrew's and the system's.
    environment.insert(QStringLiteral("PATH"), toolchainSearchPath());
    const ProcessRun result =
        run(m_launchers.scriptShell, commandLine, QStringLiteral("-c"), environment, QProcess::MergedChannels);
    return {decoded(result.output), result.started ? result.exitCode : -1};
}

AppleScriptResult CommandRunner::executeAppleScript(const AppleScripts &appleScript) const
{
    const QFileInfo osascript(m_launchers.appleScript);
    const bool hasOsascript = osascript.isFile() && osascript.isExecutable();
    const ProcessRun result = hasOsascript
        ? run(m_launchers.appleScript, appleScript.scriptText(), QStringLiteral("-e"),
              QProcessEnvironment::systemEnvironment(), QProcess::ForwardedErrorChannel)
        : run(m_launchers.bash, appleScript.command(), QStringLiteral("-c"),
              QProcessEnvironment::systemEnvironment(), QProcess::ForwardedErrorChannel);
    return {decoded(result.output).trimmed(), result.started && !result.crashed && result.exitCode == 0};
}

int CommandRunner::executeInForeground(const QString &commandLine) const
{
    assertNotOnMainThread();
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
    process.start();
    if (!process.waitForStarted(-1)) {
        debugConsole(QStringLiteral("Failed to launch process: ") + process.errorString());
        return -1;
    }
    process.waitForFinished(-1);
    return process.exitStatus() == QProcess::CrashExit ? -1 : process.exitCode();
}

} // namespace plinth
