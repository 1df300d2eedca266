#include "engine/presets/PresetRule.h"

#include "engine/presets/AnyRule.h"
#include "engine/presets/RuleCatalog.h"
#include "engine/support/JsonFields.h"
#include "engine/testing/ScriptedRules.h"

#include <gtest/gtest.h>

namespace morvane {
namespace {

using nlohmann::json;

PresetRule envelope(const char* text) {
    return json::parse(text).get<PresetRule>();
}

TEST(PresetRule, ReadsKindSwitchAndParametersFromOneFlatObject) {
    const PresetRule rule = envelope(R"({"kind":"case","enabled":false,"mode":"upper","extra":[1,true]})");
    EXPECT_EQ(rule.kind, "case");
    EXPECT_FALSE(rule.isEnabled);
    EXPECT_EQ(rule.parameters.json(), json::parse(R"({"mode":"upper","extra":[1,true]})"));
    // Only a boolean switches a rule off.
    EXPECT_TRUE(envelope(R"({"kind":"case","enabled":"no"})").isEnabled);
    EXPECT_TRUE(envelope(R"({"kind":"case"})").isEnabled);
    for (const char* bad : {R"({"enabled":true})", R"({"kind":3})", R"([])"}) {
        EXPECT_THROW(envelope(bad), DecodingError) << bad;
    }
}

TEST(PresetRule, OnlyKnownKindsBecomeSteps) {
    EXPECT_FALSE(envelope(R"({"kind":"letterCase"})").makeStep().has_value());
    // A rule type the catalog does not know cannot be stored.
    EXPECT_THROW(PresetRule::fromStep(makeStep(testing::ScriptedRule([](FileName&, const RuleContext&) {}))),
                 RuleError);
}

TEST(JsonFields, WholeNumbersOnly) {
    const json object = json::parse(R"({"a":3,"b":3.0,"c":2.5,"d":1e300,"e":"3","f":-9223372036854775808,
                                        "g":18446744073709551615})");
    EXPECT_EQ(json_fields::requireInteger(object, "a"), 3);
    EXPECT_EQ(json_fields::requireInteger(object, "b"), 3);
    EXPECT_EQ(json_fields::requireInteger(object, "f"), INT64_MIN);
    for (const char* key : {"c", "d", "e", "g", "missing"}) {
        EXPECT_THROW(json_fields::requireInteger(object, key), DecodingError) << key;
    }
    EXPECT_EQ(json_fields::canonicalNumbers(json::parse(R"({"w":[3.0,2.5]})")).dump(), R"({"w":[3,2.5]})");
}

} // namespace
} // namespace morvane
