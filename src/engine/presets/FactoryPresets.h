#pragma once

#include "engine/presets/Preset.h"

#include <vector>

namespace morvane {

// The presets built into the program. Each call builds them afresh from rule
// values, so they always carry exactly what this version's rules store. Their
// names are stored in English; front ends translate them for display.
class FactoryPresets {
public:
    // In menu order; the first two are favourites.
    static std::vector<Preset> all();

    static Preset photoDatePlusSlug();
    static Preset cleanFilenames();
    static Preset cameraImport();
    static Preset sequenceOnly();
    static Preset templateArchive();
    static Preset placeFromExport();
    static Preset photosByCaptureDate();
};

} // namespace morvane
