#include "app/model/Localizer.h"

#include "engine/support/CatalogueSet.h"

#include <mutex>

namespace morvane::app {
namespace {

std::mutex& languageLock() {
    static std::mutex lock;
    return lock;
}

AppLanguage& currentLanguage() {
    static AppLanguage language = AppLanguage::english();
    return language;
}

const CatalogueSet& catalogues() {
    static const CatalogueSet set(detail::appCatalogues());
    return set;
}

} // namespace

AppLanguage Localizer::language() {
    std::lock_guard guard(languageLock());
    return currentLanguage();
}

void Localizer::setLanguage(AppLanguage language) {
    std::lock_guard guard(languageLock());
    currentLanguage() = std::move(language);
}

std::string Localizer::text(std::string_view key) {
    return catalogues().text(language().code, key);
}

std::string Localizer::plural(std::string_view singular, std::string_view plural, std::uint64_t count) {
    return catalogues().plural(language().code, singular, plural, count);
}

QLocale Localizer::locale() {
    QString name = QString::fromStdString(language().code);
    name.replace('-', '_');
    return QLocale(name);
}

std::vector<std::string> Localizer::availableLanguages() {
    return catalogues().languages();
}

} // namespace morvane::app
