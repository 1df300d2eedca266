// The rules a window leaves behind for the first window of the next run:
// when they are handed over, what comes back, and what does not.
#include "app/model/LastRules.h"

#include "ModelTesting.h"
#include "engine/rules/CounterRule.h"

#include <nlohmann/json.hpp>

#include <QFile>

namespace morvane::app::testing {
namespace {

std::vector<RuleEntry> someRules() {
    return {RuleEntry::make(ReplaceRule("IMG_", "trip-", true), true, false),
            RuleEntry::make(CounterRule(CounterRule::Position::prefix, 5, 2, 4, "_", true), false, true)};
}

// The entries without their ids, which a new run makes anew.
std::vector<std::tuple<AnyRule, bool, bool>> withoutIds(const std::vector<RuleEntry>& entries) {
    std::vector<std::tuple<AnyRule, bool, bool>> result;
    for (const RuleEntry& entry : entries) {
        result.emplace_back(entry.rule, entry.isEnabled, entry.isExpanded);
    }
    return result;
}

// What another process would read from the settings file now: a copy of
// the file, since settings objects of one process share what they hold.
std::optional<std::string> storedOnDisk(const SettingsFixture& fixture) {
    static int copies = 0;
    const QString copy = fixture.folder.filePath(QString("copy-%1.ini").arg(++copies));
    if (!QFile::copy(fixture.file, copy)) {
        return std::nullopt;
    }
    const auto value = QSettings(copy, QSettings::IniFormat).value("lastRules");
    return value.isValid() ? std::optional(value.toString().toStdString()) : std::nullopt;
}

} // namespace

class LastRulesTest : public QObject {
    Q_OBJECT

private slots:
    // Rules, switches, settings and each card's state come back; a list
    // holding a rule of a kind this version does not know comes back without it.
    void aRuleListComesBackAsItWas() {
        const auto restored = LastRules::decode(LastRules::encode(someRules()));
        QVERIFY(restored);
        QCOMPARE(withoutIds(restored->entries), withoutIds(someRules()));
        QCOMPARE(restored->skipped, std::size_t(0));

        auto stored = nlohmann::json::parse(LastRules::encode(someRules()));
        stored["rules"].insert(stored["rules"].begin(), nlohmann::json{{"kind", "stamp"}, {"enabled", true}});
        stored["expanded"].push_back(true);
        const auto fromLater = LastRules::decode(stored.dump());
        QVERIFY(fromLater);
        QCOMPARE(fromLater->skipped, std::size_t(1));
        QCOMPARE(fromLater->entries.size(), std::size_t(2));
        QVERIFY(!fromLater->entries[1].isExpanded);
        for (const char* unreadable :
             {"", "{", "[]", R"({"name":"","rules":[{"kind":"counter","width":2.5}]})"}) {
            QVERIFY2(!LastRules::decode(unreadable), unreadable);
        }
    }

    // Each change is on disk a moment later, while the window is still open:
    // a crash loses at most the edit in hand. Closing the window hands over
    // its rules at once.
    void changesAreOnDiskSoonAndAtClose() {
        ModelFixture fixture;
        auto model = fixture.make();
        model->rules().setRules(someRules());
        QVERIFY(!storedOnDisk(fixture.settingsFixture) ||
                *storedOnDisk(fixture.settingsFixture) != LastRules::encode(model->rules().entries()));
        QTRY_COMPARE(storedOnDisk(fixture.settingsFixture),
                     std::optional(LastRules::encode(model->rules().entries())));

        model->rules().addRule(RuleKind::letterCase);
        const std::string atClose = LastRules::encode(model->rules().entries());
        model.reset();
        QCOMPARE(storedOnDisk(fixture.settingsFixture), std::optional(atClose));
    }

    // Only the first window of a run, and only when the setting says so,
    // starts with them; any other starts with the default rule.
    void theFirstWindowStartsWithThemWhenAsked() {
        ModelFixture fixture;
        fixture.settings->setLastRules(LastRules::encode(someRules()));
        AppModel::Environment first = fixture.environment();
        first.restoreLastRules = true;
        QVERIFY(withoutIds(AppModel(first).rules().entries()) != withoutIds(someRules()));

        fixture.settings->setLastRules(LastRules::encode(someRules()));
        fixture.settings->setStartWithLastRules(true);
        AppModel restored(first);
        QCOMPARE(withoutIds(restored.rules().entries()), withoutIds(someRules()));
        QVERIFY(!restored.presets().presetMessage());
        AppModel later(fixture.environment());
        QCOMPARE(withoutIds(later.rules().entries()), withoutIds(RuleList::initial().entries()));
    }

    // A list that cannot be read back is dropped with a word; the window
    // starts as a new one does and never sees it again.
    void aListThatCannotBeReadIsDroppedWithAMessage() {
        ModelFixture fixture;
        fixture.settings->setStartWithLastRules(true);
        fixture.settings->setLastRules(R"({"name":"","rules":[{"kind":"counter","width":"wide"}]})");
        AppModel::Environment first = fixture.environment();
        first.restoreLastRules = true;
        {
            AppModel model(first);
            QCOMPARE(withoutIds(model.rules().entries()), withoutIds(RuleList::initial().entries()));
            QCOMPARE(
                model.presets().presetMessage(),
                std::optional<std::string>(
                    "The last rules could not be read back, so the window starts with the default rule."));
            QVERIFY(!fixture.settings->lastRules());
        }
        auto stored = nlohmann::json::parse(LastRules::encode(someRules()));
        stored["rules"].push_back({{"kind", "stamp"}});
        fixture.settings->setLastRules(stored.dump());
        AppModel model(first);
        QCOMPARE(model.rules().entries().size(), std::size_t(2));
        QCOMPARE(model.presets().presetMessage(),
                 std::optional<std::string>("1 of the last rules needs a newer version and was skipped."));
    }
};

namespace {
const bool registered = registerTestClass<LastRulesTest>();
}

} // namespace morvane::app::testing

#include "LastRulesTest.moc"
