#pragma once

#include "engine/presets/Preset.h"

#include <optional>
#include <string>
#include <vector>

namespace morvane::app {

// A favourite with its shortcut: the digit `slot` (1 to 9), which the view
// writes in the platform's notation.
struct FavoritePreset {
    Preset preset;
    int slot = 0;
    bool operator==(const FavoritePreset&) const = default;
};

// The window's preset menu.
struct PresetMenu {
    std::string label;                     // "Preset  " and the current preset's name, or "Custom rules"
    std::vector<FavoritePreset> favorites; // at most nine, in the order of their shortcuts
    std::vector<Preset> others;            // every other preset, favourites without a shortcut included
    std::string saveItem;                  // "Save Current Rules as Preset…"
    std::string manageItem;                // "Manage Presets…"
};

// One row of the preset manager.
struct PresetRow {
    Preset preset;
    std::string displayName;
    bool isFactory = false;
    std::string rulesText;  // "%lld rules · built in" or "%lld rules"
    bool canDelete = false; // only the user's own presets
};

// The preset manager sheet.
struct PresetManager {
    std::string title; // "Presets"
    std::vector<PresetRow> rows;
    std::string favoritesNote; // "Favorites appear first and get ⌃⌘1–9"
    std::string applyButton;
    std::string renameButton;
    std::string exportButton;
    std::string deleteButton; // a destructive action
    std::string importButton;
    std::string doneButton;
    // The rename prompt.
    std::string renamePromptTitle; // "Rename Preset"
    std::string renamePromptConfirm;
    std::string renamePromptCancel;
};

// The sheet that saves the rule list as a preset.
struct SavePresetSheet {
    std::string title;
    std::string initialName; // the current preset's, when it is one of the user's own
    std::string cancelButton;
    std::string saveButton;
};

} // namespace morvane::app
