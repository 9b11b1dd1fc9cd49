#include "catalogs/CatalogSelection.h"

#include <algorithm>

namespace plinth {

bool moveCatalogItem(const ListItem &item, QList<ListItem> &from, QList<ListItem> &to, PodType newType)
{
    const auto sameTitle = [&item](const ListItem &entry) { return entry.title == item.title; };
    if (std::any_of(to.cbegin(), to.cend(), sameTitle))
        return false;
    const auto source = std::find_if(from.begin(), from.end(), [&item](const ListItem &entry) { return entry.id == item.id; });
    if (source == from.end())
        return false;
    ListItem moved = *source;
    from.erase(source);
    moved.podType = newType;
    to.prepend(moved);
    return true;
}

} // namespace plinth
