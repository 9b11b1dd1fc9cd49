#pragma once

#include <QString>

namespace plinth {

/// A Swift package product that a module's code imports, as it is added to
/// an existing project's app target.
struct SwiftPackage
{
    QString url;         ///< the package's Git repository
    QString product;     ///< the product the target depends on (the module the code imports)
    QString requirement; ///< "exact:<version>" or "from:<version>" (up to the next major version)

    friend bool operator==(const SwiftPackage &, const SwiftPackage &) = default;
};

} // namespace plinth
