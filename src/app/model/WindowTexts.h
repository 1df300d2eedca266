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

// What a rule card shows about its entry's effect on the preview.
struct RuleFigures {
    std::size_t number = 0; // 1-based position
    std::size_t changedCount = 0;
    std::optional<std::string> error; // the rule's message, when it failed
    std::string statusLine;  // "Disabled · skipped", "Error · rule is bypassed until fixed" or the count
    std::string summaryLine; // the card's head: "Disabled · skipped", "Invalid pattern" or the rule's summary
    std::optional<std::string> result; // the selected item's name after this rule
};

} // namespace morvane::app
