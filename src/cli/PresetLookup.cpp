#include "cli/PresetLookup.h"

#include "cli/CliOptions.h"
#include "cli/ItemSource.h"
#include "engine/presets/PresetStore.h"
#include "engine/support/NameKey.h"

#include <filesystem>

namespace morvane::cli {

std::vector<OfferedPreset> PresetLookup::offered() const {
    try {
        return OfferedPreset::over(PresetStore(userDirectory_).load());
    } catch (const std::exception& error) {
        throw UsageError{"cannot read the presets folder " + userDirectory_ + ": " + error.what()};
    }
}

Preset PresetLookup::find(const std::string& nameOrPath) const {
    std::error_code ignored;
    const std::string path = absolutePath(nameOrPath, workingDirectory_);
    if (std::filesystem::is_regular_file(path, ignored)) {
        try {
            return PresetStore::read(path);
        } catch (const std::exception& error) {
            throw UsageError{"cannot read the preset " + nameOrPath + ": " + error.what()};
        }
    }
    const NameKey wanted(nameOrPath, false);
    for (auto& offer : offered()) {
        if (NameKey(offer.preset.name, false) == wanted) {
            return std::move(offer.preset);
        }
    }
    throw UsageError{"no preset is named \u201C" + nameOrPath + "\u201D (morvane-cli presets lists them)"};
}

} // namespace morvane::cli
