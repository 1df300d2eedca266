#include "engine/presets/FactoryPresets.h"

#include <gtest/gtest.h>

namespace morvane {
namespace {

TEST(FactoryPresets, SixInMenuOrderTheFirstTwoFavourites) {
    const std::vector<std::pair<std::string, bool>> expected{
        {"Photo date + slug", true}, {"Clean filenames", true},   {"Camera import", false},
        {"Sequence only", false},    {"Template archive", false}, {"Place from export", false}};
    std::vector<std::pair<std::string, bool>> seen;
    for (const Preset& preset : FactoryPresets::all()) {
        seen.emplace_back(preset.name, preset.favorite);
        const auto built = preset.makePipeline();
        EXPECT_TRUE(built.skipped.empty() && built.pipeline.steps.size() == preset.rules.size())
            << preset.name;
    }
    EXPECT_EQ(seen, expected);
}

} // namespace
} // namespace morvane
