#include "app/model/RuleList.h"

#include "ModelTesting.h"
#include "engine/presets/FactoryPresets.h"
#include "engine/presets/RuleCatalog.h"

namespace morvane::app::testing {
namespace {

RegexRule threePatterns() {
    return RegexRule({{"a", "b", true}, {"c", "d", false}, {"e", "f", true}}, true);
}

std::vector<RuleKind> kinds(const std::vector<RuleEntry>& entries) {
    std::vector<RuleKind> result;
    for (const auto& entry : entries) {
        result.push_back(kindOf(entry.rule));
    }
    return result;
}

} // namespace

class RuleListTest : public QObject {
    Q_OBJECT

private slots:
    // A drag takes the entry out and puts it back before another one.
    void placeMovesOneEntryAcrossOthers() {
        RuleList list;
        for (const RuleKind kind :
             {RuleKind::name, RuleKind::replace, RuleKind::letterCase, RuleKind::counter}) {
            list.add(kind);
        }
        const Uuid name = list.entries()[0].id, counter = list.entries()[3].id;
        QVERIFY(!list.place(name, 0));
        QVERIFY(!list.place(name, 1));
        QVERIFY(!list.place(name, 5));
        QVERIFY(!list.place(Uuid::random(), 0));
        QVERIFY(list.place(name, 3));
        QCOMPARE(kinds(list.entries()),
                 (std::vector{RuleKind::replace, RuleKind::letterCase, RuleKind::name, RuleKind::counter}));
        QVERIFY(list.place(counter, 0));
        QCOMPARE(kinds(list.entries()),
                 (std::vector{RuleKind::counter, RuleKind::replace, RuleKind::letterCase, RuleKind::name}));
        QVERIFY(list.place(counter, 4));
        QCOMPARE(kinds(list.entries()),
                 (std::vector{RuleKind::replace, RuleKind::letterCase, RuleKind::name, RuleKind::counter}));
    }

    void moveSwapsAndStopsAtEitherEnd() {
        RuleList list;
        const Uuid first = list.add(RuleKind::name).id;
        list.add(RuleKind::replace);
        list.add(RuleKind::letterCase);
        const Uuid last = list.add(RuleKind::counter).id;
        QVERIFY(!list.move(first, -1));
        QVERIFY(!list.move(last, +1));
        QVERIFY(!list.move(Uuid::random(), 1));
        QVERIFY(list.move(first, 2));
        QCOMPARE(kinds(list.entries()),
                 (std::vector{RuleKind::letterCase, RuleKind::replace, RuleKind::name, RuleKind::counter}));
    }

    void duplicateResetAndDelete() {
        RuleList list(
            {RuleEntry::make(ReplaceRule("x", "y", true)), RuleEntry::make(threePatterns(), false, false)});
        const Uuid regex = list.entries()[1].id;
        QVERIFY(list.duplicate(list.entries()[0].id));
        QCOMPARE(list.entries().size(), std::size_t(3));
        QVERIFY(list.entries()[1].id != list.entries()[0].id);
        QVERIFY(list.entries()[1].rule == list.entries()[0].rule);

        QVERIFY(list.reset(regex));
        const RuleEntry& reset = list.entries()[2];
        QVERIFY(reset.id == regex);
        QVERIFY(!reset.isEnabled && !reset.isExpanded);
        QVERIFY(reset.rule == AnyRule(RegexRule()));

        QVERIFY(list.remove(regex));
        QVERIFY(!list.remove(regex));
        QCOMPARE(list.entries().size(), std::size_t(2));
    }

    void pairRowsGoBothWays() {
        RuleList list({RuleEntry::make(threePatterns()), RuleEntry::make(CaseRule())});
        const Uuid regex = list.entries()[0].id;
        auto rows = *list.listRows(regex);
        QCOMPARE(rows.size(), std::size_t(3));
        QCOMPARE(rows[1].find, std::string("c"));
        QVERIFY(!rows[1].isEnabled);
        rows = removing(rows, {rows[0].id});
        QVERIFY(list.setListRows(regex, rows));
        const auto& rule = std::get<RegexRule>(list.entries()[0].rule);
        QCOMPARE(rule.pairs.size(), std::size_t(2));
        QCOMPARE(rule.pairs[0].pattern, std::string("c"));
        QVERIFY(rule.ignoreCase);
        QVERIFY(!list.listRows(list.entries()[1].id));
        QVERIFY(!list.setListRows(list.entries()[1].id, rows));
    }

    void rowListsNeverEndEmpty() {
        const ListRows blank{ListRow::make()};
        const ListRows added = appending(blank, {{"a", "b"}, {"c", ""}});
        QCOMPARE(added.size(), std::size_t(2));
        QCOMPARE(added[0].find, std::string("a"));
        const ListRows kept = appending({ListRow::make("a")}, {{"b", "c"}});
        QCOMPARE(kept.size(), std::size_t(2));
        QCOMPARE(kept[0].find, std::string("a"));

        const ListRows doubled = duplicating(added, {added[1].id});
        QCOMPARE(doubled.size(), std::size_t(3));
        QCOMPARE(doubled[2].find, std::string("c"));
        QVERIFY(doubled[2].id != doubled[1].id);

        const ListRows none = removing(added, {added[0].id, added[1].id});
        QCOMPARE(none.size(), std::size_t(1));
        QVERIFY(none[0].find.empty() && none[0].with.empty() && none[0].isEnabled);
        QCOMPARE(pairs(added), (PairText::Pairs{{"a", "b"}, {"c", ""}}));
    }

    void addingRowsSaysWhatHappened() {
        const ListRows blank{ListRow::make()};
        QCOMPARE(addingPairs(blank, {{"a", "b"}}, true).message, std::optional<std::string>());
        const RowsEdit three = pastingText(blank, std::string("a\tb\nc\td\ne\tf\n"));
        QCOMPARE(three.rows.size(), std::size_t(3));
        QCOMPARE(three.message, std::optional<std::string>("3 rows added."));
        QCOMPARE(pastingText(blank, std::string("\n\n")).message,
                 std::optional<std::string>("Nothing to add."));
        QCOMPARE(pastingText(blank, std::nullopt).message,
                 std::optional<std::string>("The clipboard has no text."));
        QCOMPARE(importingFile(blank, std::string("a\xff\tb")).message,
                 std::optional<std::string>("That file could not be read as text."));
        QCOMPARE(addingPairs(blank, {{"a", "b"}}, false).rows.size(), std::size_t(2));
    }

    void presetRulesArriveCollapsedAndAddedOnesExpanded() {
        const Preset preset = FactoryPresets::all().front();
        const RuleList list = RuleList::fromPipeline(preset.makePipeline().pipeline);
        QVERIFY(!list.entries().empty());
        for (const RuleEntry& entry : list.entries()) {
            QVERIFY(!entry.isExpanded);
        }
        RuleList added;
        QVERIFY(added.add(RuleKind::date).isExpanded);
        QVERIFY(added.entries()[0].rule == *anyRule(*RuleCatalog::makeDefault(RuleKind::date)));
    }

    // Whatever changes the list, also an equal assignment or a switch, is
    // followed by the same steps.
    void everyChangeOfTheListIsFollowedUp() {
        ModelFixture fixture;
        auto model = fixture.make();
        const Uuid id = model->rules().entries().front().id;
        const std::vector<std::function<void()>> edits{
            [&] { model->rules().setEnabled(id, false); },
            [&] { model->rules().setExpanded(id, false); },
            [&] { model->rules().setRules(std::vector<RuleEntry>(model->rules().entries())); },
            [&] { model->rules().setListRows(id, *model->rules().listRows(id)); },
            [&] { model->rules().setAllExpanded(true); },
        };
        for (const auto& edit : edits) {
            model->presets().setCurrentPreset("Camera import");
            model->batches().setLastTransaction(RenameTransaction{});
            model->batches().setActionMessage("Renamed");
            const int before = fixture.scripted->startedCount();
            edit();
            QVERIFY(!model->presets().currentPreset());
            QVERIFY(!model->batches().lastTransaction());
            QVERIFY(!model->batches().actionMessage());
            QVERIFY(waitForPlan(*model));
            QCOMPARE(fixture.scripted->startedCount(), before + 1);
        }
        model->presets().apply(Preset::fromPipeline("Sequence only", model->rules().pipeline()));
        QCOMPARE(model->presets().currentPreset(), std::optional<std::string>("Sequence only"));
        // Ids not in the list change nothing, so nothing is withdrawn.
        model->batches().setActionMessage("Renamed");
        model->rules().move(Uuid::random(), 1);
        model->rules().setEnabled(Uuid::random(), false);
        QCOMPARE(model->batches().actionMessage(), std::optional<std::string>("Renamed"));
    }

    void figuresFollowThePlan() {
        ModelFixture fixture;
        auto model = fixture.make();
        model->items().setItems(namedItems({"IMG_1.jpg", "IMG_2.jpg", "x.jpg"}));
        model->rules().addRule(RuleKind::regex);
        const Uuid replace = model->rules().entries()[0].id, regex = model->rules().entries()[1].id;
        model->rules().setRule(regex, RegexRule("(", "", false));
        QVERIFY(waitForPlan(*model));
        QCOMPARE(model->rules().changedCount(replace), std::size_t(2));
        QCOMPARE(model->rules().figures(replace).footerTitle, std::string("2 of 3"));
        QCOMPARE(model->rules().figures(replace).footerDetail, std::string(" items changed by this rule"));
        QCOMPARE(model->rules().figures(regex).footerTitle,
                 std::string("Error \u00B7 rule is bypassed until fixed"));
        QCOMPARE(model->rules().figures(regex).footerDetail, std::string("Missing closing parenthesis"));
        // A card's head: the rule's summary, or why it does nothing.
        QCOMPARE(model->rules().figures(replace).summaryLine,
                 std::string("\u201CIMG_\u201D \u2192 \u201Csanta-cruz-\u201D"));
        QCOMPARE(model->rules().figures(regex).summaryLine, std::string("Invalid pattern"));
        QCOMPARE(model->rules().figures(regex).toggleTitle, std::string("Disable Rule"));
        // Disabled, it is skipped at once, and its error goes with the next plan.
        model->rules().setEnabled(regex, false);
        QCOMPARE(model->rules().figures(regex).summaryLine, std::string("Disabled \u00B7 skipped"));
        QVERIFY(!model->rules().figures(regex).error);
        QCOMPARE(model->rules().figures(regex).toggleTitle, std::string("Enable Rule"));
        QVERIFY(waitForPlan(*model));
        QCOMPARE(model->rules().figures(regex).footerTitle, std::string("0 of 3"));
        QCOMPARE(model->rules().activeRulesText(), std::string("1 of 2 active"));

        // A rule the current plan does not know yet has no count.
        model->rules().addRule(RuleKind::counter);
        QCOMPARE(model->rules().changedCount(model->rules().entries().back().id), std::size_t(0));

        QCOMPARE(model->rules().listEditorTitle(), std::string("Edit List"));
        model->rules().setListEditingRule(regex);
        QCOMPARE(model->rules().listEditorTitle(), std::string("Regular Expression \u00B7 Rule 2"));
    }

    // Counted over the loaded items as they are: not sorted, not searched,
    // without the unchecked ones, and as the rule receives them.
    void matchCountsUseTheCheckedItemsBeforeTheRule() {
        ModelFixture fixture;
        auto model = fixture.make();
        model->rules().setRules(
            {RuleEntry::make(ReplaceRule("x", "IMG_", false)),
             RuleEntry::make(ReplaceRule({{"IMG_", "", true}, {"zz", "", true}}, false))});
        model->items().setItems(namedItems({"IMG_1.jpg", "IMG_2.jpg", "x.jpg", "y.jpg"}));
        model->items().setChecked("/d/IMG_2.jpg", false);
        model->items().setSearchText("y");
        model->items().setOrder(ItemOrder{SortField::name, false});
        QCOMPARE(model->rules().matchCounts(model->rules().entries()[1].id),
                 (std::vector<std::size_t>{2, 0}));
        QCOMPARE(model->rules().matchCounts(model->rules().entries()[0].id), (std::vector<std::size_t>{1}));
        QVERIFY(model->rules().matchCounts(Uuid::random()).empty());
    }
};

namespace {
const bool registered = registerTestClass<RuleListTest>();
}

} // namespace morvane::app::testing

#include "RuleListTest.moc"
