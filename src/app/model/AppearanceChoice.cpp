#include "app/model/AppearanceChoice.h"

#include "app/model/Localizer.h"
#include "engine/support/RawValues.h"

namespace morvane::app {
namespace {

constexpr std::array<std::string_view, 3> kRawValues{"system", "light", "dark"};
constexpr std::array<std::string_view, 3> kLabels{"System", "Light", "Dark"};

} // namespace

std::string_view rawValue(AppearanceChoice choice) {
    return rawValueIn(kRawValues, choice);
}

std::optional<AppearanceChoice> appearanceChoiceFromRawValue(std::string_view raw) {
    return enumFromRawValue<AppearanceChoice>(kRawValues, raw);
}

std::string label(AppearanceChoice choice) {
    return Localizer::text(rawValueIn(kLabels, choice));
}

} // namespace morvane::app
