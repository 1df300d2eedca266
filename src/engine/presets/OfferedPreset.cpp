#include "engine/presets/OfferedPreset.h"

#include "engine/presets/FactoryPresets.h"
#include "engine/support/Unicode.h"

#include <algorithm>

namespace morvane {

std::vector<OfferedPreset> OfferedPreset::over(std::vector<Preset> userPresets) {
    std::vector<std::string> userKeys;
    userKeys.reserve(userPresets.size());
    for (const Preset& mine : userPresets) {
        userKeys.push_back(unicode::lowerNfc(mine.name));
    }
    std::vector<OfferedPreset> result;
    for (Preset& factory : FactoryPresets::all()) {
        if (std::find(userKeys.begin(), userKeys.end(), unicode::lowerNfc(factory.name)) == userKeys.end()) {
            result.push_back({std::move(factory), true});
        }
    }
    for (Preset& mine : userPresets) {
        result.push_back({std::move(mine), false});
    }
    return result;
}

} // namespace morvane
