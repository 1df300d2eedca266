#pragma once

#include "engine/transactions/HistoryRecording.h"
#include "engine/transactions/RenameTransaction.h"

#include <optional>
#include <string>

namespace morvane::app {

// The line above the item table after a rename or an undo. A button is
// present when its label is.
struct ResultBanner {
    bool isShown = false;
    std::string text;
    // The text is a warning (drawn with "exclamationmark.triangle.fill").
    bool isWarning = false;
    std::optional<std::string> undoButton;    // "Undo Rename" (⌘Z): the last rename can be taken back
    std::optional<std::string> revealButton;  // "Show in Finder" / "Show in File Manager"
    std::optional<std::string> revealFolder;  // the folder that button shows
    std::optional<std::string> dismissButton; // "Dismiss": clears the message

    // The last rename (null when none), whether it was recorded, the last
    // message (a warning, or news that all went well) and the open folder.
    static ResultBanner of(const RenameTransaction* lastTransaction, const HistoryRecording& recording,
                           const std::optional<std::string>& message, bool messageIsWarning,
                           const std::optional<std::string>& folder);

    bool operator==(const ResultBanner&) const = default;
};

} // namespace morvane::app
