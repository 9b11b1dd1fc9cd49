#pragma once

#include "project/ListItem.h"

#include <QList>

namespace plinth {

/// The twelve pods every new project description starts with, in catalog
/// order, each with a fresh id, podType preset and interface preset.
QList<ListItem> presetPodCatalog();

} // namespace plinth
