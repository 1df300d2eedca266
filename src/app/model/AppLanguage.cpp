#include "app/model/AppLanguage.h"

#include "engine/support/PreferredLanguages.h"

#include <algorithm>

namespace morvane::app {

AppLanguage AppLanguage::english() {
    return all().front();
}

const std::vector<AppLanguage>& AppLanguage::all() {
    static const std::vector<AppLanguage> languages{
        {"en", "English"},       {"es", "Espa\u00F1ol"},
        {"fr", "Fran\u00E7ais"}, {"de", "Deutsch"},
        {"it", "Italiano"},      {"nl", "Nederlands"},
        {"pl", "Polski"},        {"pt", "Portugu\u00EAs"},
        {"ca", "Catal\u00E0"},   {"ca-ES-valencia", "Valenci\u00E0"},
        {"gl", "Galego"},        {"eu", "Euskara"},
    };
    return languages;
}

std::optional<AppLanguage> AppLanguage::named(std::string_view code) {
    const auto& languages = all();
    const auto found = std::find_if(languages.begin(), languages.end(),
                                    [&](const AppLanguage& language) { return language.code == code; });
    return found == languages.end() ? std::nullopt : std::optional(*found);
}

AppLanguage AppLanguage::matching(const std::vector<std::string>& preferred) {
    std::vector<std::string> codes;
    for (const AppLanguage& language : all()) {
        codes.push_back(language.code);
    }
    const auto code = PreferredLanguages::match(preferred, codes);
    return code ? *named(*code) : english();
}

} // namespace morvane::app
