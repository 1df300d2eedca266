#include "app/model/Localizer.h"

#include "engine/support/CatalogueSet.h"

#include <algorithm>
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

std::string Localizer::number(std::int64_t value) {
    return locale().toString(static_cast<qlonglong>(value)).toStdString();
}

// Qt writes whole bytes without a plural ("1 bytes"); those are counted texts here.
std::string Localizer::dataSize(std::int64_t bytes) {
    if (bytes < 1024) {
        return Localizer::counted("%lld byte", "%lld bytes",
                                  static_cast<std::uint64_t>(std::max<std::int64_t>(bytes, 0)));
    }
    return locale().formattedDataSize(bytes).toStdString();
}

std::vector<std::string> Localizer::availableLanguages() {
    return catalogues().languages();
}

} // namespace morvane::app
