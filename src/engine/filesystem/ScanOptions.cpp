#include "engine/filesystem/ScanOptions.h"

#include <nlohmann/json.hpp>

namespace morvane {

void to_json(nlohmann::json& json, const ScanOptions& options) {
    json = nlohmann::json{{"includeFiles", options.includeFiles},
                          {"includeFolders", options.includeFolders},
                          {"recursive", options.recursive},
                          {"includeHidden", options.includeHidden},
                          {"packagesAsFiles", options.packagesAsFiles},
                          {"followSymlinks", options.followSymlinks}};
}

// `at` and `get<bool>` throw for a missing key or a value of another type.
void from_json(const nlohmann::json& json, ScanOptions& options) {
    options.includeFiles = json.at("includeFiles").get<bool>();
    options.includeFolders = json.at("includeFolders").get<bool>();
    options.recursive = json.at("recursive").get<bool>();
    options.includeHidden = json.at("includeHidden").get<bool>();
    options.packagesAsFiles = json.at("packagesAsFiles").get<bool>();
    options.followSymlinks = json.at("followSymlinks").get<bool>();
}

} // namespace morvane
