#pragma once

#include <cstddef>
#include <optional>
#include <string>

namespace morvane::app {

// Everything a rule card shows about its entry: read from the list, the
// current plan, the selected item's trace and the settings.
struct RuleFigures {
    std::size_t number = 0; // 1-based position
    std::string title;      // the kind's title
    bool isEnabled = true;
    bool isExpanded = true;
    bool canMoveUp = false;
    bool canMoveDown = false;
    // The card's head: "Disabled · skipped", "Invalid pattern" or the rule's summary.
    std::string summaryLine;
    std::optional<std::string> error; // the plan's message for an enabled rule that failed
    std::size_t changedCount = 0;
    std::size_t includedCount = 0;
    // The foot: "Error · rule is bypassed until fixed" and the message, or
    // "N of M" and " items changed by this rule".
    std::string footerTitle;
    std::string footerDetail;
    std::optional<std::string> result;        // the selected item's name after this rule
    std::optional<std::string> runningResult; // the result, on a collapsed card while the setting is on
    std::optional<std::string> inputStem;     // the stem this rule receives for the selected item
    std::string toggleTitle;                  // "Disable Rule" or "Enable Rule"
};

} // namespace morvane::app
