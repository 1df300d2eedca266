#include "engine/presets/OfferedPreset.h"

#include "engine/presets/FactoryPresets.h"
#include "engine/support/NameKey.h"

#include <algorithm>

namespace morvane {

std::vector<OfferedPreset> OfferedPreset::over(std::vector<Preset> userPresets) {
    std::vector<NameKey> userKeys;
    userKeys.reserve(userPresets.size());
    for (const Preset& mine : userPresets) {
        userKeys.emplace_back(mine.name, false);
    }
    std::vector<OfferedPreset> result;
    for (Preset& factory : FactoryPresets::all()) {
        if (std::find(userKeys.begin(), userKeys.end(), NameKey(factory.name, false)) == userKeys.end()) {
            result.push_back({std::move(factory), true});
        }
    }
    for (Preset& mine : userPresets) {
        result.push_back({std::move(mine), false});
    }
    return result;
}

} // namespace morvane
