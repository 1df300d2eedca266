#pragma once

#include "app/model/Row.h"
#include "engine/core/PlanSummary.h"

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace morvane::app {

// One line of the confirmation sheet: an item's name now and after renaming
// (the view highlights their differences), and for an item in conflict, its
// status with the reason.
struct ConfirmationLine {
    std::string oldName;
    std::string newName;
    std::optional<RowStatus> conflict;
    bool operator==(const ConfirmationLine&) const = default;
};

// What the confirmation sheet shows above and below its lines, and which of
// its buttons can be pressed. Its lines come one by one from the model
// (`confirmationLine`), as there may be a great many: the items in conflict
// first, then the renames.
struct ConfirmationSheet {
    std::string title;      // "Rename %lld items?" or "Resolve conflicts before renaming"
    std::string subtitle;   // the window's subtitle
    std::string countsLine; // "N will be renamed · N stay the same · N filtered or excluded"
    // Enabled rules the preview bypasses for an error, said before anything
    // is renamed without them.
    std::vector<std::string> bypassedRules;
    std::string footer;
    std::size_t lineCount = 0;
    std::string cancelButton;
    std::string skipButton;
    std::string renameButton;
    bool canCancel = true;
    bool canSkip = false;
    bool canRename = false;

    // `undoShortcut` is the platform's notation of the undo key ("⌘Z",
    // "Ctrl+Z"); `busy` while a batch runs, when only the progress can be
    // acted on.
    static ConfirmationSheet of(const PlanSummary& summary, std::string subtitle,
                                std::vector<std::string> bypassedRules, std::string_view undoShortcut,
                                bool busy);

    bool operator==(const ConfirmationSheet&) const = default;
};

} // namespace morvane::app
