#include "app/model/FavoriteSlots.h"

#include "engine/presets/FactoryPresets.h"

#include <algorithm>

namespace morvane::app::FavoriteSlots {
namespace {

// A built-in favourite's own slot: its place among the built-in favourites.
std::optional<int> builtInSlot(const Preset& preset) {
    int slot = 0;
    for (const Preset& factory : FactoryPresets::all()) {
        if (factory.favorite) {
            ++slot;
            if (factory.name == preset.name) {
                return slot;
            }
        }
    }
    return std::nullopt;
}

} // namespace

std::optional<int> stored(const Preset& preset) {
    if (!preset.shortcut || preset.shortcut->empty()) {
        return std::nullopt;
    }
    const char last = preset.shortcut->back();
    if (last < '1' || last > '0' + count) {
        return std::nullopt;
    }
    return last - '0';
}

std::string text(int slot) {
    return std::to_string(slot);
}

std::optional<int> lowestFree(const std::vector<int>& taken) {
    for (int slot = 1; slot <= count; ++slot) {
        if (std::find(taken.begin(), taken.end(), slot) == taken.end()) {
            return slot;
        }
    }
    return std::nullopt;
}

std::vector<int> assign(const std::vector<OfferedPreset>& offered) {
    std::vector<int> given(offered.size(), 0);
    const auto own = [&](std::size_t i) {
        const OfferedPreset& offer = offered[i];
        return offer.isFactory ? builtInSlot(offer.preset) : stored(offer.preset);
    };
    // Those with a slot of their own first, then the others in order.
    for (const bool ownSlots : {true, false}) {
        for (std::size_t i = 0; i < offered.size(); ++i) {
            if (!offered[i].preset.favorite || given[i] != 0) {
                continue;
            }
            const std::optional<int> wanted = ownSlots ? own(i) : lowestFree(given);
            if (wanted && std::find(given.begin(), given.end(), *wanted) == given.end()) {
                given[i] = *wanted;
            }
        }
    }
    return given;
}

} // namespace morvane::app::FavoriteSlots
