#include "engine/presets/FactoryPresets.h"

#include "engine/presets/AnyRule.h"

#include <gtest/gtest.h>

namespace morvane {
namespace {

TEST(FactoryPresets, SixInMenuOrderTheFirstTwoFavourites) {
    const std::pair<const char*, bool> expected[] = {
        {"Photo date + slug", true}, {"Clean filenames", true},   {"Camera import", false},
        {"Sequence only", false},    {"Template archive", false}, {"Place from export", false},
    };
    const auto presets = FactoryPresets::all();
    ASSERT_EQ(presets.size(), std::size(expected));
    for (std::size_t i = 0; i < presets.size(); ++i) {
        EXPECT_EQ(presets[i].name, expected[i].first);
        EXPECT_EQ(presets[i].favorite, expected[i].second) << expected[i].first;
        EXPECT_EQ(presets[i].format, 1);
        EXPECT_EQ(presets[i].shortcut, std::nullopt);
        // Every step is on, and every rule builds back with nothing skipped.
        const auto built = presets[i].makePipeline();
        EXPECT_TRUE(built.skipped.empty());
        EXPECT_EQ(built.pipeline.steps.size(), presets[i].rules.size());
        for (const auto& rule : presets[i].rules) {
            EXPECT_TRUE(rule.isEnabled) << expected[i].first;
        }
    }
    EXPECT_EQ(presets[4], FactoryPresets::templateArchive());
}

TEST(FactoryPresets, WriteExactlyTheirRules) {
    EXPECT_EQ(FactoryPresets::cleanFilenames().data(), R"({
  "favorite": true,
  "format": 1,
  "name": "Clean filenames",
  "rules": [
    {
      "characters": "",
      "enabled": true,
      "first": 0,
      "kind": "remove",
      "last": 0,
      "trimSpaces": true
    },
    {
      "enabled": true,
      "isCaseSensitive": false,
      "kind": "replace",
      "pairs": [
        {
          "find": " ",
          "isEnabled": true,
          "with": "-"
        },
        {
          "find": "_",
          "isEnabled": true,
          "with": "-"
        }
      ]
    },
    {
      "enabled": true,
      "extensionMode": "lower",
      "kind": "case",
      "mode": "lower"
    }
  ]
}
)");
    EXPECT_EQ(FactoryPresets::cameraImport().data(), R"({
  "favorite": false,
  "format": 1,
  "name": "Camera import",
  "rules": [
    {
      "enabled": true,
      "ignoreCase": true,
      "kind": "regex",
      "pairs": [
        {
          "isEnabled": true,
          "pattern": "^(?:IMG|DSCN?|P)[_-]?(\\d+)$",
          "replacement": "photo-$1"
        }
      ]
    },
    {
      "enabled": true,
      "format": "yyyy-MM-dd",
      "kind": "date",
      "position": "before",
      "separator": "_",
      "source": "created"
    },
    {
      "enabled": true,
      "extensionMode": "lower",
      "kind": "case",
      "mode": "same"
    }
  ]
}
)");
}

TEST(FactoryPresets, BuildTheirRulesBack) {
    const std::pair<Preset, std::vector<AnyRule>> cases[] = {
        {FactoryPresets::photoDatePlusSlug(),
         {ReplaceRule("IMG_", "santa-cruz-", false),
          DateRule(DateRule::Source::modified, "yyyy-MM-dd", DateRule::Position::before, "_", std::nullopt)}},
        {FactoryPresets::sequenceOnly(), {CounterRule(CounterRule::Position::replace, 1, 1, 3, "-")}},
        {FactoryPresets::templateArchive(),
         {TemplateRule("{date:yyyyMMdd}_{parent}_{counter:000}", std::nullopt)}},
        {FactoryPresets::placeFromExport(),
         {SegmentRule(SegmentRule::Selection::delimited, "_", 2, 1, 4, 4, SegmentRule::Action::keepOnly)}},
    };
    for (const auto& [preset, rules] : cases) {
        const auto built = Preset::decode(preset.data()).makePipeline();
        ASSERT_EQ(built.pipeline.steps.size(), rules.size()) << preset.name;
        for (std::size_t i = 0; i < rules.size(); ++i) {
            EXPECT_EQ(anyRule(*built.pipeline.steps[i].rule), rules[i]) << preset.name;
        }
    }
}

} // namespace
} // namespace morvane
