#pragma once

namespace plinth {

/// True where the prerequisite and pod installations run in the terminal
/// embedded in the window (macOS 14 or later, and Linux); elsewhere they run
/// in a Terminal window through AppleScript.
bool hasEmbeddedTerminal();

} // namespace plinth
