#include "engine/core/RenamePipeline.h"

#include "engine/metadata/MetadataCache.h"
#include "engine/rules/CaseRule.h"
#include "engine/rules/DateRule.h"
#include "engine/rules/ReplaceRule.h"
#include "engine/rules/TemplateRule.h"
#include "engine/testing/Items.h"
#include "engine/testing/ScriptedMetadata.h"
#include "engine/testing/ScriptedRules.h"

#include <gtest/gtest.h>

namespace morvane {
namespace {

using testing::appendOrFail;
using testing::item;
using testing::items;
using testing::ScriptedRule;
using Kind = RenameStatus::Kind;

RenamePipeline replacing(std::string find, std::string with) {
    return RenamePipeline({makeStep(ReplaceRule(std::move(find), std::move(with), false))});
}

std::vector<Kind> kinds(const RenamePlan& plan) {
    std::vector<Kind> result;
    for (const auto& entry : plan.entries) {
        result.push_back(entry.status.kind);
    }
    return result;
}

TEST(RenamePipeline, DecidesStatuses) {
    struct Case {
        const char* label;
        RenamePipeline pipeline;
        std::vector<FileItem> items;
        std::vector<Kind> expected;
    };
    const Case cases[] = {
        {"no steps", RenamePipeline{}, items({"a.txt", "b.txt"}), {Kind::unchanged, Kind::unchanged}},
        {"two onto one", replacing("a", "c"), items({"a.txt", "c.txt"}), {Kind::duplicate, Kind::duplicate}},
        {"onto an excluded item",
         replacing("a", "b"),
         {item("a.txt"), item("b.txt", "/d", false)},
         {Kind::duplicate, Kind::excluded}},
        {"swap is no conflict",
         RenamePipeline(
             {makeStep(ReplaceRule({{"a", "#", true}, {"b", "a", true}, {"#", "b", true}}, true))}),
         items({"a.txt", "b.txt"}),
         {Kind::rename, Kind::rename}},
        {"same name in other folders",
         replacing("a", "c"),
         {item("a.txt", "/x"), item("a.txt", "/y")},
         {Kind::rename, Kind::rename}},
        {"case only",
         RenamePipeline({makeStep(CaseRule(CaseRule::Mode::lower, CaseRule::ExtensionMode::same))}),
         items({"Report.txt"}),
         {Kind::caseOnlyRename}},
        {"two existing names differing in case",
         RenamePipeline{},
         items({"A.txt", "a.txt"}),
         {Kind::duplicate, Kind::duplicate}},
        {"slash is invalid", replacing("a", "a/"), items({"a.txt"}), {Kind::invalid}},
        {"empty is invalid", replacing("a", ""), items({"a"}), {Kind::invalid}},
        {"odd existing name untouched", replacing("zzz", "y"), items({".hidden"}), {Kind::unchanged}},
        {"new names differing only in composition",
         testing::renaming({{"a.txt", "caf\u00e9.txt"}, {"b.txt", "cafe\u0301.txt"}}),
         items({"a.txt", "b.txt"}),
         {Kind::duplicate, Kind::duplicate}},
        // A case-insensitive volume holds these as one name: each sigma is
        // lower-cased on its own, never to the final form "ς".
        {"capital and small sigma at the end of a word",
         RenamePipeline{},
         items({"\u039F\u0394\u039F\u03A3", "\u03BF\u03B4\u03BF\u03C3"}),
         {Kind::duplicate, Kind::duplicate}},
        // Only the normalization form changes: nothing to rename.
        {"normalization only", replacing("e\u0301", "\u00e9"), items({"cafe\u0301.txt"}), {Kind::unchanged}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(kinds(c.pipeline.plan(c.items)), c.expected) << c.label;
    }
}

// Enough names that many share a slot of the counting table before settling.
TEST(RenamePipeline, FindsEachCollisionAmongManyNamesAndFolders) {
    std::vector<FileItem> all;
    for (int i = 0; i < 300; ++i) {
        all.push_back(item("a" + std::to_string(i) + ".txt", "/x"));
        all.push_back(item("B" + std::to_string(i) + ".txt", "/x"));
        all.push_back(item("b" + std::to_string(i) + ".txt", "/y"));
    }
    all.push_back(item("a7.TXT", "/y", false));
    const std::string longFolder = "/home/someone/Pictures/Summer 2024";
    all.push_back(item("\u00c9b.txt", longFolder));
    all.push_back(item("e\u0301A.TXT", longFolder));
    all.push_back(item("\u00e9b.txt", "/x"));
    const RenamePipeline pipeline({makeStep(ReplaceRule("b", "a", false))});
    const RenamePlan plan = pipeline.plan(all);
    for (std::size_t i = 0; i + 4 < all.size(); ++i) {
        const Kind expected = i % 3 != 2 ? Kind::duplicate : i == 3 * 7 + 2 ? Kind::duplicate : Kind::rename;
        EXPECT_EQ(plan.entries[i].status.kind, expected) << all[i].directory << "/" << all[i].name;
    }
    // Names equal but for case and composition, in one folder only.
    EXPECT_EQ(plan.entries[all.size() - 3].status.kind, Kind::duplicate);
    EXPECT_EQ(plan.entries[all.size() - 2].status.kind, Kind::duplicate);
    EXPECT_EQ(plan.entries[all.size() - 1].status.kind, Kind::rename);
    // Taking the items over gives the same plan.
    std::vector<FileItem> taken = all;
    EXPECT_EQ(pipeline.plan(std::move(taken)), plan);
}

TEST(RenamePipeline, PlanCarriesNamesOperationsAndReadiness) {
    const auto plan =
        replacing("IMG_", "Trip_").plan({item("IMG_1.jpg"), item("x.jpg"), item("IMG_2.jpg", "/d", false)});
    ASSERT_EQ(plan.entries.size(), 3u);
    EXPECT_EQ(plan.entries[0].newName, "Trip_1.jpg");
    EXPECT_EQ(plan.entries[2].newName, "IMG_2.jpg");
    EXPECT_EQ(plan.operations(),
              (std::vector<RenameOperation>{{item("IMG_1.jpg"), "IMG_1.jpg", "Trip_1.jpg"}}));
    EXPECT_TRUE(plan.canRename());

    const auto invalid = replacing("a", ":").plan(items({"a", "b"}));
    EXPECT_EQ(invalid.entries[0].status, RenameStatus::invalid(NameValidationError::forbidden(":")));
    EXPECT_TRUE(invalid.hasConflicts());
    EXPECT_FALSE(invalid.canRename());
    EXPECT_FALSE(RenamePipeline{}.plan(items({"a"})).canRename());
}

TEST(RenamePipeline, AThrowingRuleIsBypassedForThatItemOnly) {
    const RenamePipeline pipeline({makeStep(appendOrFail("-x", "c", "c failed")),
                                   makeStep(appendOrFail("-y", "b", "b failed")),
                                   makeStep(appendOrFail("-z", "d", "d failed"), false)});
    const auto plan = pipeline.plan(items({"a", "b", "c", "d", "e"}));
    std::vector<std::string> names;
    for (const auto& entry : plan.entries) {
        names.push_back(entry.newName);
    }
    EXPECT_EQ(names, (std::vector<std::string>{"a-x-y", "b-x", "c-y", "d-x-y", "e-x-y"}));
    EXPECT_EQ(plan.ruleErrors, (std::map<std::size_t, std::string>{{0, "c failed"}, {1, "b failed"}}));
    // The disabled step neither counts nor records an error.
    EXPECT_EQ(plan.changedCounts, (std::vector<std::size_t>{4, 4, 0}));
}

TEST(RenamePipeline, TheLastFailingItemsMessageWinsAndForeignErrorsAreDescribed) {
    const RenamePipeline pipeline({makeStep(ScriptedRule([](FileName&, const RuleContext& context) {
        if (context.item.name == "b")
            throw RuleError("b broke");
        if (context.item.name == "d")
            throw std::runtime_error("d broke");
    }))});
    EXPECT_EQ(pipeline.plan(items({"a", "b", "c", "d"})).ruleErrors.at(0), "d broke");
    EXPECT_EQ(pipeline.plan(items({"a", "b", "c"})).ruleErrors.at(0), "b broke");
}

TEST(RenamePipeline, ExcludedItemsDoNotAdvanceTheIndex) {
    const RenamePipeline pipeline({makeStep(ScriptedRule([](FileName& name, const RuleContext& context) {
        name.stem += "-" + std::to_string(context.index) + "of" + std::to_string(context.total);
    }))});
    const std::vector<FileItem> list{item("a"), item("b", "/d", false), item("c")};
    const auto plan = pipeline.plan(list);
    EXPECT_EQ(plan.entries[0].newName, "a-0of2");
    EXPECT_EQ(plan.entries[1].newName, "b");
    EXPECT_EQ(plan.entries[2].newName, "c-1of2");
    // What a rule receives is what planning gives it.
    EXPECT_EQ(pipeline.inputStems(1, list), (std::vector<std::string>{"a-0of2", "b", "c-1of2"}));
}

// Each item is numbered in its folder as the run comes, for planning and
// for what a rule receives alike.
TEST(RenamePipeline, NumbersItemsWithinTheirFolders) {
    const RenamePipeline pipeline({makeStep(ScriptedRule([](FileName& name, const RuleContext& context) {
        name.stem += "-" + std::to_string(context.folderIndex);
    }))});
    const std::vector<FileItem> list{item("a", "/p"), item("b", "/q"), item("c", "/p", false),
                                     item("d", "/p"), item("e", "/q")};
    std::vector<std::string> names;
    for (const auto& entry : pipeline.plan(list).entries) {
        names.push_back(entry.newName);
    }
    EXPECT_EQ(names, (std::vector<std::string>{"a-0", "b-0", "c", "d-1", "e-1"}));
    EXPECT_EQ(pipeline.inputStems(1, list), (std::vector<std::string>{"a-0", "b-0", "c", "d-1", "e-1"}));
}

// A name written by hand takes the rules' place for its item and is judged
// like any other: validated, and counted against the others' names. The
// item keeps its number; the rules count no change for it.
TEST(RenamePipeline, EditedNamesStandInForTheRulesAndAreChecked) {
    RenamePipeline pipeline({makeStep(ScriptedRule([](FileName& name, const RuleContext& context) {
        name.stem = "n" + std::to_string(context.index);
    }))});
    pipeline.editedNames = std::make_shared<const EditedNames>(EditedNames{{"/d/b.txt", "mine.txt"},
                                                                           {"/d/c.txt", "n0.txt"},
                                                                           {"/d/d.txt", "x/y"},
                                                                           {"/d/e.txt", "e.txt"},
                                                                           {"/d/f.txt", "kept.txt"},
                                                                           {"/d/gone.txt", "z.txt"}});
    const auto plan = pipeline.plan({item("a.txt"), item("b.txt"), item("c.txt"), item("d.txt"),
                                     item("e.txt"), item("f.txt", "/d", false), item("g.txt")});
    std::vector<std::string> names;
    std::vector<bool> edited;
    for (const auto& entry : plan.entries) {
        names.push_back(entry.newName);
        edited.push_back(entry.isEdited);
    }
    EXPECT_EQ(names,
              (std::vector<std::string>{"n0.txt", "mine.txt", "n0.txt", "x/y", "e.txt", "f.txt", "n5.txt"}));
    EXPECT_EQ(edited, (std::vector<bool>{false, true, true, true, true, false, false}));
    EXPECT_EQ(kinds(plan), (std::vector<Kind>{Kind::duplicate, Kind::rename, Kind::duplicate, Kind::invalid,
                                              Kind::unchanged, Kind::excluded, Kind::rename}));
    EXPECT_EQ(plan.changedCounts, (std::vector<std::size_t>{2}));
}

// A plan stopped from outside (here by its own rule, at the 1000th item)
// gives nothing, and stops within a few hundred items.
TEST(RenamePipeline, AStoppedPlanEndsEarlyAndGivesNothing) {
    std::stop_source source;
    std::size_t applied = 0;
    const RenamePipeline pipeline({makeStep(ScriptedRule([&](FileName& name, const RuleContext&) {
        if (++applied == 1000) {
            source.request_stop();
        }
        name.stem += "-x";
    }))});
    std::vector<FileItem> list;
    for (int i = 0; i < 20000; ++i) {
        list.push_back(item("f" + std::to_string(i)));
    }
    EXPECT_EQ(pipeline.plan(list, source.get_token()), std::nullopt);
    EXPECT_LT(applied, 1300u);

    applied = 0;
    const auto finished = pipeline.plan(list, std::stop_source().get_token());
    ASSERT_TRUE(finished.has_value());
    EXPECT_EQ(finished->entries.size(), list.size());
    EXPECT_EQ(finished->entries.back().newName, "f19999-x");
}

TEST(RenamePipeline, TraceShowsEveryStep) {
    const RenamePipeline pipeline({makeStep(ReplaceRule("a", "b", false)),
                                   makeStep(ReplaceRule("b", "c", false), false),
                                   makeStep(appendOrFail("-x", "ab.txt", "no")),
                                   makeStep(ScriptedRule([](FileName& name, const RuleContext& context) {
                                       name.stem += std::to_string(context.total);
                                   }))});
    EXPECT_EQ(pipeline.trace(item("ab.txt"), 4),
              (std::vector<StepTrace>{{0, "bb.txt", true, std::nullopt},
                                      {1, "bb.txt", false, std::nullopt},
                                      {2, "bb.txt", true, "no"},
                                      {3, "bb5.txt", true, std::nullopt}}));
    EXPECT_EQ(pipeline.trace(item("ab.txt"), 4, 10).back().output, "bb10.txt");
}

TEST(RenamePipeline, InputStemsStopBeforeTheGivenStep) {
    const RenamePipeline pipeline(
        {makeStep(ReplaceRule("a", "b", false)), makeStep(ReplaceRule("b", "c", false), false),
         makeStep(appendOrFail("-x", "a2.txt", "no")), makeStep(ReplaceRule("x", "y", false))});
    const auto list = items({"a1.txt", "a2.txt"});
    EXPECT_EQ(pipeline.inputStems(0, list), (std::vector<std::string>{"a1", "a2"}));
    EXPECT_EQ(pipeline.inputStems(2, list), (std::vector<std::string>{"b1", "b2"}));
    EXPECT_EQ(pipeline.inputStems(3, list), (std::vector<std::string>{"b1-x", "b2"}));
    EXPECT_EQ(pipeline.inputStems(99, list), (std::vector<std::string>{"b1-y", "b2"}));
}

TEST(RenamePipeline, NeedsWhatItsEnabledStepsRead) {
    DateRule taken;
    taken.source = DateRule::Source::taken;
    RenamePipeline pipeline({makeStep(CaseRule()), makeStep(DateRule(), false), makeStep(taken),
                             makeStep(TemplateRule("{album}", std::nullopt), false)});
    EXPECT_EQ(pipeline.needsDetails(), (ItemDetails{false, true, false}));
    pipeline.steps[1].isEnabled = true;
    pipeline.steps[3].isEnabled = true;
    EXPECT_EQ(pipeline.needsDetails(), (ItemDetails{true, true, true}));
}

// A file without what a rule reads is noted on its item: the rule is
// bypassed for it (an error), or writes nothing where the value goes (a
// warning); the rule itself is not marked as failed.
TEST(RenamePipeline, WhatAFileLacksIsNotedOnItsItem) {
    auto reader = std::make_shared<testing::ScriptedMetadataReader>();
    reader->files["/d/a.jpg"].taken = CaptureDate{*LocalDateTime::valid(2024, 3, 5, 10, 0, 0), 0};
    reader->files["/d/a.jpg"].album = "Trip";
    RenamePipeline pipeline(
        {makeStep(DateRule(DateRule::Source::taken, "yyyy", DateRule::Position::before, "_", "UTC")),
         makeStep(TemplateRule("{name}{album}", std::nullopt))});
    auto list = items({"a.jpg", "b.jpg", "c.jpg"});
    list[2].isIncluded = false;
    auto cache = std::make_shared<MetadataCache>(reader);
    ASSERT_TRUE(cache->read(list, pipeline.needsDetails()));
    pipeline.metadata = cache;

    const RenamePlan plan = pipeline.plan(list);
    EXPECT_EQ(plan.entries[0].newName, "2024_aTrip.jpg");
    EXPECT_EQ(plan.entries[1].newName, "b.jpg");
    EXPECT_EQ(plan.ruleErrors, (std::map<std::size_t, std::string>{}));
    EXPECT_EQ(plan.changedCounts, (std::vector<std::size_t>{1, 1}));
    EXPECT_EQ(plan.notes,
              (std::vector<ItemNote>{
                  {1, 0, ItemNote::Level::error, "\u201Cb.jpg\u201D has no capture date"},
                  {1, 1, ItemNote::Level::warning, "\u201Cb.jpg\u201D has no value for {album}"}}));
    EXPECT_EQ(plan.notesFor(0).size(), 0U);
    EXPECT_EQ(plan.notesFor(1).size(), 2U);
    EXPECT_TRUE(plan.hasItemErrors());
    EXPECT_EQ(pipeline.trace(list[1], 1)[0].error, "\u201Cb.jpg\u201D has no capture date");
    EXPECT_EQ(pipeline.inputStems(1, list), (std::vector<std::string>{"2024_a", "b", "c"}));

    // Without the metadata, rules see none.
    pipeline.metadata = nullptr;
    EXPECT_EQ(pipeline.plan(list).entries[0].newName, "a.jpg");
}

} // namespace
} // namespace morvane
