#pragma once

#include "app/model/EditGate.h"
#include "app/model/PresetViews.h"
#include "engine/presets/Preset.h"
#include "engine/presets/PresetStore.h"

#include <QObject>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace morvane::app {

class WindowRules;

// The presets of one window: the factory presets not replaced by one of the
// user's (letter case ignored), then the user's; applying one to the rule
// list, and saving, renaming, deleting, favouring, importing and exporting
// them through the preset folder, with what the preset menu, the manager and
// the save sheet show. Every operation reads and writes the folder at once;
// failures become `presetMessage`. Main thread only.
class WindowPresets : public QObject {
    Q_OBJECT

public:
    // `directory`: the user's preset folder when absent.
    WindowPresets(WindowRules& rules, std::optional<std::string> directory, EditGate& gate,
                  QObject* parent = nullptr);

    const std::vector<Preset>& userPresets() const { return userPresets_; }
    void reloadUserPresets();
    std::vector<Preset> allPresets() const;
    std::vector<Preset> favoritePresets() const; // at most nine
    bool isFactory(const Preset& preset) const;
    // The name to show: the factory presets' names are translated.
    static std::string presetName(const std::string& name);

    // The preset the rule list came from; a change of the rules outside
    // applying one (`rulesEdited`) forgets it.
    const std::optional<std::string>& currentPreset() const { return currentPreset_; }
    void setCurrentPreset(std::optional<std::string> name);
    void rulesEdited();
    const std::optional<std::string>& presetMessage() const { return presetMessage_; }
    void setPresetMessage(std::optional<std::string> message);

    void apply(const Preset& preset);
    bool saveCurrentRules(const std::string& name);
    void renamePreset(const Preset& preset, const std::string& newName);
    void deletePreset(const Preset& preset);
    void setFavorite(const Preset& preset, bool favorite);
    void importPresets(const std::vector<std::string>& paths);
    // Writes the preset to `path`; false, with the reason in `presetMessage`, when that fails.
    bool exportPreset(const Preset& preset, const std::string& path);

    PresetMenu presetMenu() const;
    // `favoriteShortcuts` is the range of the favourites' shortcuts in the
    // platform's notation ("⌃⌘1–9", "Ctrl+Alt+1–9").
    PresetManager presetManager(std::string_view favoriteShortcuts) const;
    SavePresetSheet savePresetSheet() const;
    // "A preset with this name exists and will be replaced." while the name
    // (trimmed) would be kept in the file of one of the user's presets.
    std::optional<std::string> savePresetWarning(const std::string& name) const;
    bool showPresetManager() const { return showPresetManager_; }
    void setShowPresetManager(bool on);
    bool showSavePreset() const { return showSavePreset_; }
    void setShowSavePreset(bool on);

signals:
    void userPresetsChanged();
    void currentPresetChanged();
    void presetMessageChanged();
    // The presets offered changed: the user's presets or the current one.
    void presetsChanged();
    void showPresetManagerChanged();
    void showSavePresetChanged();

private:
    std::optional<PresetStore> store() const;
    bool save(const PresetStore& store, const std::string& wanted);

    WindowRules& rules_;
    std::optional<std::string> directory_;
    EditGate& gate_;
    std::vector<Preset> userPresets_;
    std::optional<std::string> currentPreset_;
    bool applying_ = false;
    std::optional<std::string> presetMessage_;
    bool showPresetManager_ = false;
    bool showSavePreset_ = false;
};

} // namespace morvane::app
