#pragma once

#include <cstddef>
#include <optional>
#include <string>

namespace morvane::app {

// The texts under the item table.
struct StatusBarTexts {
    std::string items;
    std::string included;
    std::string toRename;
    std::string conflicts; // "No conflicts" or "N conflicts"
    std::string conflictsSymbol;
};

// What the window shows when there are no items.
struct EmptyState {
    std::string title;
    std::string message;
    std::string openButton;
    std::optional<std::string> loadError;
};

} // namespace morvane::app
