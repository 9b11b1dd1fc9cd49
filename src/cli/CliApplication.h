#pragma once

#include "cli/CliContext.h"

#include <QString>
#include <QStringList>

namespace plinth {

/// Exit statuses of plinth-cli.
enum CliExitCode {
    cliSucceeded = 0,          ///< every step succeeded; doctor: every tool present
    cliFailed = 1,             ///< a step failed; doctor: a tool is missing
    cliInvalidDescription = 2, ///< an invalid description or command line: nothing was done
};

/// Names the program "plinth-cli" with the build's version, and has the
/// console's diagnostics printed as plain lines.
void setUpCliApplication();

/// The --help text.
QString cliHelpText();

/// Runs the command that `arguments` (the program name first) name and
/// returns the exit status: generate, doctor, pods, --help or --version. Needs a
/// QCoreApplication, whose event loop it runs while a command works.
int runCli(const QStringList &arguments, const CliContext &context);

} // namespace plinth
