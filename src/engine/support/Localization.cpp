#include "engine/support/Localization.h"

#include "engine/support/EmbeddedTranslations.h"
#include "engine/support/PoCatalogue.h"

#include <map>
#include <mutex>

namespace morvane {
namespace {

std::mutex& languageLock() {
    static std::mutex lock;
    return lock;
}

std::string& currentLanguage() {
    static std::string language = "en";
    return language;
}

// Catalogues are read-only once built, so after this first (thread-safe)
// initialisation they can be shared by every thread without a lock.
const std::map<std::string, PoCatalogue, std::less<>>& catalogues() {
    static const auto tables = [] {
        std::map<std::string, PoCatalogue, std::less<>> result;
        for (const auto& embedded : detail::embeddedCatalogues()) {
            result[std::string(embedded.language)].merge(PoCatalogue::parse(embedded.text));
        }
        return result;
    }();
    return tables;
}

const PoCatalogue* catalogueFor(std::string_view language) {
    const auto& tables = catalogues();
    auto found = tables.find(language);
    if (found == tables.end()) {
        // "es-MX" and "pt_BR" fall back to their base language's table.
        const auto cut = language.find_first_of("-_");
        if (cut != std::string_view::npos) {
            found = tables.find(language.substr(0, cut));
        }
    }
    return found == tables.end() ? nullptr : &found->second;
}

} // namespace

std::string Localization::language() {
    std::lock_guard guard(languageLock());
    return currentLanguage();
}

void Localization::setLanguage(std::string code) {
    std::lock_guard guard(languageLock());
    currentLanguage() = std::move(code);
}

std::vector<std::string> Localization::availableLanguages() {
    std::vector<std::string> result{"en"};
    for (const auto& [language, table] : catalogues()) {
        if (language != "en") {
            result.push_back(language);
        }
    }
    return result;
}

std::string Localization::text(std::string_view key) {
    const std::string code = language();
    for (const std::string_view candidate : {std::string_view(code), std::string_view("en")}) {
        if (const PoCatalogue* table = catalogueFor(candidate)) {
            if (const std::string* translation = table->find(key)) {
                return *translation;
            }
        }
    }
    return std::string(key);
}

std::string Localization::plural(std::string_view singular, std::string_view plural, std::uint64_t count) {
    const std::string code = language();
    if (const PoCatalogue* table = catalogueFor(code)) {
        if (const std::string* translation = table->findPlural(singular, count)) {
            return *translation;
        }
    }
    return std::string(count == 1 ? singular : plural);
}

std::string Localization::format(std::string_view key, const std::vector<FormatArgument>& arguments) {
    return substitute(text(key), arguments);
}

std::string Localization::substitute(std::string_view pattern, const std::vector<FormatArgument>& arguments) {
    std::string result;
    result.reserve(pattern.size() + 16);
    std::size_t next = 0;
    for (std::size_t i = 0; i < pattern.size(); ++i) {
        const std::string_view rest = pattern.substr(i);
        const bool isText = rest.starts_with("%@");
        const bool isNumber = rest.starts_with("%lld");
        if (rest.starts_with("%%")) {
            result += '%';
            ++i;
            continue;
        }
        if (!isText && !isNumber) {
            result += pattern[i];
            continue;
        }
        if (next < arguments.size()) {
            const auto& value = arguments[next].value();
            if (const auto* text = std::get_if<std::string>(&value)) {
                result += *text;
            } else {
                result += std::to_string(std::get<long long>(value));
            }
        }
        ++next;
        i += isText ? 1 : 3;
    }
    return result;
}

} // namespace morvane
