#include "app/model/WindowPresets.h"

#include "app/model/Localizer.h"
#include "app/model/PresetDocument.h"
#include "app/model/QtStrings.h"
#include "app/model/WindowRules.h"
#include "engine/filesystem/SystemErrorText.h"
#include "engine/presets/FactoryPresets.h"
#include "engine/presets/OfferedPreset.h"
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

WindowPresets::WindowPresets(WindowRules& rules, std::optional<std::string> directory, EditGate& gate,
                             QObject* parent)
    : QObject(parent), rules_(rules), directory_(std::move(directory)), gate_(gate) {
    connect(this, &WindowPresets::userPresetsChanged, this, &WindowPresets::presetsChanged);
    connect(this, &WindowPresets::currentPresetChanged, this, &WindowPresets::presetsChanged);
    reloadUserPresets();
}

// The folder the window was given, else the user's own; none when the
// user's cannot be found.
std::optional<PresetStore> WindowPresets::store() const {
    try {
        return PresetStore(directory_ ? *directory_ : PresetStore::defaultDirectory());
    } catch (const std::exception&) {
        return std::nullopt;
    }
}

void WindowPresets::reloadUserPresets() {
    std::vector<Preset> presets;
    try {
        if (const auto found = store()) {
            presets = found->load();
        }
    } catch (const std::exception&) {
        // An unreadable preset folder offers no presets, without a message.
    }
    if (presets != userPresets_) {
        userPresets_ = std::move(presets);
        emit userPresetsChanged();
    }
}

void WindowPresets::rulesEdited() {
    if (!applying_) {
        setCurrentPreset(std::nullopt);
    }
}

void WindowPresets::setCurrentPreset(std::optional<std::string> name) {
    if (name != currentPreset_) {
        currentPreset_ = std::move(name);
        emit currentPresetChanged();
    }
}

void WindowPresets::setPresetMessage(std::optional<std::string> message) {
    if (message != presetMessage_) {
        presetMessage_ = std::move(message);
        emit presetMessageChanged();
    }
}

void WindowPresets::setShowPresetManager(bool on) {
    if (on != showPresetManager_) {
        showPresetManager_ = on;
        emit showPresetManagerChanged();
    }
}

void WindowPresets::setShowSavePreset(bool on) {
    if (on != showSavePreset_) {
        showSavePreset_ = on;
        emit showSavePresetChanged();
    }
}

std::vector<Preset> WindowPresets::allPresets() const {
    std::vector<Preset> presets;
    for (OfferedPreset& offered : OfferedPreset::over(userPresets_)) {
        presets.push_back(std::move(offered.preset));
    }
    return presets;
}

std::vector<Preset> WindowPresets::favoritePresets() const {
    std::vector<Preset> favorites = allPresets();
    std::erase_if(favorites, [](const Preset& preset) { return !preset.favorite; });
    favorites.resize(std::min<std::size_t>(favorites.size(), 9));
    return favorites;
}

bool WindowPresets::isFactory(const Preset& preset) const {
    return std::none_of(userPresets_.begin(), userPresets_.end(),
                        [&](const Preset& mine) { return nameKey(mine.name) == nameKey(preset.name); });
}

std::string WindowPresets::presetName(const std::string& name) {
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

void WindowPresets::apply(const Preset& preset) {
    gate_.pass([&] {
        Preset::Built built;
        try {
            built = preset.makePipeline();
        } catch (const std::exception&) {
            setPresetMessage(Localizer::format("\u201C%@\u201D could not be read.", presetName(preset.name)));
            return;
        }
        // The list comes from the preset: its name stays the current one.
        applying_ = true;
        rules_.setRules(RuleList::fromPipeline(built.pipeline).entries());
        applying_ = false;
        setCurrentPreset(preset.name);
        const std::size_t skipped = built.skipped.size();
        setPresetMessage(skipped == 0
                             ? std::nullopt
                             : std::optional(Localizer::counted(
                                   "%lld rule in \u201C%@\u201D needs a newer version and was skipped.",
                                   "%lld rules in \u201C%@\u201D need a newer version and were skipped.",
                                   skipped, skipped, presetName(preset.name))));
    });
}

bool WindowPresets::saveCurrentRules(const std::string& name) {
    const std::string wanted = trimmed(name);
    const auto found = store();
    if (wanted.empty() || !found) {
        return false;
    }
    return gate_.pass([&] { return save(*found, wanted); }).value_or(false);
}

bool WindowPresets::save(const PresetStore& store, const std::string& wanted) {
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
            store.rename(preset, wanted);
        } else {
            store.save(preset);
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

void WindowPresets::renamePreset(const Preset& preset, const std::string& newName) {
    const std::string wanted = trimmed(newName);
    if (wanted.empty() || wanted == preset.name) {
        return;
    }
    gate_.pass([&] {
        const std::vector<Preset> offered = allPresets();
        if (std::any_of(offered.begin(), offered.end(), [&](const Preset& other) {
                return other.name != preset.name && fileKey(other.name) == fileKey(wanted);
            })) {
            setPresetMessage(Localizer::format("A preset named \u201C%@\u201D already exists.", wanted));
            return;
        }
        if (const auto found = store()) {
            try {
                found->rename(preset, wanted);
            } catch (const std::exception&) {
                // The list is read again below: it shows what is really stored.
            }
        }
        if (currentPreset_ == preset.name) {
            setCurrentPreset(wanted);
        }
        reloadUserPresets();
    });
}

void WindowPresets::deletePreset(const Preset& preset) {
    gate_.pass([&] {
        if (const auto found = store()) {
            try {
                found->remove(preset.name);
            } catch (const std::exception&) {
                // As for renaming: the reloaded list tells.
            }
        }
        if (currentPreset_ == preset.name) {
            setCurrentPreset(std::nullopt);
        }
        reloadUserPresets();
    });
}

void WindowPresets::setFavorite(const Preset& preset, bool favorite) {
    gate_.pass([&] {
        if (const auto found = store()) {
            Preset marked = preset;
            marked.favorite = favorite;
            try {
                // A factory preset becomes a copy of the user's that takes its place.
                found->save(marked);
            } catch (const std::exception&) {
                // As for renaming: the reloaded list tells.
            }
        }
        reloadUserPresets();
    });
}

void WindowPresets::importPresets(const std::vector<std::string>& paths) {
    gate_.pass([&] {
        std::size_t imported = 0;
        if (const auto found = store()) {
            for (const std::string& path : paths) {
                try {
                    found->save(PresetDocument::read(path).preset);
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
    });
}

bool WindowPresets::exportPreset(const Preset& preset, const std::string& path) {
    try {
        PresetDocument{preset}.write(path);
        return true;
    } catch (const std::exception& error) {
        setPresetMessage(Localizer::format("Could not export the preset: %@", describe(error)));
        return false;
    }
}

// ---- The preset menu, the manager and the save sheet ----

PresetMenu WindowPresets::presetMenu() const {
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

PresetManager WindowPresets::presetManager(std::string_view favoriteShortcuts) const {
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

SavePresetSheet WindowPresets::savePresetSheet() const {
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

std::optional<std::string> WindowPresets::savePresetWarning(const std::string& name) const {
    const NameKey key = fileKey(trimmed(name));
    const bool taken = std::any_of(userPresets_.begin(), userPresets_.end(),
                                   [&](const Preset& mine) { return fileKey(mine.name) == key; });
    if (!taken) {
        return std::nullopt;
    }
    return Localizer::text("A preset with this name exists and will be replaced.");
}

} // namespace morvane::app
