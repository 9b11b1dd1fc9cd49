#pragma once

#include <QObject>

namespace plinth {

/// Start-up once the event loop runs: starts the update check and brings the
/// application panel, showing the first screen, to the front.
class AppDelegate : public QObject
{
    Q_OBJECT

public:
    using QObject::QObject;

    void applicationDidFinishLaunching();
};

} // namespace plinth
