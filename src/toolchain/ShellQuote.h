#pragma once

#include <QString>

namespace plinth {

/// Shell quoting for every value that goes into a command line (paths, names
/// typed by the user, pod names read from a page or a Podfile). `shellQuoted`
/// encloses the value in single quotes and writes each single quote inside it
/// as '\'' (close the quotes, an escaped quote, reopen), so that sh, bash and
/// zsh hand it to the program as exactly one argument, unchanged, whatever it
/// holds: no character of it can end the word, expand or start a second
/// command. Use it where a command line has quotes around a value anyway.
/// `shellArgument` is the same, except that a non-empty value made only of
/// characters that no shell treats specially (ASCII letters and digits and
/// `_ @ + : , . / -`) stays as it is, so plain paths and names read as
/// written; use it for a bare word of a command line.
QString shellQuoted(const QString &value);
QString shellArgument(const QString &value);

} // namespace plinth
