#pragma once

#include "engine/support/Date.h"
#include "engine/support/SharedString.h"

#include <cstdint>
#include <optional>
#include <string>

namespace morvane {

// One file or folder that may be renamed. The items of one folder share its
// path and name (SharedString reads as a const std::string&), so that a
// large folder's items do not each hold a copy of them.
struct FileItem {
    std::string id;          // stable identity inside one listing; by default the path
    std::string name;        // current name on disk, one path component
    SharedString directory;  // path of the folder holding the item
    SharedString parentName; // the last component of `directory` unless given
    Date created{};
    Date modified{};
    std::int64_t size = 0;
    bool isDirectory = false;
    bool isIncluded = true;

    FileItem() = default;
    // `id` defaults to the path (or the bare name when `directory` is empty);
    // `parentName` to the last non-empty component of `directory`.
    FileItem(std::string name, SharedString directory, Date created, Date modified, std::int64_t size,
             bool isDirectory, bool isIncluded, std::optional<std::string> id = std::nullopt,
             std::optional<SharedString> parentName = std::nullopt);

    bool operator==(const FileItem&) const = default;

    static std::string defaultId(const std::string& name, const std::string& directory);
    static std::string defaultParentName(const std::string& directory);
};

} // namespace morvane

template <>
struct std::hash<morvane::FileItem> {
    std::size_t operator()(const morvane::FileItem& item) const noexcept;
};
