#pragma once

#include <QString>

#include <chrono>
#include <optional>

namespace plinth {

class AppleScripts;

/// What executeScripts returns: the merged standard output and error, and the
/// termination status (the signal number for a child killed by a signal; -1
/// when the process could not be started or was stopped for running too
/// long). A child killed by a signal or stopped has a line saying so at the
/// end of the output.
struct ScriptResult
{
    QString output;
    int exitCode = -1;
    /// The child ran past its time limit and was killed with its process group.
    bool timedOut = false;
};

/// Which time limit of the runner a call gets.
enum class TimeLimit {
    /// Prerequisite probes and checks, lookups: they answer within seconds.
    probe,
    /// XcodeGen, post_gen.sh, AddModulesInTarget.rb: they work on files
    /// and fetch a little; a large project takes a few minutes.
    generation,
    /// pod install and the prerequisite installation: downloads and builds
    /// that can take long on a slow network.
    installation,
};

/// How long a call may run before the runner kills its child, with the
/// child's whole process group (children of a shell included).
struct TimeLimits
{
    std::chrono::milliseconds probe = std::chrono::minutes(1);
    std::chrono::milliseconds generation = std::chrono::minutes(15);
    std::chrono::milliseconds installation = std::chrono::hours(2);

    std::chrono::milliseconds of(TimeLimit limit) const;
};

/// What executeAppleScript returns: standard output, trimmed, and whether the
/// process ended with status 0.
struct AppleScriptResult
{
    QString output;
    bool executionStatus = false;
};

/// The programs the runner starts. Only tests change them (to see what a
/// missing one does); the program always uses these.
struct Launchers
{
    QString commandShell = QStringLiteral("/bin/sh");
    QString scriptShell = QStringLiteral("/bin/zsh");
    QString appleScript = QStringLiteral("/usr/bin/osascript");
    /// Runs the AppleScript's command itself where there is no osascript.
    QString bash = QStringLiteral("/bin/bash");
};

/// The toolchain search path for the user `loginName`: the user's rvm and
/// rbenv folders under /Users, Homebrew and the system folders, 20 entries,
/// with every space (also one inside the login name) made a colon.
QString toolchainSearchPathFor(const QString &loginName);

/// The short login name of the user running the program.
QString currentLoginName();

/// The one place that starts child processes. Each call starts its own
/// process, blocks until it has ended and all its output is read, and
/// returns; output is decoded as UTF-8 with U+FFFD for bad bytes. Standard
/// input is the null device. The calls block, so they run on a worker thread
/// (a debug build asserts that they are not called on the main thread);
/// several may run at the same time on one runner.
///
/// Every child leads a session of its own. One that runs past its time limit
/// (see TimeLimits; each call names the limit it gets) is killed together
/// with everything it started, and the call reports a failure whose output
/// says "timed out after N seconds".
class CommandRunner
{
public:
    explicit CommandRunner(const Launchers &launchers = Launchers());

    /// Puts `path` on PATH for executeCommand instead of the toolchain search
    /// path (tests put the fake toolchain there).
    void setToolchainSearchPath(const QString &path) { m_searchPath = path; }

    /// Replaces the time limits (tests make them short). Like the search
    /// path, set before the runner is shared with other threads.
    void setTimeLimits(const TimeLimits &limits) { m_limits = limits; }
    const TimeLimits &timeLimits() const { return m_limits; }

    /// The PATH of executeCommand: the replacement when set, otherwise the
    /// toolchain search path of the current user, composed on every call.
    QString toolchainSearchPath() const;

    /// Runs `commandLine` with "/bin/sh -c" in the program's environment with
    /// PATH set to toolchainSearchPath(); returns standard output and error
    /// as written, not trimmed. A process that cannot start, or that times
    /// out, gives "" (and a console line).
    QString executeCommand(const QString &commandLine, TimeLimit limit = TimeLimit::probe) const;

    /// executeCommand, also giving the exit status (as executeScripts does),
    /// for callers that tell the user whether a step worked.
    ScriptResult executeCommandWithStatus(const QString &commandLine, TimeLimit limit = TimeLimit::generation) const;

    /// Runs `commandLine` with "/bin/zsh -c" in an environment of exactly
    /// LANG=en_US.UTF-8 and PATH=toolchainSearchPath(), so a script finds the
    /// same Ruby as the prerequisite check. A process that cannot start gives
    /// ("", -1) and a console line.
    ScriptResult executeScripts(const QString &commandLine, TimeLimit limit = TimeLimit::generation) const;

    /// Runs the AppleScript program with "/usr/bin/osascript -e" and returns
    /// its standard output (standard error is not captured). Where osascript
    /// does not exist, runs the program's command with "/bin/bash -c" instead.
    /// Either way the call returns once the command has ended. A process that
    /// cannot start gives ("", false) and a console line.
    AppleScriptResult executeAppleScript(const AppleScripts &appleScript,
                                         TimeLimit limit = TimeLimit::installation) const;

    /// Runs `commandLine` with "/bin/sh -c" as a terminal would: the child
    /// shares the program's standard input, output and error, so its progress
    /// shows as it happens, and finds the toolchain search path first on PATH,
    /// then the program's own PATH. Returns the exit status once the child has
    /// ended (-1 when it could not start, was killed by a signal or timed
    /// out); the output holds only the runner's own line about a signal or
    /// the time-out, which also goes to standard error.
    ScriptResult executeInForeground(const QString &commandLine, TimeLimit limit = TimeLimit::installation) const;

private:
    Launchers m_launchers;
    std::optional<QString> m_searchPath;
    TimeLimits m_limits;
};

} // namespace plinth
