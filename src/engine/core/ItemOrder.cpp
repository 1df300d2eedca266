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

// A file browser's order, then the exact text: names that differ only in
// letter case ("a.txt", "A.txt") still come in one definite order, whatever
// order the folder listed them in.
int compareNames(const std::string& a, const std::string& b) {
    const int natural = NaturalOrder::compare(a, b);
    return natural != 0 ? natural : compare(a, b);
}

} // namespace

bool ItemOrder::areInOrder(const FileItem& a, const FileItem& b) const {
    int result = 0;
    switch (field) {
    case Field::name:
        result = compareNames(a.name, b.name);
        break;
    case Field::kind:
        result = NaturalOrder::compare(FileName::parsing(a.name).ext, FileName::parsing(b.name).ext);
        break;
    case Field::path:
        // Folder, then name: a descending path order lists each folder's names backwards too.
        result = NaturalOrder::compare(a.directory, b.directory);
        if (result == 0) {
            result = compareNames(a.name, b.name);
        }
        break;
    case Field::modified:
        result = compare(a.modified, b.modified);
        break;
    case Field::size:
        result = compare(a.size, b.size);
        break;
    }
    if (result == 0) {
        return compareNames(a.name, b.name) < 0;
    }
    return ascending ? result < 0 : result > 0;
}

bool ItemOrder::isSorted(const std::vector<FileItem>& items) const {
    return std::is_sorted(items.begin(), items.end(),
                          [&](const FileItem& a, const FileItem& b) { return areInOrder(a, b); });
}

void ItemOrder::sort(std::vector<FileItem>& items) const {
    // Items usually arrive in the scanner's order, which is already the name
    // order: one comparison per item tells.
    if (isSorted(items)) {
        return;
    }
    // Keys once per item, not once per comparison.
    std::vector<std::string_view> names, fields;
    std::vector<std::string> extensions;
    names.reserve(items.size());
    for (const auto& item : items) {
        names.push_back(item.name);
        if (field == Field::kind) {
            extensions.push_back(FileName::parsing(item.name).ext);
        } else if (field == Field::path) {
            fields.push_back(item.directory);
        }
    }
    if (field == Field::kind) {
        fields.assign(extensions.begin(), extensions.end());
    }
    const auto nameKeys = NaturalOrder::sortKeys(names);
    const auto fieldKeys = NaturalOrder::sortKeys(fields);
    auto byName = [&](std::size_t a, std::size_t b) {
        const int natural = compare(nameKeys[a], nameKeys[b]);
        return natural != 0 ? natural : compare(items[a].name, items[b].name);
    };
    auto byField = [&](std::size_t a, std::size_t b) {
        switch (field) {
        case Field::name:
            return byName(a, b);
        case Field::kind:
            return compare(fieldKeys[a], fieldKeys[b]);
        case Field::path: {
            const int byFolder = compare(fieldKeys[a], fieldKeys[b]);
            return byFolder != 0 ? byFolder : byName(a, b);
        }
        case Field::modified:
            return compare(items[a].modified, items[b].modified);
        case Field::size:
            return compare(items[a].size, items[b].size);
        }
        return 0;
    };
    auto before = [&](std::size_t a, std::size_t b) {
        const int result = byField(a, b);
        if (result == 0) {
            return byName(a, b) < 0;
        }
        return ascending ? result < 0 : result > 0;
    };
    std::vector<std::size_t> order(items.size());
    std::iota(order.begin(), order.end(), std::size_t{0});
    std::stable_sort(order.begin(), order.end(), before);
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
