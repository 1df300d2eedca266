#include "engine/support/PreferredLanguages.h"

#include <algorithm>
#include <cstdlib>
#include <string_view>

namespace morvane::PreferredLanguages {
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
bool isValencian(const std::string& tag) {
    const std::string lower = lowered(tag);
    return lower.starts_with("ca-") && lower.ends_with("-valencia");
}

// The locales that stand for no language at all.
bool isPlainLocale(std::string_view locale) {
    const std::string_view name = locale.substr(0, locale.find_first_of(".@"));
    return name == "C" || name == "POSIX";
}

std::optional<std::string> find(const std::vector<std::string>& available, const std::string& code) {
    const auto found = std::find_if(available.begin(), available.end(), [&](const std::string& known) {
        return lowered(known) == lowered(code);
    });
    return found == available.end() ? std::nullopt : std::optional(*found);
}

} // namespace

std::vector<std::string> fromEnvironment(const Variable& variable) {
    std::optional<std::string> locale;
    for (const char* name : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
        if ((locale = variable(name))) {
            break;
        }
    }
    // Without a locale the process runs in "C", which gettext also reads as no language.
    if (!locale || isPlainLocale(*locale)) {
        return {};
    }
    std::vector<std::string> languages;
    if (const auto list = variable("LANGUAGE")) {
        std::string_view rest = *list;
        while (!rest.empty()) {
            const std::size_t colon = std::min(rest.find(':'), rest.size());
            if (colon > 0 && !isPlainLocale(rest.substr(0, colon))) {
                languages.emplace_back(rest.substr(0, colon));
            }
            rest.remove_prefix(std::min(colon + 1, rest.size()));
        }
    }
    languages.push_back(*locale);
    return languages;
}

std::vector<std::string> fromEnvironment() {
    return fromEnvironment([](const char* name) -> std::optional<std::string> {
        const char* value = std::getenv(name);
        return value != nullptr && *value != '\0' ? std::optional<std::string>(value) : std::nullopt;
    });
}

std::optional<std::string> match(const std::vector<std::string>& preferred,
                                 const std::vector<std::string>& available) {
    for (const std::string& identifier : preferred) {
        const std::string tag = normalized(identifier);
        if (auto exact = find(available, tag)) {
            return exact;
        }
        if (isValencian(tag)) {
            if (auto valencian = find(available, "ca-ES-valencia")) {
                return valencian;
            }
        }
        if (auto byLanguage = find(available, tag.substr(0, tag.find('-')))) {
            return byLanguage;
        }
    }
    return std::nullopt;
}

} // namespace morvane::PreferredLanguages
