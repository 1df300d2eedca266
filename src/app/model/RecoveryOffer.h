#pragma once

#include "engine/transactions/UnfinishedBatch.h"

#include <optional>
#include <string>
#include <vector>

namespace morvane::app {

// The line across the window that offers to put back what batches cut short
// by a crash, a kill or a power cut left behind. A button is present when its
// label is.
struct RecoveryOffer {
    bool isShown = false;
    // How many batches, how many items, in which folder; and any record that
    // cannot be read, which is only reported.
    std::string text;
    std::optional<std::string> putBackButton; // "Put Back": something can be put back
    std::optional<std::string> dismissButton; // "Not Now", or "Dismiss" when there is only a report

    // The batches found at start that no other process is running;
    // `home` is written "~" in the folders named.
    static RecoveryOffer of(const std::vector<UnfinishedBatch>& batches, const std::string& home);

    bool operator==(const RecoveryOffer&) const = default;
};

} // namespace morvane::app
