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

    // The text for `count` things: the translation of the entry `singular`
    // (with `plural` as its msgid_plural) in the form the language's plural
    // rule picks for `count`; without one, the English `singular` for 1 and
    // `plural` for every other number.
    static std::string plural(std::string_view singular, std::string_view plural, std::uint64_t count);

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

// The user's own `text` (a name, a pattern, characters) in the quotation
// marks of the current language.
inline std::string inQuotes(std::string_view text) {
    return localized("\u201C%@\u201D", text);
}

// A counted text: the form for `count` (see Localization::plural), its
// placeholders filled with `arguments`, or with `count` alone when none are given.
template <typename... Arguments>
std::string localizedCount(std::string_view singular, std::string_view plural, long long count,
                           Arguments&&... arguments) {
    const std::uint64_t magnitude =
        count < 0 ? static_cast<std::uint64_t>(-(count + 1)) + 1 : static_cast<std::uint64_t>(count);
    const std::string pattern = Localization::plural(singular, plural, magnitude);
    if constexpr (sizeof...(Arguments) == 0) {
        return Localization::substitute(pattern, {FormatArgument(count)});
    } else {
        return Localization::substitute(pattern, {FormatArgument(std::forward<Arguments>(arguments))...});
    }
}

} // namespace morvane
