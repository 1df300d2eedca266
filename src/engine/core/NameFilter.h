#pragma once

#include "engine/core/FileItem.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace morvane {

// The search field of the file list: names that do not contain the search
// text, ignoring letter case and diacritics, are left out of the rename.
class NameFilter {
public:
    // An empty or all-space query matches everything; "Résumé.pdf" matches " resume ".
    static bool matches(std::string_view name, std::string_view query);
    // The same items in the same order; those that do not match are no longer
    // included. With a `root`, an item also matches by its folder as written
    // from the root ("2024/Trip"), so a subfolder's items can be found by it.
    static std::vector<FileItem> apply(std::string_view query, std::vector<FileItem> items,
                                       std::optional<std::string_view> root = std::nullopt);

    // `text` without diacritics and case-folded: the form both sides are compared in.
    static std::string searchKey(std::string_view text);
};

} // namespace morvane
