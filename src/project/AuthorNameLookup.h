#pragma once

#include <QString>

namespace plinth {

class CommandRunner;

/// The full name of the user running the program, for the identity screen's
/// author field: the "Name:" field that `finger` shows for the login name,
/// else the account database's full name. Never an error message and never a
/// line break; empty when neither source knows a name. Runs `finger` through
/// `runner` and so blocks: call it on a worker thread.
QString lookupAuthorName(const CommandRunner &runner);

/// The current user's full name from the account database: the first
/// comma-separated part of the account's comment field (the others hold
/// office and telephone numbers), trimmed; empty when none is recorded.
QString accountFullName();

} // namespace plinth
