// The presets of the window's model: what it offers, applying one to the
// rule list, and saving, renaming, deleting, favouring, importing and
// exporting them through the preset folder, with the values of the preset
// menu, the preset manager and the save sheet.
#include "app/model/AppModel.h"
#include "app/model/Localizer.h"
#include "app/model/PresetDocument.h"
#include "app/model/QtStrings.h"
#include "engine/filesystem/SystemErrorText.h"
#include "engine/presets/FactoryPresets.h"
#include "engine/presets/OfferedPreset.h"
#include "engine/presets/PresetStore.h"
#include "engine/support/NameKey.h"

#include <algorithm>
#include <system_error>

namespace morvane::app {
namespace {

// Names are the same preset's when they differ only in letter case.
NameKey nameKey(std::string_view name) {
    return NameKey(name, false);
}

// Names are kept in one file when the preset folder's mapping makes them
// one file name ("Trip/2024" and "Trip:2024", ".Beach" and "Beach"), letter
// case ignored: saving or renaming under one replaces what the other holds.
NameKey fileKey(std::string_view name) {
    return NameKey(PresetStore::fileNameFor(name), false);
}

// A name as typed, without white space or line breaks at either end.
std::string trimmed(const std::string& name) {
    return fromQString(toQString(name).trimmed());
}

std::string describe(const std::exception& error) {
    if (const auto* system = dynamic_cast<const std::system_error*>(&error)) {
        return systemErrorText(system->code().value());
    }
    return error.what();
}

} // namespace

std::vector<Preset> AppModel::allPresets() const {
    std::vector<Preset> presets;
    for (OfferedPreset& offered : OfferedPreset::over(userPresets_)) {
        presets.push_back(std::move(offered.preset));
    }
    return presets;
}

std::vector<Preset> AppModel::favoritePresets() const {
    std::vector<Preset> favorites = allPresets();
    std::erase_if(favorites, [](const Preset& preset) { return !preset.favorite; });
    favorites.resize(std::min<std::size_t>(favorites.size(), 9));
    return favorites;
}

bool AppModel::isFactory(const Preset& preset) const {
    return std::none_of(userPresets_.begin(), userPresets_.end(),
                        [&](const Preset& mine) { return nameKey(mine.name) == nameKey(preset.name); });
}

std::string AppModel::presetName(const std::string& name) {
    static const std::vector<std::string> factoryNames = [] {
        std::vector<std::string> names;
        for (const Preset& preset : FactoryPresets::all()) {
            names.push_back(preset.name);
        }
        return names;
    }();
    const bool isFactoryName =
        std::find(factoryNames.begin(), factoryNames.end(), name) != factoryNames.end();
    return isFactoryName ? Localizer::text(name) : name;
}

void AppModel::apply(const Preset& preset) {
    if (busy_) {
        return;
    }
    Preset::Built built;
    try {
        built = preset.makePipeline();
    } catch (const std::exception&) {
        setPresetMessage(Localizer::format("\u201C%@\u201D could not be read.", presetName(preset.name)));
        return;
    }
    applyRules(RuleList::fromPipeline(built.pipeline).entries(), preset.name);
    const std::size_t skipped = built.skipped.size();
    setPresetMessage(skipped == 0 ? std::nullopt
                                  : std::optional(Localizer::counted(
                                        "%lld rule in \u201C%@\u201D needs a newer version and was skipped.",
                                        "%lld rules in \u201C%@\u201D need a newer version and were skipped.",
                                        skipped, skipped, presetName(preset.name))));
}

bool AppModel::saveCurrentRules(const std::string& name) {
    const std::string wanted = trimmed(name);
    const auto store = presetStore();
    if (busy_ || wanted.empty() || !store) {
        return false;
    }
    const std::vector<Preset> offered = allPresets();
    const auto existing = std::find_if(offered.begin(), offered.end(), [&](const Preset& preset) {
        return fileKey(preset.name) == fileKey(wanted);
    });
    const bool exists = existing != offered.end();
    try {
        const bool replacesUsers = exists && !isFactory(*existing);
        // The sheet said the user's preset of this name would be replaced:
        // saved as a rename of it, its file goes where the folder tells names
        // apart by letter case.
        Preset preset =
            Preset::fromPipeline(replacesUsers ? existing->name : wanted, rules_.pipeline(),
                                 exists && existing->favorite, exists ? existing->shortcut : std::nullopt);
        if (replacesUsers) {
            store->rename(preset, wanted);
        } else {
            store->save(preset);
        }
    } catch (const std::exception& error) {
        setPresetMessage(Localizer::format("Could not save the preset: %@", describe(error)));
        reloadUserPresets();
        return false;
    }
    reloadUserPresets();
    setCurrentPreset(wanted);
    return true;
}

void AppModel::renamePreset(const Preset& preset, const std::string& newName) {
    const std::string wanted = trimmed(newName);
    if (busy_ || wanted.empty() || wanted == preset.name) {
        return;
    }
    const std::vector<Preset> offered = allPresets();
    if (std::any_of(offered.begin(), offered.end(), [&](const Preset& other) {
            return other.name != preset.name && fileKey(other.name) == fileKey(wanted);
        })) {
        setPresetMessage(Localizer::format("A preset named \u201C%@\u201D already exists.", wanted));
        return;
    }
    if (const auto store = presetStore()) {
        try {
            store->rename(preset, wanted);
        } catch (const std::exception&) {
            // The list is read again below: it shows what is really stored.
        }
    }
    if (currentPreset_ == preset.name) {
        setCurrentPreset(wanted);
    }
    reloadUserPresets();
}

void AppModel::deletePreset(const Preset& preset) {
    if (busy_) {
        return;
    }
    if (const auto store = presetStore()) {
        try {
            store->remove(preset.name);
        } catch (const std::exception&) {
            // As for renaming: the reloaded list tells.
        }
    }
    if (currentPreset_ == preset.name) {
        setCurrentPreset(std::nullopt);
    }
    reloadUserPresets();
}

void AppModel::setFavorite(const Preset& preset, bool favorite) {
    if (busy_) {
        return;
    }
    if (const auto store = presetStore()) {
        Preset marked = preset;
        marked.favorite = favorite;
        try {
            // A factory preset becomes a copy of the user's that takes its place.
            store->save(marked);
        } catch (const std::exception&) {
            // As for renaming: the reloaded list tells.
        }
    }
    reloadUserPresets();
}

void AppModel::importPresets(const std::vector<std::string>& paths) {
    if (busy_) {
        return;
    }
    std::size_t imported = 0;
    if (const auto store = presetStore()) {
        for (const std::string& path : paths) {
            try {
                store->save(PresetDocument::read(path).preset);
                ++imported;
            } catch (const std::exception&) {
                // A file that is not a preset this version reads is passed over; the count tells.
            }
        }
    }
    reloadUserPresets();
    setPresetMessage(imported > 0
                         ? Localizer::counted("%lld preset imported.", "%lld presets imported.", imported)
                         : Localizer::text("No preset could be imported."));
}

bool AppModel::exportPreset(const Preset& preset, const std::string& path) {
    try {
        PresetDocument{preset}.write(path);
        return true;
    } catch (const std::exception& error) {
        setPresetMessage(Localizer::format("Could not export the preset: %@", describe(error)));
        return false;
    }
}

// ---- The preset menu, the manager and the save sheet ----

PresetMenu AppModel::presetMenu() const {
    PresetMenu menu;
    menu.label = Localizer::format("Preset  %@", currentPreset_ ? presetName(*currentPreset_)
                                                                : Localizer::text("Custom rules"));
    menu.favorites = favoritePresets();
    for (Preset& preset : allPresets()) {
        const bool listed = std::any_of(menu.favorites.begin(), menu.favorites.end(),
                                        [&](const Preset& favorite) { return favorite.name == preset.name; });
        if (!listed) {
            menu.others.push_back(std::move(preset));
        }
    }
    menu.saveItem = Localizer::text("Save Current Rules as Preset\u2026");
    menu.manageItem = Localizer::text("Manage Presets\u2026");
    return menu;
}

PresetManager AppModel::presetManager(std::string_view favoriteShortcuts) const {
    PresetManager manager;
    manager.title = Localizer::text("Presets");
    for (OfferedPreset& offered : OfferedPreset::over(userPresets_)) {
        PresetRow row;
        const std::size_t rules = offered.preset.rules.size();
        row.displayName = presetName(offered.preset.name);
        row.isFactory = offered.isFactory;
        row.rulesText = offered.isFactory ? Localizer::counted("%lld rule \u00B7 built in",
                                                               "%lld rules \u00B7 built in", rules)
                                          : Localizer::counted("%lld rule", "%lld rules", rules);
        row.canDelete = !offered.isFactory;
        row.preset = std::move(offered.preset);
        manager.rows.push_back(std::move(row));
    }
    manager.favoritesNote = Localizer::format("Favorites appear first and get %@", favoriteShortcuts);
    manager.applyButton = Localizer::text("Apply");
    manager.renameButton = Localizer::text("Rename\u2026");
    manager.exportButton = Localizer::text("Export\u2026");
    manager.deleteButton = Localizer::text("Delete");
    manager.importButton = Localizer::text("Import\u2026");
    manager.doneButton = Localizer::text("Done");
    manager.renamePromptTitle = Localizer::text("Rename Preset");
    manager.renamePromptConfirm = Localizer::text("Rename");
    manager.renamePromptCancel = Localizer::text("Cancel");
    return manager;
}

SavePresetSheet AppModel::savePresetSheet() const {
    SavePresetSheet sheet;
    sheet.title = Localizer::text("Save Current Rules as Preset");
    const bool isUsers =
        currentPreset_ && std::any_of(userPresets_.begin(), userPresets_.end(),
                                      [&](const Preset& mine) { return mine.name == *currentPreset_; });
    sheet.initialName = isUsers ? *currentPreset_ : std::string();
    sheet.cancelButton = Localizer::text("Cancel");
    sheet.saveButton = Localizer::text("Save");
    return sheet;
}

std::optional<std::string> AppModel::savePresetWarning(const std::string& name) const {
    const NameKey key = fileKey(trimmed(name));
    const bool taken = std::any_of(userPresets_.begin(), userPresets_.end(),
                                   [&](const Preset& mine) { return fileKey(mine.name) == key; });
    if (!taken) {
        return std::nullopt;
    }
    return Localizer::text("A preset with this name exists and will be replaced.");
}

} // namespace morvane::app
