#include "engine/core/ItemOrder.h"

#include "engine/core/FileName.h"
#include "engine/support/NaturalOrder.h"
#include "engine/support/RawValues.h"

#include <algorithm>
#include <array>
#include <numeric>

namespace morvane {
namespace {

constexpr std::array<std::string_view, 5> kFields{"name", "kind", "modified", "size", "path"};

// -1, 0 or 1.
template <typename T>
int compare(const T& a, const T& b) {
    return a < b ? -1 : (b < a ? 1 : 0);
}

} // namespace

void ItemOrder::sort(std::vector<FileItem>& items) const {
    // Collation keys once per item, not once per comparison.
    std::vector<std::string> nameKeys, fieldKeys;
    nameKeys.reserve(items.size());
    for (const auto& item : items) {
        nameKeys.push_back(NaturalOrder::sortKey(item.name));
        if (field == Field::kind) {
            fieldKeys.push_back(NaturalOrder::sortKey(FileName::parsing(item.name).ext));
        } else if (field == Field::path) {
            fieldKeys.push_back(NaturalOrder::sortKey(item.directory));
        }
    }
    auto byField = [&](std::size_t a, std::size_t b) {
        switch (field) {
        case Field::name:
            return compare(nameKeys[a], nameKeys[b]);
        case Field::kind:
        case Field::path:
            return compare(fieldKeys[a], fieldKeys[b]);
        case Field::modified:
            return compare(items[a].modified, items[b].modified);
        case Field::size:
            return compare(items[a].size, items[b].size);
        }
        return 0;
    };
    std::vector<std::size_t> order(items.size());
    std::iota(order.begin(), order.end(), std::size_t{0});
    std::stable_sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) {
        const int result = byField(a, b);
        if (result == 0) {
            return nameKeys[a] < nameKeys[b];
        }
        return ascending ? result < 0 : result > 0;
    });
    std::vector<FileItem> sorted;
    sorted.reserve(items.size());
    for (const std::size_t index : order) {
        sorted.push_back(std::move(items[index]));
    }
    items = std::move(sorted);
}

std::string_view rawValue(ItemOrder::Field field) {
    return rawValueIn(kFields, field);
}

std::optional<ItemOrder::Field> itemOrderFieldFromRawValue(std::string_view raw) {
    return enumFromRawValue<ItemOrder::Field>(kFields, raw);
}

} // namespace morvane
