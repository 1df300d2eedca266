#include "app/model/LastRules.h"

#include "app/model/RuleList.h"
#include "engine/presets/Preset.h"

#include <nlohmann/json.hpp>

namespace morvane::app::LastRules {
namespace {

// The preset's own keys are the preset file's; this one is passed over by
// anything that reads it as a preset.
constexpr const char* kExpanded = "expanded";

} // namespace

std::string encode(const std::vector<RuleEntry>& entries) {
    nlohmann::json stored =
        nlohmann::json::parse(Preset::fromPipeline("", RuleList(entries).pipeline()).data());
    nlohmann::json expanded = nlohmann::json::array();
    for (const RuleEntry& entry : entries) {
        expanded.push_back(entry.isExpanded);
    }
    stored[kExpanded] = std::move(expanded);
    return stored.dump();
}

std::optional<Restored> decode(const std::string& encoded) {
    try {
        const Preset::Built built = Preset::decode(encoded).makePipeline();
        Restored restored{RuleList::fromPipeline(built.pipeline).entries(), built.skipped.size()};
        // Each known rule takes back its card's state; a list of another
        // length (rules skipped) leaves them all collapsed, as a preset's.
        const nlohmann::json stored = nlohmann::json::parse(encoded);
        const auto expanded = stored.find(kExpanded);
        if (expanded != stored.end() && expanded->is_array() && expanded->size() == restored.entries.size()) {
            for (std::size_t index = 0; index < restored.entries.size(); ++index) {
                restored.entries[index].isExpanded =
                    (*expanded)[index].is_boolean() && (*expanded)[index].get<bool>();
            }
        }
        return restored;
    } catch (const std::exception&) {
        return std::nullopt;
    }
}

} // namespace morvane::app::LastRules
