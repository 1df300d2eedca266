#include "app/model/AppLanguage.h"

#include <algorithm>

namespace morvane::app {
namespace {

// "ca_ES.UTF-8@valencia" -> "ca-ES-valencia"; BCP 47 identifiers pass unchanged.
std::string normalized(std::string_view identifier) {
    std::string_view modifier;
    if (const auto at = identifier.find('@'); at != std::string_view::npos) {
        modifier = identifier.substr(at + 1);
        identifier = identifier.substr(0, at);
    }
    identifier = identifier.substr(0, identifier.find('.'));
    std::string result(identifier);
    std::replace(result.begin(), result.end(), '_', '-');
    if (!modifier.empty()) {
        result.append("-").append(modifier);
    }
    return result;
}

std::string lowered(std::string_view text) {
    std::string result(text);
    std::transform(result.begin(), result.end(), result.begin(),
                   [](unsigned char c) { return static_cast<char>(c >= 'A' && c <= 'Z' ? c + 32 : c); });
    return result;
}

// Valencian is Catalan's variant, written "ca-ES-valencia" or "ca-valencia".
bool isValencian(const std::string& identifier) {
    const std::string lower = lowered(identifier);
    return lower.starts_with("ca-") && lower.ends_with("-valencia");
}

} // namespace

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
    for (const std::string& identifier : preferred) {
        const std::string tag = normalized(identifier);
        if (auto exact = named(tag)) {
            return *exact;
        }
        if (isValencian(tag)) {
            return *named("ca-ES-valencia");
        }
        if (auto byLanguage = named(lowered(tag.substr(0, tag.find('-'))))) {
            return *byLanguage;
        }
    }
    return english();
}

} // namespace morvane::app
