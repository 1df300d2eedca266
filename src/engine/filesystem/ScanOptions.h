#pragma once

#include <nlohmann/json_fwd.hpp>

namespace morvane {

// What a folder scan lists, and how deep it goes.
struct ScanOptions {
    bool includeFiles = true;
    bool includeFolders = false;
    bool recursive = false;
    bool includeHidden = false;
    bool packagesAsFiles = true; // a package folder lists as one file
    bool followSymlinks = false; // otherwise a link lists as a file

    bool operator==(const ScanOptions&) const = default;
};

// JSON object with the six field names as keys; all six are required.
void to_json(nlohmann::json& json, const ScanOptions& options);
void from_json(const nlohmann::json& json, ScanOptions& options);

} // namespace morvane
