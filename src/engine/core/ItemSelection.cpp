#include "engine/core/ItemSelection.h"

#include "engine/core/NameFilter.h"

namespace morvane {

std::vector<FileItem> ItemSelection::effectiveItems(std::vector<FileItem> items) const {
    order.sort(items);
    for (auto& item : items) {
        item.isIncluded = !unchecked.contains(item.id);
    }
    return NameFilter::apply(searchText, std::move(items));
}

} // namespace morvane
