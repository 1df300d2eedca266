#pragma once

#include "engine/presets/OfferedPreset.h"
#include "engine/presets/Preset.h"

#include <optional>
#include <string>
#include <vector>

namespace morvane::cli {

// The presets a user can name: the factory presets that no user preset of the
// same name (letter case ignored) shadows, then the user's own.
class PresetLookup {
public:
    // Relative file paths are taken from `workingDirectory`.
    PresetLookup(std::string userDirectory, std::string workingDirectory)
        : userDirectory_(std::move(userDirectory)), workingDirectory_(std::move(workingDirectory)) {}

    std::vector<OfferedPreset> offered() const;
    // A readable .morvanepreset file at `nameOrPath`, else the offered preset
    // of that name (letter case ignored). Throws UsageError when there is
    // neither, or when the file cannot be read.
    Preset find(const std::string& nameOrPath) const;

private:
    std::string userDirectory_;
    std::string workingDirectory_;
};

} // namespace morvane::cli
