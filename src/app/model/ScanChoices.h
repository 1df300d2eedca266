#pragma once

#include "engine/filesystem/ScanOptions.h"

#include <string>
#include <string_view>
#include <vector>

namespace morvane::app {

// One scan option as the window offers it: a named, checkable command.
struct ScanChoice {
    std::string name;  // the command's name: "includeSubfolders", "listFiles"…
    std::string title; // in the interface language
    bool isChecked = false;
    // The last of files and folders cannot be turned off: the window would
    // list nothing at all.
    bool isEnabled = true;

    bool operator==(const ScanChoice&) const = default;
};

// The scan options a window offers, in their menu's order. Packages are
// left out: no folder is a package here, so the choice would change nothing.
namespace ScanChoices {

std::vector<ScanChoice> of(const ScanOptions& options);
// `options` with the named choice turned over; as they were for a name not
// offered, or a choice that may not be turned off now.
ScanOptions toggled(const ScanOptions& options, std::string_view name);

} // namespace ScanChoices
} // namespace morvane::app
