#include "engine/presets/RuleCatalog.h"

#include "engine/presets/AnyRule.h"
#include "engine/presets/PresetRule.h"
#include "engine/support/JsonFields.h"

#include <gtest/gtest.h>

namespace morvane {
namespace {

using nlohmann::json;

json envelopeOf(const AnyRule& rule) {
    return PresetRule::fromStep(PipelineStep{shareRule(rule), true});
}

std::optional<AnyRule> built(const char* envelope) {
    const auto step = json::parse(envelope).get<PresetRule>().makeStep();
    return step ? anyRule(*step->rule) : std::nullopt;
}

AnyRule defaultOf(RuleKind kind) {
    return *anyRule(*RuleCatalog::makeDefault(kind));
}

// Rules whose fields of one type hold different values, so that a field
// written or read under another's key shows (the defaults where a kind has
// no other setting worth a case).
TEST(RuleCatalog, RulesRoundTripThroughTheirEnvelopes) {
    const std::pair<AnyRule, const char*> cases[] = {
        {defaultOf(RuleKind::name), R"({"kind":"name","mode":"keep","text":"santa-cruz"})"},
        {defaultOf(RuleKind::replace),
         R"({"kind":"replace","isCaseSensitive":false,"pairs":[{"find":"","with":"","isEnabled":true}]})"},
        {defaultOf(RuleKind::regex), R"~({"kind":"regex","ignoreCase":false,
            "pairs":[{"pattern":"^IMG_(\\d+)","replacement":"photo-$1","isEnabled":true}]})~"},
        {defaultOf(RuleKind::folder), R"({"kind":"folder","position":"before","separator":"-"})"},
        // Without a zone, no zone key is written.
        {defaultOf(RuleKind::date),
         R"({"kind":"date","source":"modified","format":"yyyy-MM-dd","position":"before","separator":"_"})"},
        {defaultOf(RuleKind::template_),
         R"({"kind":"template","template":"{date:yyyyMMdd}_{parent}_{counter:000}"})"},
        {SegmentRule(SegmentRule::Selection::lastCount, "-", -1, 2, 5, 7, SegmentRule::Action::moveToEnd),
         R"({"kind":"segment","selection":"lastCount","delimiter":"-","segment":-1,"from":2,"to":5,"count":7,
             "action":"moveToEnd"})"},
        {RemoveRule(3, 4, "_", false),
         R"({"kind":"remove","first":3,"last":4,"characters":"_","trimSpaces":false})"},
        {AffixRule("p", "i", -2, "s"),
         R"({"kind":"add","prefix":"p","insert":"i","insertAt":-2,"suffix":"s"})"},
        {CounterRule(CounterRule::Position::prefix, 10, -5, 2, ""),
         R"({"kind":"counter","position":"prefix","start":10,"step":-5,"width":2,"separator":""})"},
        {CounterRule(CounterRule::Position::suffix, 1, 1, 3, "-", true),
         R"({"kind":"counter","position":"suffix","start":1,"step":1,"width":3,"separator":"-",
             "perFolder":true})"},
        {DateRule(DateRule::Source::created, "yyyy", DateRule::Position::after, " ", "UTC"),
         R"({"kind":"date","source":"created","format":"yyyy","position":"after","separator":" ",
             "timeZoneIdentifier":"UTC"})"},
        {DateRule(DateRule::Source::taken, "yyyy-MM-dd_HH-mm-ss", DateRule::Position::before, "",
                  std::nullopt),
         R"({"kind":"date","source":"taken","format":"yyyy-MM-dd_HH-mm-ss","position":"before",
             "separator":""})"},
        {TemplateRule("{name}", "UTC"),
         R"({"kind":"template","template":"{name}","timeZoneIdentifier":"UTC"})"},
        {TemplateRule("{counter}", std::nullopt, true),
         R"({"kind":"template","template":"{counter}","perFolder":true})"},
        {CaseRule(CaseRule::Mode::title, CaseRule::ExtensionMode::same),
         R"({"kind":"case","mode":"title","extensionMode":"same"})"},
        {CaseRule(CaseRule::Mode::sentence, CaseRule::ExtensionMode::upper),
         R"({"kind":"case","mode":"sentence","extensionMode":"upper"})"},
    };
    for (const auto& [rule, text] : cases) {
        json expected = json::parse(text);
        expected["enabled"] = true;
        EXPECT_EQ(envelopeOf(rule), expected);
        EXPECT_EQ(built(text), rule) << text;
    }
}

TEST(RuleCatalog, IncompleteEnvelopesTakeTheDefaults) {
    EXPECT_EQ(built(R"({"kind":"counter"})"), AnyRule(CounterRule()));
    EXPECT_EQ(built(R"({"kind":"counter","width":3.0,"start":-2})"),
              AnyRule(CounterRule(CounterRule::Position::suffix, -2, 1, 3, "-")));
    // A given list replaces the default list whole; the missing flag keeps false.
    EXPECT_EQ(built(R"({"kind":"regex","pairs":[{"pattern":"x","replacement":"y","isEnabled":true}]})"),
              AnyRule(RegexRule("x", "y", false)));
    // A null zone is no zone, a null setting keeps its default; a key of a
    // later version is ignored.
    EXPECT_EQ(built(R"({"kind":"date","timeZoneIdentifier":null,"locale":"fr"})"), AnyRule(DateRule()));
    EXPECT_EQ(built(R"({"kind":"counter","width":null,"start":5})"),
              AnyRule(CounterRule(CounterRule::Position::suffix, 5, 1, 3, "-")));
}

TEST(RuleCatalog, WrongTypesAndUnknownValuesNameTheSetting) {
    const std::pair<const char*, const char*> cases[] = {
        {R"({"kind":"name","mode":"Keep"})", "The setting “mode” has an unknown value “Keep”"},
        {R"({"kind":"segment","from":1.5})", "The setting “from” must be a whole number"},
        {R"({"kind":"regex","pairs":[{"pattern":"a","replacement":"b"}]})",
         "The setting “isEnabled” is missing"},
        {R"({"kind":"remove","trimSpaces":"yes"})", "The setting “trimSpaces” must be true or false"},
        {R"({"kind":"add","insertAt":"3"})", "The setting “insertAt” must be a whole number"},
        {R"({"kind":"counter","width":2.5})", "The setting “width” must be a whole number"},
        {R"({"kind":"counter","perFolder":"yes"})", "The setting “perFolder” must be true or false"},
        {R"({"kind":"date","source":"accessed"})", "The setting “source” has an unknown value “accessed”"},
        {R"({"kind":"folder","position":1})", "The setting “position” must be text"},
        {R"({"kind":"template","template":{}})", "The setting “template” must be text"},
    };
    for (const auto& [envelope, message] : cases) {
        try {
            built(envelope);
            ADD_FAILURE() << envelope << " was built";
        } catch (const DecodingError& error) {
            EXPECT_STREQ(error.what(), message);
        }
    }
}

} // namespace
} // namespace morvane
