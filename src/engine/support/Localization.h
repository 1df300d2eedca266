#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <type_traits>
#include <variant>
#include <vector>

namespace morvane {

// One value for a "%@" (text) or "%lld" (integer) placeholder.
class FormatArgument {
public:
    FormatArgument(std::string_view text) : value_(std::string(text)) {}
    FormatArgument(const std::string& text) : value_(text) {}
    FormatArgument(const char* text) : value_(std::string(text)) {}
    template <typename Integer>
    requires std::is_integral_v<Integer> FormatArgument(Integer number)
        : value_(static_cast<long long>(number)) {}

    const std::variant<std::string, long long>& value() const { return value_; }

private:
    std::variant<std::string, long long> value_;
};

// The language of every text the engine produces for people. Texts are looked
// up by their English wording at the moment they are produced, so a plan
// computed on a background thread while the user switches language gets each
// text whole in one language or the other. The language is guarded by one lock.
class Localization {
public:
    static std::string language();
    static void setLanguage(std::string code);

    // The languages that have a translation table, English included.
    static std::vector<std::string> availableLanguages();

    // The translation of `key` in the current language; falls back to English
    // (the key itself, since keys are the English texts).
    static std::string text(std::string_view key);

    // `text(key)` with its "%@" and "%lld" placeholders filled in order.
    static std::string format(std::string_view key, const std::vector<FormatArgument>& arguments);

    // Fills placeholders without any lookup (also used for texts already translated).
    static std::string substitute(std::string_view pattern, const std::vector<FormatArgument>& arguments);
};

// Shorthands used wherever the engine produces a text.
inline std::string localized(std::string_view key) {
    return Localization::text(key);
}

template <typename... Arguments>
std::string localized(std::string_view key, Arguments&&... arguments) {
    return Localization::format(key, {FormatArgument(std::forward<Arguments>(arguments))...});
}

} // namespace morvane
