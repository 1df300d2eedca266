#pragma once

#include "engine/support/Date.h"

#include <cstdint>
#include <optional>
#include <string>

namespace morvane {

// One entry of a directory listing.
struct FSEntry {
    std::string name;                      // last path component, not a path
    bool isDirectory = false;              // a real folder: false for a link, wherever it points
    bool isSymlink = false;                // the entry itself is a symbolic link
    bool symlinkTargetIsDirectory = false; // a link whose target exists and is a folder
    bool isPackage = false;                // a folder presented as a single document
    bool isHidden = false;
    Date created{};
    Date modified{};
    std::int64_t size = 0; // bytes; 0 for folders

    FSEntry() = default;
    // Without an explicit `isHidden`, names that begin with "." are hidden.
    FSEntry(std::string name, bool isDirectory, bool isSymlink, bool symlinkTargetIsDirectory, bool isPackage,
            std::optional<bool> isHidden, Date created, Date modified, std::int64_t size);

    bool operator==(const FSEntry&) const = default;
};

} // namespace morvane
