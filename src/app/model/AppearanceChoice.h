#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>

namespace morvane::app {

// Light, dark, or whatever the desktop uses.
enum class AppearanceChoice { system, light, dark };

inline constexpr std::array<AppearanceChoice, 3> allAppearanceChoices{
    AppearanceChoice::system, AppearanceChoice::light, AppearanceChoice::dark};

std::string_view rawValue(AppearanceChoice choice);
std::optional<AppearanceChoice> appearanceChoiceFromRawValue(std::string_view raw);
// "System", "Light" or "Dark", in the interface language.
std::string label(AppearanceChoice choice);

} // namespace morvane::app
