#include "ModelTesting.h"
#include "app/model/Localizer.h"
#include "app/model/PresetDocument.h"
#include "engine/presets/PresetStore.h"
#include "engine/presets/RuleParameters.h"

#include <nlohmann/json.hpp>

namespace morvane::app::testing {
namespace {

using Strings = std::vector<std::string>;

Strings names(const std::vector<Preset>& presets) {
    Strings result;
    for (const auto& preset : presets) {
        result.push_back(preset.name);
    }
    return result;
}

// The favourites by name, each with the digit of its shortcut: "Beach 3".
Strings shortcuts(const WindowPresets& presets) {
    Strings result;
    for (const FavoritePreset& favorite : presets.presetMenu().favorites) {
        result.push_back(favorite.preset.name + " " + std::to_string(favorite.slot));
    }
    return result;
}

Preset named(const std::vector<Preset>& presets, const std::string& name) {
    for (const auto& preset : presets) {
        if (preset.name == name) {
            return preset;
        }
    }
    throw std::logic_error("no preset named " + name);
}

Preset presetOf(std::string name, bool favorite = false) {
    return Preset::fromPipeline(std::move(name), RuleList::initial().pipeline(), favorite);
}

} // namespace

class PresetsTest : public QObject {
    Q_OBJECT

private slots:
    void aUserPresetTakesTheFactoryPresetsPlaceInAnyLetterCase() {
        ModelFixture fixture;
        auto model = fixture.make();
        const Preset clean = named(model->presets().allPresets(), "Clean filenames");
        QVERIFY(model->presets().isFactory(clean));
        model->presets().setFavorite(clean, false); // a copy of the user's now stands in for it
        PresetStore(fixture.presets.path().toStdString()).save(presetOf("CAMERA IMPORT"));
        model->presets().reloadUserPresets();
        QCOMPARE(names(model->presets().allPresets()),
                 (Strings{"Photo date + slug", "Sequence only", "Template archive", "Place from export",
                          "Photos by capture date", "CAMERA IMPORT", "Clean filenames"}));
        QVERIFY(!model->presets().isFactory(clean));
        QCOMPARE(names(model->presets().favoritePresets()), Strings{"Photo date + slug"});

        const PresetManager manager = model->presets().presetManager("\u2303\u23181\u20139");
        QCOMPARE(manager.favoritesNote, std::string("Favorites appear first and get \u2303\u23181\u20139"));
        QCOMPARE(manager.rows[1].rulesText, std::string("1 rule \u00B7 built in"));
        QVERIFY(!manager.rows[1].canDelete);
        QCOMPARE(manager.rows[6].rulesText, std::string("3 rules"));
        QVERIFY(manager.rows[6].canDelete);

        model->presets().deletePreset(named(model->presets().allPresets(), "Clean filenames"));
        QCOMPARE(model->presets().allPresets()[1], clean);
        QVERIFY(model->presets().isFactory(clean));

        Localizer::setLanguage(*AppLanguage::named("es"));
        QCOMPARE(WindowPresets::presetName("Clean filenames"), std::string("Limpiar nombres de archivo"));
        QCOMPARE(WindowPresets::presetName("CAMERA IMPORT"), std::string("CAMERA IMPORT"));
        QCOMPARE(model->presets().presetMenu().label, std::string("Preajuste  Reglas personalizadas"));
        Localizer::setLanguage(AppLanguage::english());
    }

    void favoritesPastTheNinthAreListedWithTheOthers() {
        ModelFixture fixture;
        const PresetStore store(fixture.presets.path().toStdString());
        for (int i = 1; i <= 9; ++i) {
            store.save(presetOf("Fav " + std::to_string(i), true));
        }
        auto model = fixture.make();
        const PresetMenu menu = model->presets().presetMenu();
        QCOMPARE(shortcuts(model->presets()),
                 (Strings{"Photo date + slug 1", "Clean filenames 2", "Fav 1 3", "Fav 2 4", "Fav 3 5",
                          "Fav 4 6", "Fav 5 7", "Fav 6 8", "Fav 7 9"}));
        QCOMPARE(names(menu.others),
                 (Strings{"Camera import", "Sequence only", "Template archive", "Place from export",
                          "Photos by capture date", "Fav 8", "Fav 9"}));
    }

    // A favourite keeps its shortcut whatever else comes and goes: an import
    // that sorts before it, one that brings a shortcut already in use, a
    // favourite taken away; new favourites take the free ones.
    void favouritesKeepTheirShortcuts() {
        ModelFixture fixture;
        const PresetStore store(fixture.presets.path().toStdString());
        // Kept before shortcuts were written down: they have the next ones in order.
        store.save(presetOf("Beach", true));
        store.save(presetOf("Mountains", true));
        auto model = fixture.make();
        WindowPresets& presets = model->presets();
        QCOMPARE(shortcuts(presets),
                 (Strings{"Photo date + slug 1", "Clean filenames 2", "Beach 3", "Mountains 4"}));

        morvane::testing::TempFolder folder;
        Preset airport = presetOf("Airport", true);
        airport.shortcut = "3"; // Beach's
        QVERIFY(presets.exportPreset(airport, folder / "airport.morvanepreset"));
        presets.importPresets({folder / "airport.morvanepreset"});
        QCOMPARE(shortcuts(presets), (Strings{"Photo date + slug 1", "Clean filenames 2", "Beach 3",
                                              "Mountains 4", "Airport 5"}));

        presets.setFavorite(named(presets.allPresets(), "Clean filenames"), false);
        presets.setFavorite(named(presets.allPresets(), "Beach"), false);
        QCOMPARE(shortcuts(presets), (Strings{"Photo date + slug 1", "Mountains 4", "Airport 5"}));
        presets.setFavorite(named(presets.allPresets(), "Sequence only"), true);
        presets.setFavorite(named(presets.allPresets(), "Beach"), true);
        QCOMPARE(shortcuts(presets),
                 (Strings{"Photo date + slug 1", "Sequence only 2", "Beach 3", "Mountains 4", "Airport 5"}));

        // Renamed, saved over or reopened, a favourite keeps its shortcut.
        presets.renamePreset(named(presets.allPresets(), "Mountains"), "Alps");
        QVERIFY(presets.saveCurrentRules("airport"));
        auto reopened = fixture.make();
        QCOMPARE(shortcuts(reopened->presets()),
                 (Strings{"Photo date + slug 1", "Sequence only 2", "Beach 3", "Alps 4", "airport 5"}));
    }

    void savingReplacesAPresetOfTheSameNameAndKeepsItsMark() {
        ModelFixture fixture;
        auto model = fixture.make();
        QVERIFY(model->presets().saveCurrentRules("  Photos \n"));
        QCOMPARE(model->presets().currentPreset(), std::optional<std::string>("Photos"));
        QCOMPARE(model->presets().savePresetSheet().initialName, std::string("Photos"));
        model->presets().setFavorite(model->presets().userPresets().front(), true);
        QVERIFY(model->presets().savePresetWarning(" PHOTOS "));
        QVERIFY(!model->presets().savePresetWarning("Photo"));

        model->rules().addRule(RuleKind::counter);
        QVERIFY(!model->presets().currentPreset());
        QVERIFY(model->presets().saveCurrentRules("photos"));
        // One preset, not two that differ in letter case, as the sheet promised.
        QCOMPARE(names(model->presets().userPresets()), Strings{"photos"});
        QVERIFY(model->presets().userPresets().front().favorite);
        QCOMPARE(model->presets().userPresets().front().rules.size(), 2u);
        QVERIFY(!model->presets().saveCurrentRules(" \t"));

        QVERIFY(model->presets().saveCurrentRules("Trip"));
        const Preset trip = named(model->presets().userPresets(), "Trip");
        model->presets().renamePreset(trip, "PHOTOS");
        QCOMPARE(model->presets().presetMessage(),
                 std::optional<std::string>("A preset named \u201CPHOTOS\u201D already exists."));
        model->presets().setPresetMessage(std::nullopt);
        model->presets().renamePreset(trip, "Trip ");
        QVERIFY(!model->presets().presetMessage());
        model->presets().renamePreset(trip, "Beach");
        QCOMPARE(names(model->presets().userPresets()), (Strings{"Beach", "photos"}));
        QCOMPARE(model->presets().currentPreset(), std::optional<std::string>("Beach"));
        model->presets().deletePreset(named(model->presets().userPresets(), "Beach"));
        QVERIFY(!model->presets().currentPreset());
    }

    // Names kept in one file are one preset: "Trip/2024" and "Trip:2024"
    // both live in "Trip-2024", ".Beach" and "Beach" in "Beach".
    void namesKeptInOneFileAreOnePreset() {
        ModelFixture fixture;
        auto model = fixture.make();
        QVERIFY(model->presets().saveCurrentRules("Trip/2024"));
        model->presets().setFavorite(model->presets().userPresets().front(), true);
        QVERIFY(model->presets().savePresetWarning("Trip:2024"));
        QVERIFY(model->presets().saveCurrentRules("Trip:2024"));
        QCOMPARE(names(model->presets().userPresets()), Strings{"Trip:2024"});
        QVERIFY(model->presets().userPresets().front().favorite);

        QVERIFY(model->presets().saveCurrentRules("Beach"));
        QVERIFY(model->presets().saveCurrentRules("Other"));
        model->presets().renamePreset(named(model->presets().userPresets(), "Other"), ".Beach");
        QCOMPARE(model->presets().presetMessage(),
                 std::optional<std::string>("A preset named \u201C.Beach\u201D already exists."));
        QCOMPARE(names(model->presets().userPresets()), (Strings{"Beach", "Other", "Trip:2024"}));
    }

    // A preset file copied into the folder by hand, under a file name of its
    // own: marking it a favourite keeps one preset, and deleting it deletes it.
    void aPresetCopiedInByHandIsOnePreset() {
        ModelFixture fixture;
        PresetStore::write(presetOf("Holiday"),
                           fixture.presets.filePath("copied by hand.morvanepreset").toStdString());
        auto model = fixture.make();
        model->presets().setFavorite(named(model->presets().userPresets(), "Holiday"), true);
        QCOMPARE(names(model->presets().userPresets()), Strings{"Holiday"});
        QVERIFY(model->presets().userPresets().front().favorite);
        model->presets().deletePreset(model->presets().userPresets().front());
        QVERIFY(model->presets().userPresets().empty());
    }

    void applyingAPresetInstallsTheRulesThisVersionReads() {
        ModelFixture fixture;
        auto model = fixture.make();
        Preset mixed = Preset::fromPipeline("Mixed", RenamePipeline({RuleEntry::make(CounterRule()).step(),
                                                                     RuleEntry::make(CaseRule()).step(),
                                                                     RuleEntry::make(NameRule()).step()}));
        mixed.rules.insert(mixed.rules.begin() + 1, PresetRule{"stamp", true, {}});
        model->presets().apply(mixed);
        QCOMPARE(model->rules().entries().size(), 3u);
        QVERIFY(std::none_of(model->rules().entries().begin(), model->rules().entries().end(),
                             [](const RuleEntry& entry) { return entry.isExpanded; }));
        QCOMPARE(model->presets().currentPreset(), std::optional<std::string>("Mixed"));
        QCOMPARE(
            model->presets().presetMessage(),
            std::optional<std::string>("1 rule in \u201CMixed\u201D needs a newer version and was skipped."));

        Preset broken("Broken",
                      {PresetRule{"counter", true, RuleParameters(nlohmann::json{{"width", "wide"}})}});
        const auto rulesBefore = model->rules().entries();
        model->presets().apply(broken);
        QCOMPARE(model->presets().presetMessage(),
                 std::optional<std::string>("\u201CBroken\u201D could not be read."));
        QCOMPARE(model->rules().entries(), rulesBefore);
        QCOMPARE(model->presets().currentPreset(), std::optional<std::string>("Mixed"));
    }

    void importCountsOnlyPresetsReadAndSaved() {
        ModelFixture fixture;
        auto model = fixture.make();
        morvane::testing::TempFolder folder;
        QVERIFY(model->presets().exportPreset(presetOf("Good one"), folder / "one.morvanepreset"));
        QVERIFY(model->presets().exportPreset(presetOf("Good two"), folder / "two.json"));
        morvane::testing::writeFile(folder / "damaged.morvanepreset", "{\"name\": \"Half");
        // Saved by an editor that begins its files with a byte-order mark.
        std::string marked = "\xEF\xBB\xBF";
        marked += presetOf("Good three").data();
        morvane::testing::writeFile(folder / "three.morvanepreset", marked);
        model->presets().importPresets({folder / "one.morvanepreset", folder / "damaged.morvanepreset",
                                        folder / "two.json", folder / "three.morvanepreset"});
        QCOMPARE(model->presets().presetMessage(), std::optional<std::string>("3 presets imported."));
        QCOMPARE(names(model->presets().userPresets()), (Strings{"Good one", "Good three", "Good two"}));
        model->presets().importPresets({folder / "damaged.morvanepreset", folder / "missing.morvanepreset"});
        QCOMPARE(model->presets().presetMessage(),
                 std::optional<std::string>("No preset could be imported."));

        QVERIFY(!model->presets().exportPreset(presetOf("Lost"), folder / "no/such/folder/x.morvanepreset"));
        QVERIFY(model->presets().presetMessage()->starts_with("Could not export the preset: "));
    }
};

namespace {
const bool registered = registerTestClass<PresetsTest>();
}

} // namespace morvane::app::testing

#include "PresetsTest.moc"
