#pragma once

#include "engine/core/RenamePipeline.h"
#include "engine/presets/PresetRule.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace morvane {

// A named, saved rule list, and its file format.
struct Preset {
    static constexpr std::int64_t currentFormat = 1;
    static constexpr std::string_view fileExtension = "morvanepreset";
    // Preset files are small; anything far larger is not one, and is refused
    // before parsing rather than read into memory.
    static constexpr std::size_t maxFileBytes = 4 * 1024 * 1024;

    std::int64_t format = currentFormat;
    std::string name;
    bool favorite = false;
    std::optional<std::string> shortcut;
    std::vector<PresetRule> rules;

    Preset() = default;
    Preset(std::string name_, std::vector<PresetRule> rules_, bool favorite_ = false,
           std::optional<std::string> shortcut_ = std::nullopt)
        : name(std::move(name_)), favorite(favorite_), shortcut(std::move(shortcut_)),
          rules(std::move(rules_)) {}

    // One stored rule per step of `pipeline`, in order.
    static Preset fromPipeline(std::string name, const RenamePipeline& pipeline, bool favorite = false,
                               std::optional<std::string> shortcut = std::nullopt);

    // The file's bytes: indented UTF-8 JSON, keys sorted, "/" not escaped.
    std::string data() const;
    // Reads a file's bytes. Throws DecodingError for anything that is not a
    // preset and PresetError for a format newer than this version reads.
    static Preset decode(std::string_view data);

    struct Built {
        RenamePipeline pipeline;
        std::vector<std::size_t> skipped; // positions of rules of unknown kinds
    };
    // Rules of unknown kinds are skipped and reported; a rule whose
    // parameters do not decode fails the whole call.
    Built makePipeline() const;

    bool operator==(const Preset&) const = default;
};

} // namespace morvane
