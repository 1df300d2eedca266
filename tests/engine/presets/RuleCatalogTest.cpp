#include "engine/presets/RuleCatalog.h"

#include "engine/presets/AnyRule.h"
#include "engine/presets/PresetRule.h"
#include "engine/support/JsonFields.h"

#include <gtest/gtest.h>

namespace morvane {
namespace {

using nlohmann::json;

json envelopeOf(const RenameRule& rule, bool isEnabled = true) {
    return PresetRule::fromStep(PipelineStep{shareRule(*anyRule(rule)), isEnabled});
}

std::optional<AnyRule> built(const json& envelope) {
    const auto step = envelope.get<PresetRule>().makeStep();
    return step ? anyRule(*step->rule) : std::nullopt;
}

// The message of the error that building the rule of `envelope` raises.
std::string failure(const char* envelope) {
    try {
        built(json::parse(envelope));
    } catch (const DecodingError& error) {
        return error.what();
    }
    return "(no failure)";
}

TEST(RuleCatalog, DefaultRulesOfEveryKindAndTheirEnvelopes) {
    const std::pair<RuleKind, const char*> cases[] = {
        {RuleKind::name, R"({"kind":"name","enabled":true,"mode":"keep","text":"santa-cruz"})"},
        {RuleKind::segment, R"({"kind":"segment","enabled":true,"selection":"delimited","delimiter":"_",
            "segment":2,"from":1,"to":4,"count":4,"action":"keepOnly"})"},
        {RuleKind::replace, R"({"kind":"replace","enabled":true,"isCaseSensitive":false,
            "pairs":[{"find":"","with":"","isEnabled":true}]})"},
        {RuleKind::regex, R"~({"kind":"regex","enabled":true,"ignoreCase":false,
            "pairs":[{"pattern":"^IMG_(\\d+)","replacement":"photo-$1","isEnabled":true}]})~"},
        {RuleKind::remove, R"({"kind":"remove","enabled":true,"first":0,"last":0,"characters":"",
            "trimSpaces":true})"},
        {RuleKind::add, R"({"kind":"add","enabled":true,"prefix":"","insert":"","insertAt":0,"suffix":""})"},
        {RuleKind::counter, R"({"kind":"counter","enabled":true,"position":"suffix","start":1,"step":1,
            "width":3,"separator":"-"})"},
        {RuleKind::date, R"({"kind":"date","enabled":true,"source":"modified","format":"yyyy-MM-dd",
            "position":"before","separator":"_"})"},
        {RuleKind::folder, R"({"kind":"folder","enabled":true,"position":"before","separator":"-"})"},
        {RuleKind::template_, R"({"kind":"template","enabled":true,
            "template":"{date:yyyyMMdd}_{parent}_{counter:000}"})"},
        {RuleKind::letterCase, R"({"kind":"case","enabled":true,"mode":"lower","extensionMode":"lower"})"},
    };
ASSERT_EQ(std::size(cases), allRuleKinds.size());
for (std::size_t i = 0; i < allRuleKinds.size(); ++i) {
    const auto& [kind, text] = cases[i];
    ASSERT_EQ(kind, allRuleKinds[i]);
    const auto rule = RuleCatalog::makeDefault(kind);
    EXPECT_EQ(rule->kind(), kind);
    EXPECT_EQ(envelopeOf(*rule), json::parse(text)) << text;
    const auto back = built(json::parse(text));
    ASSERT_TRUE(back.has_value()) << text;
    EXPECT_EQ(*back, anyRule(*rule)) << text;
}
}

// Values unlike the defaults and unlike each other, so that a field written
// under another field's key cannot go unnoticed.
TEST(RuleCatalog, EveryKindRoundTripsItsOwnFieldsThroughAnEnvelope) {
    const std::pair<AnyRule, const char*> cases[] = {
        {NameRule(NameRule::Mode::reverse, "x"), R"({"kind":"name","mode":"reverse","text":"x"})"},
        {SegmentRule(SegmentRule::Selection::lastCount, " - ", -1, 2, 5, 7, SegmentRule::Action::moveToEnd),
         R"({"kind":"segment","selection":"lastCount","delimiter":" - ","segment":-1,"from":2,"to":5,
            "count":7,"action":"moveToEnd"})"},
        {RegexRule({{"a", "b", false}, {"c/", "", true}}, true),
         R"({"kind":"regex","ignoreCase":true,"pairs":[{"pattern":"a","replacement":"b","isEnabled":false},
            {"pattern":"c/","replacement":"","isEnabled":true}]})"},
        {RemoveRule(3, 4, "_-", false),
         R"({"kind":"remove","first":3,"last":4,"characters":"_-","trimSpaces":false})"},
        {AffixRule("p", "i", -2, "s"),
         R"({"kind":"add","prefix":"p","insert":"i","insertAt":-2,"suffix":"s"})"},
        {CounterRule(CounterRule::Position::prefix, 10, -5, 2, ""),
         R"({"kind":"counter","position":"prefix","start":10,"step":-5,"width":2,"separator":""})"},
        {DateRule(DateRule::Source::created, "yyyyMMdd", DateRule::Position::after, " ", "Asia/Tokyo"),
         R"({"kind":"date","source":"created","format":"yyyyMMdd","position":"after","separator":" ",
            "timeZoneIdentifier":"Asia/Tokyo"})"},
        {FolderRule(FolderRule::Position::after, " "),
         R"({"kind":"folder","position":"after","separator":" "})"},
        {TemplateRule("{name}", "UTC"),
         R"({"kind":"template","template":"{name}","timeZoneIdentifier":"UTC"})"},
        {CaseRule(CaseRule::Mode::title, CaseRule::ExtensionMode::same),
         R"({"kind":"case","mode":"title","extensionMode":"same"})"},
    };
    for (const auto& [rule, text] : cases) {
        json expected = json::parse(text);
        expected["enabled"] = false;
        EXPECT_EQ(envelopeOf(*shareRule(rule), false), expected) << text;
        EXPECT_EQ(built(json::parse(text)), rule) << text;
    }
}

TEST(RuleCatalog, IncompleteEnvelopesTakeTheDefaults) {
    EXPECT_EQ(built(json::parse(R"({"kind":"counter"})")), AnyRule(CounterRule()));
    EXPECT_TRUE(json::parse(R"({"kind":"counter"})").get<PresetRule>().makeStep()->isEnabled);
    EXPECT_EQ(built(json::parse(R"({"kind":"counter","width":5.0,"start":-2})")),
              AnyRule(CounterRule(CounterRule::Position::suffix, -2, 1, 5, "-")));
    // A given list replaces the default list whole; the missing flag keeps false.
    EXPECT_EQ(built(json::parse(
                  R"({"kind":"regex","pairs":[{"pattern":"x","replacement":"y","isEnabled":true}]})")),
              AnyRule(RegexRule("x", "y", false)));
    EXPECT_EQ(built(json::parse(R"({"kind":"regex","pairs":[]})")), AnyRule(RegexRule({}, false)));
    // Missing, null and present optional zones; keys of a later version are ignored.
    EXPECT_EQ(built(json::parse(R"({"kind":"date","timeZoneIdentifier":null,"locale":"fr"})")),
              AnyRule(DateRule()));
    EXPECT_EQ(built(json::parse(R"({"kind":"template","template":"","timeZoneIdentifier":"UTC"})")),
              AnyRule(TemplateRule("", "UTC")));
    EXPECT_EQ(built(json::parse(R"({"kind":"name","mode":"fixed"})")),
              AnyRule(NameRule(NameRule::Mode::fixed, "santa-cruz")));
}

TEST(RuleCatalog, WrongTypesAndUnknownValuesFailNamingTheSetting) {
    const std::pair<const char*, const char*> cases[] = {
        {R"({"kind":"name","mode":"Keep"})", "The setting “mode” has an unknown value “Keep”"},
        {R"({"kind":"name","text":null})", "The setting “text” must be text"},
        {R"({"kind":"segment","selection":"words"})", "The setting “selection” has an unknown value “words”"},
        {R"({"kind":"segment","action":"keep"})", "The setting “action” has an unknown value “keep”"},
        {R"({"kind":"segment","from":1.5})", "The setting “from” must be a whole number"},
        {R"({"kind":"segment","count":"4"})", "The setting “count” must be a whole number"},
        {R"({"kind":"regex","pairs":{"pattern":"a"}})", "The setting “pairs” must be a list"},
        {R"({"kind":"regex","pairs":[{"pattern":"a","replacement":"b"}]})",
         "The setting “isEnabled” is missing"},
        {R"({"kind":"regex","pairs":["a"]})", "Rule settings must be a JSON object"},
        {R"({"kind":"regex","ignoreCase":0})", "The setting “ignoreCase” must be true or false"},
        {R"({"kind":"remove","trimSpaces":"yes"})", "The setting “trimSpaces” must be true or false"},
        {R"({"kind":"remove","last":1e19})", "The setting “last” must be a whole number"},
        {R"({"kind":"add","insertAt":true})", "The setting “insertAt” must be a whole number"},
        {R"({"kind":"add","suffix":["_v2"]})", "The setting “suffix” must be text"},
        {R"({"kind":"counter","width":2.5})", "The setting “width” must be a whole number"},
        {R"({"kind":"counter","position":"middle"})", "The setting “position” has an unknown value “middle”"},
        {R"({"kind":"date","source":"accessed"})", "The setting “source” has an unknown value “accessed”"},
        {R"({"kind":"date","position":"after name"})",
         "The setting “position” has an unknown value “after name”"},
        {R"({"kind":"date","timeZoneIdentifier":9})", "The setting “timeZoneIdentifier” must be text"},
        {R"({"kind":"folder","position":1})", "The setting “position” must be text"},
        {R"({"kind":"template","template":{}})", "The setting “template” must be text"},
        {R"({"kind":"template","timeZoneIdentifier":false})",
         "The setting “timeZoneIdentifier” must be text"},
        {R"({"kind":"case","extensionMode":"title"})",
         "The setting “extensionMode” has an unknown value “title”"},
    };
    for (const auto& [envelope, message] : cases) {
        EXPECT_EQ(failure(envelope), message) << envelope;
    }
}

} // namespace
} // namespace morvane
