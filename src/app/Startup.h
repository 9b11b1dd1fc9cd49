#pragma once

#include "app/WizardContext.h"

namespace plinth {

class AppDelegate;

/// What the running program's screens work with: the toolchain runner with
/// the toolchain search path, the bundle beside the executable, alerts on the
/// panel, the desktop, the folder panel, the library page and the process's
/// project description.
WizardContext applicationWizardContext();

/// Everything start-up does before the event loop runs: application
/// identity, fonts, the first screen of the panel, and the delegate's launch
/// step queued for the loop's first turn. The program's main and the start-up
/// benchmark both go through here.
void prepareApplication(AppDelegate &delegate);

} // namespace plinth
