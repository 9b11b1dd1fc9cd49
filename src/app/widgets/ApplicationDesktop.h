#pragma once

#include "app/base/Desktop.h"

namespace plinth {

/// The desktop of the running program: files open with their default
/// application, quitting ends the event loop.
class ApplicationDesktop : public Desktop
{
public:
    bool openFile(const QString &path) override;
    void quit() override;
};

} // namespace plinth
