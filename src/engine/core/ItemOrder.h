#pragma once

#include "engine/core/FileItem.h"

#include <optional>
#include <string_view>
#include <vector>

namespace morvane {

// The order items are planned and listed in, as the file list's column
// headers choose it. Names, extensions and folders compare the way a file
// browser does. A path is the folder and then the name, so a descending path
// order lists each folder's items in descending order too; for the other
// fields, ties fall back to the name, ascending. Names a file browser counts
// equal (they differ only in letter case) are told apart by their exact
// text, so that every order is definite.
struct ItemOrder {
    enum class Field { name, kind, modified, size, path };

    Field field = Field::name;
    bool ascending = true;

    // Whether `a` comes before `b`: by the field in the chosen direction,
    // then by name, ascending whatever the direction.
    bool areInOrder(const FileItem& a, const FileItem& b) const;
    // Stable: items equal in every respect keep their order.
    void sort(std::vector<FileItem>& items) const;
    bool isSorted(const std::vector<FileItem>& items) const;

    bool operator==(const ItemOrder&) const = default;
};

std::string_view rawValue(ItemOrder::Field field);
std::optional<ItemOrder::Field> itemOrderFieldFromRawValue(std::string_view raw);

} // namespace morvane
