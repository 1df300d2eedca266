#pragma once

#include "engine/presets/Preset.h"

#include <vector>

namespace morvane {

// A preset as every front end offers it: the factory presets that no user
// preset of the same name (letter case ignored) replaces, in their order,
// then the user's own, in the store's order.
struct OfferedPreset {
    Preset preset;
    bool isFactory = false;

    static std::vector<OfferedPreset> over(std::vector<Preset> userPresets);
};

} // namespace morvane
