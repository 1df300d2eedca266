// What the rule panel's cards show and offer, as the model works it out:
// the stem each rule receives for the selected item, the running result,
// the selected item's names, list mode, the date formats on offer and the
// number fields' reading of numbers.
#include "ModelTesting.h"
#include "app/model/IntegerText.h"
#include "app/model/RuleEditing.h"
#include "engine/rules/CaseRule.h"

namespace morvane::app::testing {
namespace {

std::vector<std::optional<std::string>> inputStems(const AppModel& model) {
    std::vector<std::optional<std::string>> stems;
    for (const RuleFigures& card : model.rules().ruleFigures()) {
        stems.push_back(card.inputStem);
    }
    return stems;
}

using Stems = std::vector<std::optional<std::string>>;

} // namespace

class RuleCardsTest : public QObject {
    Q_OBJECT

private slots:
    // Each card gets the name as the rules before it left it, a disabled
    // rule passing it on unchanged; an excluded or missing selection gives none.
    void cardsFollowTheSelectedItemThroughTheRules() {
        ModelFixture fixture;
        auto model = fixture.make();
        model->rules().setRules(
            {RuleEntry::make(ReplaceRule("IMG_", "photo-", false)),
             RuleEntry::make(RegexRule("\\d", "#", false), false),
             RuleEntry::make(CaseRule(CaseRule::Mode::upper, CaseRule::ExtensionMode::same))});
        model->items().setItems(namedItems({"IMG_1.jpg", "b.txt"}));
        model->items().setSelectedID("/d/IMG_1.jpg");
        QVERIFY(waitForPlan(*model));
        QCOMPARE(inputStems(*model), (Stems{"IMG_1", "photo-1", "photo-1"}));
        auto cards = model->rules().ruleFigures();
        QCOMPARE(cards[0].result, std::optional<std::string>("photo-1.jpg"));
        QCOMPARE(cards[2].result, std::optional<std::string>("PHOTO-1.jpg"));
        QVERIFY(!cards[0].canMoveUp && cards[0].canMoveDown);
        QVERIFY(cards[2].canMoveUp && !cards[2].canMoveDown);
        QCOMPARE(model->preview().selectedNames()->original, std::string("IMG_1.jpg"));
        QCOMPARE(model->preview().selectedNames()->result, std::string("PHOTO-1.jpg"));

        // The running result shows on collapsed cards only, while the setting is on.
        QVERIFY(!cards[2].runningResult);
        model->rules().setExpanded(model->rules().entries()[2].id, false);
        QCOMPARE(model->rules().ruleFigures()[2].runningResult, std::optional<std::string>("PHOTO-1.jpg"));
        fixture.settings->setShowRunningResult(false);
        QVERIFY(!model->rules().ruleFigures()[2].runningResult);

        model->items().setChecked("/d/IMG_1.jpg", false);
        QVERIFY(waitForPlan(*model));
        QCOMPARE(inputStems(*model), (Stems{std::nullopt, std::nullopt, std::nullopt}));
        QVERIFY(!model->rules().ruleFigures()[0].result);
        QVERIFY(!model->preview().selectedNames());

        model->items().setSelectedID(std::nullopt);
        QCOMPARE(inputStems(*model), (Stems{std::nullopt, std::nullopt, std::nullopt}));
        QVERIFY(!model->preview().selectedNames());
    }

    // Until the plan of the new order arrives, each card still shows its own
    // rule's count and error, not those of the rule that stood in its place;
    // a rule the plan does not know yet has none.
    void cardFiguresStayWithTheirRuleThroughAMove() {
        ModelFixture fixture;
        auto model = fixture.make();
        model->rules().setRules(
            {RuleEntry::make(ReplaceRule("IMG_", "x-", false)), RuleEntry::make(RegexRule("(", "", false))});
        model->items().setItems(namedItems({"IMG_1.jpg", "IMG_2.jpg", "b.txt"}));
        QVERIFY(waitForPlan(*model));
        const Uuid replace = model->rules().entries()[0].id, regex = model->rules().entries()[1].id;
        QCOMPARE(model->rules().changedCount(replace), std::size_t(2));

        fixture.scripted->holdComputation = fixture.scripted->startedCount();
        model->rules().move(regex, -1);
        model->rules().addRule(RuleKind::letterCase);
        QVERIFY(QTest::qWaitFor([&] { return fixture.scripted->held.tryAcquire(); }, 5000));
        const auto cards = model->rules().ruleFigures();
        QVERIFY(cards[0].error);
        QCOMPARE(cards[0].summaryLine, std::string("Invalid pattern"));
        QVERIFY(!cards[1].error);
        QCOMPARE(cards[1].changedCount, std::size_t(2));
        QCOMPARE(model->rules().changedCount(replace), std::size_t(2));
        QVERIFY(!cards[2].error);
        QCOMPARE(cards[2].changedCount, std::size_t(0));
        fixture.scripted->release.release();
        QVERIFY(waitForPlan(*model));
    }

    // The panel's button says what it will do, and does it: any card open
    // closes them all, else it opens them all; without rules there is nothing
    // to do, and doing nothing withdraws nothing.
    void theExpandAllButtonSaysWhatItWillDo() {
        ModelFixture fixture;
        auto model = fixture.make();
        WindowRules& rules = model->rules();
        rules.setRules({RuleEntry::make(CaseRule(), true, false), RuleEntry::make(CaseRule(), true, true)});
        QCOMPARE(rules.expandAllTitle(), std::string("Collapse All"));
        rules.expandOrCollapseAll();
        QVERIFY(std::none_of(rules.entries().begin(), rules.entries().end(),
                             [](const RuleEntry& entry) { return entry.isExpanded; }));
        QCOMPARE(rules.expandAllTitle(), std::string("Expand All"));
        rules.expandOrCollapseAll();
        QVERIFY(std::all_of(rules.entries().begin(), rules.entries().end(),
                            [](const RuleEntry& entry) { return entry.isExpanded; }));

        rules.setRules({});
        QVERIFY(!rules.canExpandOrCollapseAll());
        model->batches().setActionMessage("Renamed");
        rules.expandOrCollapseAll();
        QCOMPARE(model->batches().actionMessage(), std::optional<std::string>("Renamed"));
    }

    void leavingListModeKeepsTheFirstPairOnly() {
        ModelFixture fixture;
        auto model = fixture.make();
        const RuleEntry three =
            RuleEntry::make(ReplaceRule({{"a", "b", true}, {"c", "d", false}, {"e", "", true}}, true));
        const RuleEntry one = RuleEntry::make(RegexRule("x", "y", true));
        model->rules().setRules({three, one});
        QVERIFY(waitForPlan(*model));
        QVERIFY(RuleEditing::startsInListMode(three.rule));
        QVERIFY(!RuleEditing::startsInListMode(one.rule));
        QVERIFY(!RuleEditing::startsInListMode(RuleEntry::defaultRule(RuleKind::counter)));

        const int computations = fixture.scripted->startedCount();
        model->rules().setListMode(three.id, true);
        model->rules().setListMode(one.id, false);
        QVERIFY(model->rules().entries()[0] == three && model->rules().entries()[1] == one);
        QTest::qWait(60);
        QCOMPARE(fixture.scripted->startedCount(), computations);

        model->rules().setListMode(three.id, false);
        QVERIFY(model->rules().entries()[0].rule == AnyRule(ReplaceRule({{"a", "b", true}}, true)));
        QVERIFY(waitForPlan(*model));
        QCOMPARE(fixture.scripted->startedCount(), computations + 1);
    }

    // The offered formats come first; a format from elsewhere is offered last.
    void dateFormatsAreOfferedWithTheirExamples() {
        const Date now = std::chrono::sys_days(std::chrono::year(2024) / 3 / 5) + std::chrono::hours(23) +
                         std::chrono::minutes(30);
        DateRule rule;
        rule.timeZoneIdentifier = "UTC";
        using Choices = std::vector<RuleEditing::DateFormatChoice>;
        const Choices offered{{"yyyy-MM-dd", "2024-03-05"},
                              {"yyyyMMdd", "20240305"},
                              {"dd-MM-yyyy", "05-03-2024"},
                              {"yyyy-MM", "2024-03"}};
        rule.format = "yyyyMMdd";
        QCOMPARE(RuleEditing::dateFormatChoices(rule, now), offered);
        rule.format = "d MMM yy 'at' HH'h'";
        Choices withOwn = offered;
        withOwn.push_back({"d MMM yy 'at' HH'h'", "5 Mar 24 at 23h"});
        QCOMPARE(RuleEditing::dateFormatChoices(rule, now), withOwn);
        rule.timeZoneIdentifier = "Asia/Tokyo";
        QCOMPARE(RuleEditing::dateFormatChoices(rule, now)[0].example, std::string("2024-03-06"));
    }

    // Numbers in the interface language's format, group separators
    // optional; anything else is no number rather than a guess.
    void numbersAreReadAndWrittenInTheLocalesFormat() {
        const QLocale english("en_US"), spanish("es_ES");
        QCOMPARE(IntegerText::parse("1,234", english), std::optional<std::int64_t>(1234));
        QCOMPARE(IntegerText::parse(" 1234 ", english), std::optional<std::int64_t>(1234));
        QCOMPARE(IntegerText::parse("-7", english), std::optional<std::int64_t>(-7));
        QCOMPARE(IntegerText::parse("12.345", spanish), std::optional<std::int64_t>(12345));
        QCOMPARE(IntegerText::parse("-9223372036854775808", english), std::optional<std::int64_t>(INT64_MIN));
        for (const char* text : {"", "abc", "1.5", "12a", "9223372036854775808", "1e3"}) {
            QVERIFY2(!IntegerText::parse(QString(text), english), text);
        }
        QCOMPARE(IntegerText::format(1234567, english), QString("1,234,567"));
        QCOMPARE(IntegerText::format(-12345, spanish), QString("-12.345"));
        QCOMPARE(IntegerText::parse(IntegerText::format(-1234567, spanish), spanish),
                 std::optional<std::int64_t>(-1234567));
    }
};

namespace {
const bool registered = registerTestClass<RuleCardsTest>();
}

} // namespace morvane::app::testing

#include "RuleCardsTest.moc"
