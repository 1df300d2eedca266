#pragma once

#include "app/model/AppLanguage.h"
#include "engine/support/EmbeddedTranslations.h"
#include "engine/support/Localization.h"

#include <QLocale>
#include <cstdint>
#include <string>
#include <string_view>
#include <type_traits>
#include <utility>
#include <vector>

namespace morvane::app {

namespace detail {
// The application's catalogues (translations/<language>/*.po), embedded at build time.
std::vector<morvane::detail::EmbeddedCatalogue> appCatalogues();
} // namespace detail

// The application's own texts for people, looked up by their English wording
// in the current interface language at the moment they are shown. The
// language is process-wide and guarded by a lock: texts are also produced off
// the main thread. The lookup and the placeholders ("%@", "%lld") are the
// engine's, over the application's own catalogues.
class Localizer {
public:
    static AppLanguage language();
    static void setLanguage(AppLanguage language);

    // The translation of `key`; English (the key) when there is none.
    static std::string text(std::string_view key);

    // The translation with its placeholders filled; integers are written as
    // the interface language writes numbers.
    template <typename... Arguments>
    static std::string format(std::string_view key, Arguments&&... arguments) {
        return Localization::substitute(text(key), {argument(std::forward<Arguments>(arguments))...});
    }

    // The form for `count` of a counted text whose English forms are
    // `singular` and `plural`, as the language's plural rule picks it.
    static std::string plural(std::string_view singular, std::string_view plural, std::uint64_t count);

    // That form with its placeholders filled: with `count` alone when no
    // arguments are given, else with the arguments in order.
    template <typename... Arguments>
    static std::string counted(std::string_view singular, std::string_view pluralForm, std::uint64_t count,
                               Arguments&&... arguments) {
        const std::string pattern = plural(singular, pluralForm, count);
        if constexpr (sizeof...(Arguments) == 0) {
            return Localization::substitute(pattern, {argument(count)});
        } else {
            return Localization::substitute(pattern, {argument(std::forward<Arguments>(arguments))...});
        }
    }

    // A number as the interface language writes it: "100,000", "100.000".
    static std::string number(std::int64_t value);
    // A file's size: "1 byte", "640 bytes", "2.00 KiB", "1,50 MiB".
    static std::string dataSize(std::int64_t bytes);

    // The conventions of the interface language: how numbers and dates are written.
    static QLocale locale();

    // The languages with a catalogue, English first.
    static std::vector<std::string> availableLanguages();

private:
    template <typename Value>
    static FormatArgument argument(Value&& value) {
        if constexpr (std::is_integral_v<std::remove_cvref_t<Value>>) {
            return FormatArgument(number(static_cast<std::int64_t>(value)));
        } else {
            return FormatArgument(std::forward<Value>(value));
        }
    }
};

} // namespace morvane::app
