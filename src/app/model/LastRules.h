#pragma once

#include "app/model/RuleEntry.h"

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

namespace morvane::app {

// A window's rule list as the settings keep it between runs: the rules and
// their switches as a preset file writes them (so that a later version reads
// it as it reads presets), with each card's expansion alongside.
namespace LastRules {

std::string encode(const std::vector<RuleEntry>& entries);

struct Restored {
    std::vector<RuleEntry> entries; // new ids
    std::size_t skipped = 0;        // rules of kinds this version does not know
};
// Nothing when the text cannot be read back as a rule list.
std::optional<Restored> decode(const std::string& encoded);

} // namespace LastRules
} // namespace morvane::app
