#pragma once

#include "project/ListItem.h"

#include <QList>

namespace plinth {

/// Moves a catalog entry between the offered list and the chosen list, as
/// both catalog screens (pods and modules) do when a row's plus or minus
/// button is pressed.
///
/// `item` is moved from `from` to position 0 of `to` and gets `newType` there
/// (userSelected when chosen, supplemental when given back). When `to`
/// already holds an entry of the same title nothing changes at all. The entry
/// is removed from `from` by its id, so a shown list that is a filtered view
/// of `from` may pass its own row's entry. Returns whether anything moved.
bool moveCatalogItem(const ListItem &item, QList<ListItem> &from, QList<ListItem> &to, PodType newType);

} // namespace plinth
