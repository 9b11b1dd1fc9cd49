#pragma once

#include "project/ListItem.h"

#include <QList>

namespace plinth {

/// The eight ready-made modules, built for a UI kind: three of them live in
/// other folders for UIKit than for SwiftUI, and "Dynamics" exists only for
/// UIKit (its interface says so; the list still carries it, as the screens
/// filter by interface). Every entry is fresh (new id) and has podType
/// supplemental. `directoryName` is relative to the template's app sources;
/// a name with "." is a single file.
QList<ListItem> moduleCatalog(bool isUIKit);

/// Whether the module screen offers `item` for the UI kind: entries for
/// UIKit or both kinds in a UIKit project, for SwiftUI or both otherwise.
bool isOfferedFor(const ListItem &item, bool isUIKit);

/// The catalog as the module screen offers it for the UI kind, in order.
QList<ListItem> offeredModules(bool isUIKit);

} // namespace plinth
