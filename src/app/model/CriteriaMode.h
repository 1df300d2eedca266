#pragma once

#include <optional>
#include <string_view>

namespace morvane::app {

// Whether the rule panel (the renaming criteria) is shown beside the items.
enum class CriteriaMode { docked, hidden };

std::string_view rawValue(CriteriaMode mode);
std::optional<CriteriaMode> criteriaModeFromRawValue(std::string_view raw);

} // namespace morvane::app
