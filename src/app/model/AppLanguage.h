#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace morvane::app {

// One language the interface can be shown in.
struct AppLanguage {
    std::string code;
    std::string nativeName;

    bool operator==(const AppLanguage&) const = default;

    static AppLanguage english();
    // The twelve languages, in the order of the language picker.
    static const std::vector<AppLanguage>& all();
    // The known language with exactly this code.
    static std::optional<AppLanguage> named(std::string_view code);
    // The first preferred language (BCP 47 like "fr-CA", or POSIX like
    // "ca_ES.UTF-8@valencia") that is known as it is or by its language part;
    // English when none is.
    static AppLanguage matching(const std::vector<std::string>& preferred);
};

} // namespace morvane::app
