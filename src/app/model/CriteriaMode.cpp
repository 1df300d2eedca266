#include "app/model/CriteriaMode.h"

#include "engine/support/RawValues.h"

namespace morvane::app {
namespace {

constexpr std::array<std::string_view, 2> kRawValues{"docked", "hidden"};

} // namespace

std::string_view rawValue(CriteriaMode mode) {
    return rawValueIn(kRawValues, mode);
}

std::optional<CriteriaMode> criteriaModeFromRawValue(std::string_view raw) {
    return enumFromRawValue<CriteriaMode>(kRawValues, raw);
}

} // namespace morvane::app
