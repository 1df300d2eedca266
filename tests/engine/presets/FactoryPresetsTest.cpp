#include "engine/presets/FactoryPresets.h"

#include "engine/metadata/MetadataCache.h"
#include "engine/testing/Items.h"
#include "engine/testing/ScriptedMetadata.h"

#include <gtest/gtest.h>

namespace morvane {
namespace {

TEST(FactoryPresets, SevenInMenuOrderTheFirstTwoFavourites) {
    const std::vector<std::pair<std::string, bool>> expected{
        {"Photo date + slug", true},      {"Clean filenames", true},   {"Camera import", false},
        {"Sequence only", false},         {"Template archive", false}, {"Place from export", false},
        {"Photos by capture date", false}};
    std::vector<std::pair<std::string, bool>> seen;
    for (const Preset& preset : FactoryPresets::all()) {
        seen.emplace_back(preset.name, preset.favorite);
        const auto built = preset.makePipeline();
        EXPECT_TRUE(built.skipped.empty() && built.pipeline.steps.size() == preset.rules.size())
            << preset.name;
    }
    EXPECT_EQ(seen, expected);
}

// Through its file and back, then over photos: named by the second they
// were taken, numbered so that photos of one second stay apart.
TEST(FactoryPresets, PhotosByCaptureDateNameEachPhotoByItsMoment) {
    const Preset preset = Preset::decode(FactoryPresets::photosByCaptureDate().data());
    RenamePipeline pipeline = preset.makePipeline().pipeline;
    auto reader = std::make_shared<testing::ScriptedMetadataReader>();
    const auto taken = CaptureDate{*LocalDateTime::valid(2024, 3, 5, 10, 11, 12), std::nullopt};
    reader->files["/d/IMG_1.JPG"].taken = taken;
    reader->files["/d/IMG_2.JPG"].taken = taken;
    const auto list = testing::items({"IMG_1.JPG", "IMG_2.JPG"});
    auto cache = std::make_shared<MetadataCache>(reader);
    ASSERT_TRUE(cache->read(list, pipeline.needsDetails()));
    pipeline.metadata = cache;
    const RenamePlan plan = pipeline.plan(list);
    EXPECT_EQ(plan.entries[0].newName, "2024-03-05_10-11-12-001.JPG");
    EXPECT_EQ(plan.entries[1].newName, "2024-03-05_10-11-12-002.JPG");
}

} // namespace
} // namespace morvane
