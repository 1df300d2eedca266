#include "cli/PresetLookup.h"

#include "cli/CliOptions.h"
#include "cli/ItemSource.h"
#include "engine/presets/FactoryPresets.h"
#include "engine/presets/PresetStore.h"
#include "engine/support/NameKey.h"

#include <filesystem>

namespace morvane::cli {

std::vector<PresetLookup::Offered> PresetLookup::offered() const {
    std::vector<Preset> user;
    try {
        user = PresetStore(userDirectory_).load();
    } catch (const std::exception& error) {
        throw UsageError{"cannot read the presets folder " + userDirectory_ + ": " + error.what()};
    }
    std::vector<Offered> result;
    for (auto& factory : FactoryPresets::all()) {
        const bool shadowed = std::any_of(user.begin(), user.end(), [&](const Preset& mine) {
            return NameKey(mine.name, false) == NameKey(factory.name, false);
        });
        if (!shadowed) {
            result.push_back({std::move(factory), true});
        }
    }
    for (auto& mine : user) {
        result.push_back({std::move(mine), false});
    }
    return result;
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
