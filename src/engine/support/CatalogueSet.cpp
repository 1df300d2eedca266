#include "engine/support/CatalogueSet.h"

namespace morvane {
namespace {

// `language` without its last subtag ("ca-ES-valencia" -> "ca-ES"); empty after the last.
std::string_view parentLanguage(std::string_view language) {
    const auto cut = language.find_last_of("-_");
    return cut == std::string_view::npos ? std::string_view() : language.substr(0, cut);
}

} // namespace

CatalogueSet::CatalogueSet(const std::vector<detail::EmbeddedCatalogue>& embedded) {
    for (const auto& catalogue : embedded) {
        catalogues_[std::string(catalogue.language)].merge(PoCatalogue::parse(catalogue.text));
    }
}

const PoCatalogue* CatalogueSet::catalogueFor(std::string_view language) const {
    const auto along = chain(language);
    return along.empty() ? nullptr : along.front();
}

std::vector<const PoCatalogue*> CatalogueSet::chain(std::string_view language) const {
    std::vector<const PoCatalogue*> result;
    for (; !language.empty(); language = parentLanguage(language)) {
        const auto found = catalogues_.find(language);
        if (found != catalogues_.end()) {
            result.push_back(&found->second);
        }
    }
    return result;
}

template <typename Lookup>
const std::string* CatalogueSet::firstAlong(std::string_view language, Lookup lookup) const {
    // A regional catalogue may hold only what differs from its base language's.
    for (const std::string_view start : {language, std::string_view("en")}) {
        for (const PoCatalogue* catalogue : chain(start)) {
            if (const std::string* translation = lookup(*catalogue)) {
                return translation;
            }
        }
    }
    return nullptr;
}

std::string CatalogueSet::text(std::string_view language, std::string_view key) const {
    const std::string* translation =
        firstAlong(language, [&](const PoCatalogue& catalogue) { return catalogue.find(key); });
    return translation ? *translation : std::string(key);
}

std::string CatalogueSet::plural(std::string_view language, std::string_view singular,
                                 std::string_view plural, std::uint64_t count) const {
    const std::string* translation = firstAlong(
        language, [&](const PoCatalogue& catalogue) { return catalogue.findPlural(singular, count); });
    return translation ? *translation : std::string(count == 1 ? singular : plural);
}

std::vector<std::string> CatalogueSet::languages() const {
    std::vector<std::string> result{"en"};
    for (const auto& [language, catalogue] : catalogues_) {
        if (language != "en") {
            result.push_back(language);
        }
    }
    return result;
}

} // namespace morvane
