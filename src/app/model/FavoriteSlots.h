#pragma once

#include "engine/presets/OfferedPreset.h"

#include <optional>
#include <string>
#include <vector>

namespace morvane::app {

// Which favourite has which of the nine favourite shortcuts. A favourite
// keeps its shortcut: the user's presets store theirs (the digit, in the
// preset's shortcut field), and a built-in favourite has the one of its
// place among the built-in favourites; a favourite without one, or whose
// one another already holds, takes the lowest free shortcut, in the order
// the presets are offered. Past nine there are none left.
namespace FavoriteSlots {

constexpr int count = 9;

// The slot (1 to 9) of each preset of `offered`, in its order; 0 for one
// that has none (not a favourite, or no slot left).
std::vector<int> assign(const std::vector<OfferedPreset>& offered);

// The slot a stored shortcut names: its last character as a digit from 1
// to 9 ("3", or a platform's "⌃⌘3"); none for anything else.
std::optional<int> stored(const Preset& preset);
// The shortcut text a slot is stored as.
std::string text(int slot);

// The lowest slot none of `taken` holds (slots as `assign` gives them); none when all are.
std::optional<int> lowestFree(const std::vector<int>& taken);

} // namespace FavoriteSlots
} // namespace morvane::app
