#pragma once

#include <QString>

namespace plinth {

/// The desktop services a view model needs, behind a seam that tests fake.
class Desktop
{
public:
    virtual ~Desktop() = default;

    /// Opens `path` with its default application (a workspace in Xcode).
    /// Returns false when no application could be asked to open it (on a
    /// machine without Xcode, for one), which callers tell apart from a path
    /// that does not exist.
    virtual bool openFile(const QString &path) = 0;
    /// Ends the application.
    virtual void quit() = 0;
};

} // namespace plinth
