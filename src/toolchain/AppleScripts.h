#pragma once

#include <QString>

namespace plinth {

/// The two AppleScript programs that make Terminal run one of the shipped
/// shell scripts in a visible window, wait for it to end, tell the user and
/// bring Plinth back to the front.
///
/// The values are the real paths, never pre-escaped: `command()` turns them
/// into the shell command that Terminal hands to "/bin/bash -c", each path one
/// shell word, and `scriptText()` carries that command through the two layers
/// around it (the double quotes of the line Terminal's shell reads, and the
/// AppleScript string literal). For paths made only of plain characters (see
/// shellArgument) every layer leaves them as they are.
class AppleScripts
{
public:
    enum class Case { preProjectSetup, installPods };

    /// Runs the script at `path` (the prerequisite installation).
    static AppleScripts preProjectSetup(const QString &path);
    /// Runs the script at `path` with `projectPath` as its one argument.
    static AppleScripts installPods(const QString &path, const QString &projectPath);

    Case kind() const { return m_case; }
    QString path() const { return m_path; }
    QString projectPath() const { return m_projectPath; }

    /// The command line given to "/bin/bash -c".
    QString command() const;

    /// The complete AppleScript program for osascript's "-e".
    QString scriptText() const;

private:
    AppleScripts(Case kind, const QString &path, const QString &projectPath);

    Case m_case;
    QString m_path;
    QString m_projectPath;
};

} // namespace plinth
