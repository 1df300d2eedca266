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
        const Preset clean = named(model->allPresets(), "Clean filenames");
        QVERIFY(model->isFactory(clean));
        model->setFavorite(clean, false); // a copy of the user's now stands in for it
        PresetStore(fixture.presets.path().toStdString()).save(presetOf("CAMERA IMPORT"));
        model->reloadUserPresets();
        QCOMPARE(names(model->allPresets()),
                 (Strings{"Photo date + slug", "Sequence only", "Template archive", "Place from export",
                          "Photos by capture date", "CAMERA IMPORT", "Clean filenames"}));
        QVERIFY(!model->isFactory(clean));
        QCOMPARE(names(model->favoritePresets()), Strings{"Photo date + slug"});

        const PresetManager manager = model->presetManager("\u2303\u23181\u20139");
        QCOMPARE(manager.favoritesNote, std::string("Favorites appear first and get \u2303\u23181\u20139"));
        QCOMPARE(manager.rows[1].rulesText, std::string("1 rule \u00B7 built in"));
        QVERIFY(!manager.rows[1].canDelete);
        QCOMPARE(manager.rows[6].rulesText, std::string("3 rules"));
        QVERIFY(manager.rows[6].canDelete);

        model->deletePreset(named(model->allPresets(), "Clean filenames"));
        QCOMPARE(model->allPresets()[1], clean);
        QVERIFY(model->isFactory(clean));

        Localizer::setLanguage(*AppLanguage::named("es"));
        QCOMPARE(AppModel::presetName("Clean filenames"), std::string("Limpiar nombres de archivo"));
        QCOMPARE(AppModel::presetName("CAMERA IMPORT"), std::string("CAMERA IMPORT"));
        QCOMPARE(model->presetMenu().label, std::string("Preajuste  Reglas personalizadas"));
        Localizer::setLanguage(AppLanguage::english());
    }

    void favoritesPastTheNinthAreListedWithTheOthers() {
        ModelFixture fixture;
        const PresetStore store(fixture.presets.path().toStdString());
        for (int i = 1; i <= 9; ++i) {
            store.save(presetOf("Fav " + std::to_string(i), true));
        }
        auto model = fixture.make();
        const PresetMenu menu = model->presetMenu();
        QCOMPARE(names(menu.favorites), (Strings{"Photo date + slug", "Clean filenames", "Fav 1", "Fav 2",
                                                 "Fav 3", "Fav 4", "Fav 5", "Fav 6", "Fav 7"}));
        QCOMPARE(names(menu.others),
                 (Strings{"Camera import", "Sequence only", "Template archive", "Place from export",
                          "Photos by capture date", "Fav 8", "Fav 9"}));
    }

    void savingReplacesAPresetOfTheSameNameAndKeepsItsMark() {
        ModelFixture fixture;
        auto model = fixture.make();
        QVERIFY(model->saveCurrentRules("  Photos \n"));
        QCOMPARE(model->currentPreset(), std::optional<std::string>("Photos"));
        QCOMPARE(model->savePresetSheet().initialName, std::string("Photos"));
        model->setFavorite(model->userPresets().front(), true);
        QVERIFY(model->savePresetWarning(" PHOTOS "));
        QVERIFY(!model->savePresetWarning("Photo"));

        model->addRule(RuleKind::counter);
        QVERIFY(!model->currentPreset());
        QVERIFY(model->saveCurrentRules("photos"));
        // One preset, not two that differ in letter case, as the sheet promised.
        QCOMPARE(names(model->userPresets()), Strings{"photos"});
        QVERIFY(model->userPresets().front().favorite);
        QCOMPARE(model->userPresets().front().rules.size(), 2u);
        QVERIFY(!model->saveCurrentRules(" \t"));

        QVERIFY(model->saveCurrentRules("Trip"));
        const Preset trip = named(model->userPresets(), "Trip");
        model->renamePreset(trip, "PHOTOS");
        QCOMPARE(model->presetMessage(),
                 std::optional<std::string>("A preset named \u201CPHOTOS\u201D already exists."));
        model->setPresetMessage(std::nullopt);
        model->renamePreset(trip, "Trip ");
        QVERIFY(!model->presetMessage());
        model->renamePreset(trip, "Beach");
        QCOMPARE(names(model->userPresets()), (Strings{"Beach", "photos"}));
        QCOMPARE(model->currentPreset(), std::optional<std::string>("Beach"));
        model->deletePreset(named(model->userPresets(), "Beach"));
        QVERIFY(!model->currentPreset());
    }

    void applyingAPresetInstallsTheRulesThisVersionReads() {
        ModelFixture fixture;
        auto model = fixture.make();
        Preset mixed = Preset::fromPipeline("Mixed", RenamePipeline({RuleEntry::make(CounterRule()).step(),
                                                                     RuleEntry::make(CaseRule()).step(),
                                                                     RuleEntry::make(NameRule()).step()}));
        mixed.rules.insert(mixed.rules.begin() + 1, PresetRule{"stamp", true, {}});
        model->apply(mixed);
        QCOMPARE(model->rules().size(), 3u);
        QVERIFY(std::none_of(model->rules().begin(), model->rules().end(),
                             [](const RuleEntry& entry) { return entry.isExpanded; }));
        QCOMPARE(model->currentPreset(), std::optional<std::string>("Mixed"));
        QCOMPARE(
            model->presetMessage(),
            std::optional<std::string>("1 rule in \u201CMixed\u201D needs a newer version and was skipped."));

        Preset broken("Broken",
                      {PresetRule{"counter", true, RuleParameters(nlohmann::json{{"width", "wide"}})}});
        const auto rulesBefore = model->rules();
        model->apply(broken);
        QCOMPARE(model->presetMessage(), std::optional<std::string>("\u201CBroken\u201D could not be read."));
        QCOMPARE(model->rules(), rulesBefore);
        QCOMPARE(model->currentPreset(), std::optional<std::string>("Mixed"));
    }

    void importCountsOnlyPresetsReadAndSaved() {
        ModelFixture fixture;
        auto model = fixture.make();
        morvane::testing::TempFolder folder;
        QVERIFY(model->exportPreset(presetOf("Good one"), folder / "one.morvanepreset"));
        QVERIFY(model->exportPreset(presetOf("Good two"), folder / "two.json"));
        morvane::testing::writeFile(folder / "damaged.morvanepreset", "{\"name\": \"Half");
        model->importPresets(
            {folder / "one.morvanepreset", folder / "damaged.morvanepreset", folder / "two.json"});
        QCOMPARE(model->presetMessage(), std::optional<std::string>("2 presets imported."));
        QCOMPARE(names(model->userPresets()), (Strings{"Good one", "Good two"}));
        model->importPresets({folder / "damaged.morvanepreset", folder / "missing.morvanepreset"});
        QCOMPARE(model->presetMessage(), std::optional<std::string>("No preset could be imported."));

        QVERIFY(!model->exportPreset(presetOf("Lost"), folder / "no/such/folder/x.morvanepreset"));
        QVERIFY(model->presetMessage()->starts_with("Could not export the preset: "));
    }
};

namespace {
const bool registered = registerTestClass<PresetsTest>();
}

} // namespace morvane::app::testing

#include "PresetsTest.moc"
