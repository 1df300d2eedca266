#pragma once

#include "engine/support/EmbeddedTranslations.h"
#include "engine/support/PoCatalogue.h"

#include <cstdint>
#include <map>
#include <string>
#include <string_view>
#include <vector>

namespace morvane {

// The translations of one part of the program (the engine, an application)
// into every language it ships, one merged catalogue per language, keyed by
// the English texts. Read-only once built, so any thread may use it.
class CatalogueSet {
public:
    CatalogueSet() = default;
    explicit CatalogueSet(const std::vector<detail::EmbeddedCatalogue>& embedded);

    // The catalogue of `language`, else of the nearest language it falls back
    // to by dropping subtags: "es-MX" and "pt_BR" to "es" and "pt",
    // "ca-ES-valencia" to "ca-ES", then "ca". None: English, the keys themselves.
    const PoCatalogue* catalogueFor(std::string_view language) const;

    // The translation of `key` in the first catalogue along that fallback that
    // has one, else in English, else the key.
    std::string text(std::string_view language, std::string_view key) const;

    // The form for `count` of the counted text whose English forms are
    // `singular` and `plural`, along the same fallback; English's one/other
    // when no catalogue has it.
    std::string plural(std::string_view language, std::string_view singular, std::string_view plural,
                       std::uint64_t count) const;

    // The catalogues a lookup in `language` goes through before English, most
    // specific first: "ca-ES-valencia" gives its own, then "ca-ES"'s, then "ca"'s,
    // each where there is one.
    std::vector<const PoCatalogue*> chain(std::string_view language) const;

    // "en" first, then every language with a catalogue.
    std::vector<std::string> languages() const;

private:
    template <typename Lookup>
    const std::string* firstAlong(std::string_view language, Lookup lookup) const;

    std::map<std::string, PoCatalogue, std::less<>> catalogues_;
};

} // namespace morvane
