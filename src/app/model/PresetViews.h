#pragma once

#include "engine/presets/Preset.h"

#include <optional>
#include <string>
#include <vector>

namespace morvane::app {

// The window's preset menu. The i-th favourite (from 0) gets the shortcut of
// the digit i + 1; the view writes it in the platform's notation.
struct PresetMenu {
    std::string label;             // "Preset  " and the current preset's name, or "Custom rules"
    std::vector<Preset> favorites; // at most nine
    std::vector<Preset> others;    // every other preset, favourites past the ninth included
    std::string saveItem;          // "Save Current Rules as Preset…"
    std::string manageItem;        // "Manage Presets…"
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
