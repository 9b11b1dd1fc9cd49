#pragma once

namespace plinth {

class AppDelegate;

/// Everything start-up does before the event loop runs: application
/// identity, fonts, the first screen of the panel, and the delegate's launch
/// step queued for the loop's first turn. The program's main and the start-up
/// benchmark both go through here.
void prepareApplication(AppDelegate &delegate);

} // namespace plinth
