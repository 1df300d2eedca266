#include "engine/presets/Preset.h"

#include "engine/presets/AnyRule.h"
#include "engine/presets/PresetError.h"
#include "engine/support/JsonFields.h"

#include <gtest/gtest.h>

namespace morvane {
namespace {

TEST(Preset, WritesSortedIndentedJsonWithWholeNumbers) {
    const Preset preset("Trips/2024", {PresetRule{"stamp", true, nlohmann::json::parse(R"({"w":3.0})")}});
    EXPECT_EQ(preset.data(), R"({
  "favorite": false,
  "format": 1,
  "name": "Trips/2024",
  "rules": [
    {
      "enabled": true,
      "kind": "stamp",
      "w": 3
    }
  ]
}
)");
    Preset withShortcut = preset;
    withShortcut.shortcut = "1";
    EXPECT_NE(withShortcut.data().find("\"shortcut\": \"1\""), std::string::npos);
    EXPECT_EQ(Preset::decode(withShortcut.data()), withShortcut);
}

TEST(Preset, ReadsOptionalKeysWithDefaults) {
    const Preset preset = Preset::decode(R"({"name":"Old","rules":[],"unknown":{"x":1}})");
    EXPECT_EQ(preset.format, 1);
    EXPECT_FALSE(preset.favorite);
    EXPECT_EQ(preset.shortcut, std::nullopt);
    EXPECT_EQ(Preset::decode(R"({"name":"Older","rules":[],"format":0})").format, 0);
    // Null stands for a missing key, for every optional key alike.
    const Preset nulls =
        Preset::decode(R"({"name":"Nulls","rules":[],"format":null,"favorite":null,"shortcut":null})");
    EXPECT_EQ(nulls, Preset("Nulls", {}));
}

TEST(Preset, RefusesNewerFormats) {
    try {
        Preset::decode(R"({"name":"New","rules":[],"format":2})");
        FAIL() << "a newer format was read";
    } catch (const PresetError& error) {
        EXPECT_EQ(error, PresetError::unsupportedFormat(2));
        EXPECT_STREQ(error.what(), "This preset was made by a newer version of Morvane (format 2)");
    }
}

TEST(Preset, BadFilesFailWithAClearError) {
    const std::string deep = std::string(100, '[') + std::string(100, ']');
    const char* cases[] = {
        "",
        "not json",
        "[]",
        R"({"rules":[]})",
        R"({"name":"x"})",
        R"({"name":5,"rules":[]})",
        R"({"name":"x","rules":{}})",
        R"({"name":"x","rules":[{"enabled":true}]})",
        R"({"name":"x","rules":[],"format":"1"})",
        R"({"name":"x","rules":[],"format":1.5})",
        R"({"name":"x","rules":[],"favorite":"yes"})",
        "{\"name\":\"caf\xe9\",\"rules\":[]}", // not UTF-8
    };
    for (const char* text : cases) {
        EXPECT_THROW(Preset::decode(text), DecodingError) << text;
    }
    EXPECT_THROW(Preset::decode(R"({"name":"x","rules":[],"x":)" + deep + "}"), DecodingError);
    EXPECT_THROW(Preset::decode(std::string(Preset::maxFileBytes + 1, ' ')), DecodingError);
}

TEST(Preset, PipelineSkipsUnknownKindsAndFailsOnBadParameters) {
    const Preset preset = Preset::decode(R"({"name":"x","rules":[
        {"kind":"case","mode":"upper"},{"kind":"stamp","size":3},{"kind":"replace","enabled":false}]})");
    const auto built = preset.makePipeline();
    EXPECT_EQ(built.skipped, std::vector<std::size_t>{1});
    ASSERT_EQ(built.pipeline.steps.size(), 2u);
    EXPECT_EQ(anyRule(*built.pipeline.steps[0].rule),
              AnyRule(CaseRule(CaseRule::Mode::upper, CaseRule::ExtensionMode::lower)));
    EXPECT_FALSE(built.pipeline.steps[1].isEnabled);

    const Preset broken =
        Preset::decode(R"({"name":"x","rules":[{"kind":"case"},{"kind":"case","mode":1}]})");
    EXPECT_THROW(broken.makePipeline(), DecodingError);
}

TEST(Preset, RoundTripsAPipeline) {
    const RenamePipeline pipeline(
        {makeStep(ReplaceRule("IMG_", "trip/", false)),
         makeStep(CaseRule(CaseRule::Mode::title, CaseRule::ExtensionMode::same), false)});
    const Preset preset = Preset::fromPipeline("Mine", pipeline, true, "2");
    const Preset read = Preset::decode(preset.data());
    EXPECT_EQ(read, preset);
    const auto built = read.makePipeline();
    ASSERT_EQ(built.pipeline.steps.size(), 2u);
    EXPECT_EQ(anyRule(*built.pipeline.steps[0].rule), AnyRule(ReplaceRule("IMG_", "trip/", false)));
    EXPECT_FALSE(built.pipeline.steps[1].isEnabled);
}

} // namespace
} // namespace morvane
