#include "app/model/AppSettings.h"

#include "app/model/HomePath.h"
#include "app/model/Localizer.h"
#include "app/model/QtStrings.h"
#include "engine/support/Localization.h"
#include "engine/transactions/HistoryStore.h"

#include <QDir>
#include <QLocale>
#include <QSettings>

namespace morvane::app {
namespace {

constexpr const char* kLanguage = "language";
constexpr const char* kAppearance = "appearance";
constexpr const char* kHighlightChanges = "highlightChanges";
constexpr const char* kShowRunningResult = "showRunningResult";
constexpr const char* kQuitAfterLastWindow = "quitAfterLastWindow";
constexpr const char* kWelcomeSeen = "welcomeSeen";
constexpr const char* kAutomaticUpdateChecks = "automaticUpdateChecks";
constexpr const char* kAutomaticUpdateDownloads = "automaticUpdateDownloads";

std::optional<std::string> storedString(const QSettings& store, const char* key) {
    const QVariant value = store.value(key);
    if (value.typeId() != QMetaType::QString) {
        return std::nullopt;
    }
    return fromQString(value.toString());
}

} // namespace

AppSettings::AppSettings(std::unique_ptr<QSettings> store, std::vector<std::string> preferredLanguages,
                         QObject* parent)
    : QObject(parent), store_(std::move(store)), preferredLanguages_(std::move(preferredLanguages)) {
    languagePreference_ = storedString(*store_, kLanguage).value_or(systemLanguage);
    appearance_ = appearanceChoiceFromRawValue(storedString(*store_, kAppearance).value_or(""))
                      .value_or(AppearanceChoice::system);
    highlightChanges_ = storedBool(kHighlightChanges, true);
    showRunningResult_ = storedBool(kShowRunningResult, true);
    quitAfterLastWindow_ = storedBool(kQuitAfterLastWindow, true);
    welcomeSeen_ = storedBool(kWelcomeSeen, false);
    automaticUpdateChecks_ = storedBool(kAutomaticUpdateChecks, true);
    automaticUpdateDownloads_ = storedBool(kAutomaticUpdateDownloads, false);
    applyLanguage(false);
}

AppSettings::~AppSettings() = default;

AppSettings& AppSettings::shared() {
    static AppSettings* settings =
        new AppSettings(std::make_unique<QSettings>("Morvane", "Morvane"), desktopLanguages());
    return *settings;
}

std::vector<std::string> AppSettings::desktopLanguages() {
    std::vector<std::string> result;
    for (const QString& language : QLocale::system().uiLanguages()) {
        result.push_back(fromQString(language));
    }
    return result;
}

void AppSettings::setLanguagePreference(std::string preference) {
    const bool changed = preference != languagePreference_;
    languagePreference_ = std::move(preference);
    if (changed) {
        emit languagePreferenceChanged();
    }
    applyLanguage(true);
}

void AppSettings::overrideLanguage(const AppLanguage& language) {
    useLanguage(language);
}

void AppSettings::applyLanguage(bool announce) {
    const std::optional<AppLanguage> chosen = AppLanguage::named(languagePreference_);
    useLanguage(chosen.value_or(AppLanguage::matching(preferredLanguages_)));
    store_->setValue(kLanguage, toQString(languagePreference_));
    if (announce) {
        emit languageDidChange();
    }
}

void AppSettings::useLanguage(const AppLanguage& language) {
    Localizer::setLanguage(language);
    Localization::setLanguage(language.code);
    if (language != language_) {
        language_ = language;
        emit languageChanged();
    }
}

void AppSettings::setAppearance(AppearanceChoice appearance) {
    const AppearanceChoice shownBefore = shownAppearance();
    const bool changed = appearance != appearance_;
    appearance_ = appearance;
    store_->setValue(kAppearance, toQString(rawValue(appearance)));
    if (changed) {
        emit appearanceChanged();
    }
    if (shownAppearance() != shownBefore) {
        emit shownAppearanceChanged();
    }
}

void AppSettings::overrideAppearance(AppearanceChoice appearance) {
    const AppearanceChoice shownBefore = shownAppearance();
    appearanceOverride_ = appearance;
    if (shownAppearance() != shownBefore) {
        emit shownAppearanceChanged();
    }
}

// Settings files keep booleans as the words "true" and "false"; anything
// else stored under a boolean key is not one, and the default applies.
bool AppSettings::storedBool(const char* key, bool fallback) const {
    const QVariant value = store_->value(key);
    if (value.typeId() == QMetaType::Bool) {
        return value.toBool();
    }
    if (value.typeId() == QMetaType::QString) {
        const QString word = value.toString();
        if (word == "true" || word == "false") {
            return word == "true";
        }
    }
    return fallback;
}

void AppSettings::storeBool(const char* key, bool& field, bool value, void (AppSettings::*changed)()) {
    store_->setValue(key, value);
    if (field != value) {
        field = value;
        emit(this->*changed)();
    }
}

void AppSettings::setHighlightChanges(bool on) {
    storeBool(kHighlightChanges, highlightChanges_, on, &AppSettings::highlightChangesChanged);
}

void AppSettings::setShowRunningResult(bool on) {
    storeBool(kShowRunningResult, showRunningResult_, on, &AppSettings::showRunningResultChanged);
}

void AppSettings::setQuitAfterLastWindow(bool on) {
    storeBool(kQuitAfterLastWindow, quitAfterLastWindow_, on, &AppSettings::quitAfterLastWindowChanged);
}

void AppSettings::setWelcomeSeen(bool seen) {
    storeBool(kWelcomeSeen, welcomeSeen_, seen, &AppSettings::welcomeSeenChanged);
}

void AppSettings::setAutomaticUpdateChecks(bool on) {
    storeBool(kAutomaticUpdateChecks, automaticUpdateChecks_, on, &AppSettings::automaticUpdateChecksChanged);
}

void AppSettings::setAutomaticUpdateDownloads(bool on) {
    storeBool(kAutomaticUpdateDownloads, automaticUpdateDownloads_, on,
              &AppSettings::automaticUpdateDownloadsChanged);
}

QByteArray AppSettings::layout(const std::string& name) const {
    const QVariant value = store_->value("layout/" + toQString(name));
    return value.typeId() == QMetaType::QByteArray ? value.toByteArray() : QByteArray();
}

void AppSettings::setLayout(const std::string& name, const QByteArray& state) {
    store_->setValue("layout/" + toQString(name), state);
}

std::string AppSettings::historyNote() {
    std::string folder;
    try {
        folder = abbreviatingHome(HistoryStore::defaultDirectory(), fromQString(QDir::homePath()));
    } catch (const std::exception&) {
        folder = "~/.local/share/Morvane/History";
    }
    return Localizer::format("Renames are recorded in %@ so they can be undone.", folder);
}

void AppSettings::requestWelcome() {
    ++welcomeRequest_;
    emit welcomeRequestChanged();
}

} // namespace morvane::app
