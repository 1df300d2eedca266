#include "engine/support/Localization.h"

#include "engine/support/CatalogueSet.h"

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

const CatalogueSet& catalogues() {
    static const CatalogueSet set(detail::embeddedCatalogues());
    return set;
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
    return catalogues().languages();
}

std::string Localization::text(std::string_view key) {
    return catalogues().text(language(), key);
}

std::string Localization::plural(std::string_view singular, std::string_view plural, std::uint64_t count) {
    return catalogues().plural(language(), singular, plural, count);
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
