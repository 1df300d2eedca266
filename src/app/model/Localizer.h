#pragma once

#include "app/model/AppLanguage.h"
#include "engine/support/EmbeddedTranslations.h"
#include "engine/support/Localization.h"

#include <QLocale>
#include <string>
#include <string_view>
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

    template <typename... Arguments>
    static std::string format(std::string_view key, Arguments&&... arguments) {
        return Localization::substitute(text(key), {FormatArgument(std::forward<Arguments>(arguments))...});
    }

    // The conventions of the interface language: how numbers and dates are written.
    static QLocale locale();

    // The languages with a catalogue, English first.
    static std::vector<std::string> availableLanguages();
};

} // namespace morvane::app
