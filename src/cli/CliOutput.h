#pragma once

#include <QString>

namespace plinth {

/// Writes `line` and a line break to standard output, UTF-8, flushed at once
/// so that the lines of a child process sharing the output come after it.
void printLine(const QString &line);

/// The same on standard error.
void printErrorLine(const QString &line);

} // namespace plinth
