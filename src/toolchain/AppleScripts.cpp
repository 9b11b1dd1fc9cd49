#include "toolchain/AppleScripts.h"

#include "toolchain/ShellQuote.h"

#include <QStringList>

#include <algorithm>

namespace plinth {

namespace {

// Each program is its head, the inserted command, the end of the `do script`
// line, the wait for the Terminal tab and its tail, with nothing in between.
// Inside the AppleScript string \" is a quote, so Terminal's shell reads:
// /bin/bash -c "<command>".

const char16_t preProjectSetupHead[] = uR"AS(tell application "Terminal"
    activate
    do script "/bin/bash -c \")AS";

// Both programs wait for the Terminal tab the same way; the pod program
// does it one level deeper, inside its `try`.
const char16_t waitForTab[] = uR"AS(    tell window 1
        -- Optionally adjust window size and title
        set bounds to {100, 200, 1100, 600}
        set custom title of tab 1 to "Script Execution In Progress..."

        -- Wait for the command to start
        repeat until busy of tab 1 is true
            delay 0.1
        end repeat

        -- Wait for the script to complete
        repeat while busy of tab 1 is true
            delay 1
        end repeat

        -- Optional: capture the output of the Terminal tab
        set tContents to contents of tab 1
    end tell
)AS";

const char16_t preProjectSetupTail[] = uR"AS(
    set dialogResult to display dialog "The script execution is completed." buttons {"OK"} default button "OK"
    if button returned of dialogResult is "OK" then
        tell application "Plinth"
            activate
        end tell
    end if
end tell)AS";

const char16_t installPodsHead[] = uR"AS(tell application "Terminal"
    activate
    try
        do script "/bin/bash -c \")AS";

const char16_t installPodsTail[] = uR"AS(
        -- Close the Terminal window after script execution
        try
            close window 1
        end try

        display dialog "The script execution is completed."

        -- Open a specific application when the script finishes
        tell application "Plinth"
            activate
        end tell

    on error errMsg number errNum
        -- Handle the error
        display dialog "An error occurred: " & errMsg buttons {"OK"} default button "OK"
    end try
end tell)AS";

// The command goes between the double quotes of the line Terminal's
// interactive shell reads. There $, `, \, " and ! (history expansion) are
// special and a line break would end the line; a command holding one of
// them closes the double quotes and passes itself as one single-quoted
// word instead ("" 'command' "" reads as the command alone).
QString insideTerminalDoubleQuotes(const QString &command)
{
    const bool plain = std::none_of(command.cbegin(), command.cend(), [](QChar c) {
        return QStringView(u"$`\\\"!\n\r").contains(c);
    });
    return plain ? command : QLatin1Char('"') + shellQuoted(command) + QLatin1Char('"');
}

// `text` with every line that is not empty moved right by `spaces`.
QString indented(const QString &text, int spaces)
{
    QStringList lines = text.split(QLatin1Char('\n'));
    for (QString &line : lines) {
        if (!line.isEmpty())
            line.prepend(QString(spaces, QLatin1Char(' ')));
    }
    return lines.join(QLatin1Char('\n'));
}

// AppleScript string literal: backslash and double quote are escaped.
QString insideAppleScriptString(QString text)
{
    text.replace(QLatin1Char('\\'), QStringLiteral("\\\\"));
    text.replace(QLatin1Char('"'), QStringLiteral("\\\""));
    return text;
}

} // namespace

AppleScripts::AppleScripts(Case kind, const QString &path, const QString &projectPath)
    : m_case(kind)
    , m_path(path)
    , m_projectPath(projectPath)
{
}

AppleScripts AppleScripts::preProjectSetup(const QString &path)
{
    return AppleScripts(Case::preProjectSetup, path, {});
}

AppleScripts AppleScripts::installPods(const QString &path, const QString &projectPath)
{
    return AppleScripts(Case::installPods, path, projectPath);
}

QString AppleScripts::command() const
{
    switch (m_case) {
    case Case::preProjectSetup:
        return shellArgument(m_path);
    case Case::installPods:
        return shellArgument(m_path) + QLatin1Char(' ') + shellArgument(m_projectPath);
    }
    return {};
}

QString AppleScripts::scriptText() const
{
    const QString inserted = insideAppleScriptString(insideTerminalDoubleQuotes(command()));
    switch (m_case) {
    case Case::preProjectSetup:
        return QString::fromUtf16(preProjectSetupHead) + inserted + QStringLiteral("\\\"\"\n")
               + QString::fromUtf16(waitForTab) + QString::fromUtf16(preProjectSetupTail);
    case Case::installPods:
        return QString::fromUtf16(installPodsHead) + inserted + QStringLiteral("\\\"\" in front window\n")
               + indented(QString::fromUtf16(waitForTab), 4) + QString::fromUtf16(installPodsTail);
    }
    return {};
}

} // namespace plinth
