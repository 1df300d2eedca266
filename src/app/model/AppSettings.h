#pragma once

#include "app/model/AppLanguage.h"
#include "app/model/AppearanceChoice.h"

#include <QByteArray>
#include <QObject>
#include <memory>
#include <optional>
#include <string>
#include <vector>

class QSettings;

namespace morvane::app {

// The user's preferences, shared by every window of the process: read from
// the settings store at creation and written back at every assignment. It
// also applies the interface language to the application's texts and the
// engine's; the texts Qt draws itself are the application's to follow
// (`languageDidChange`). Main thread only.
class AppSettings : public QObject {
    Q_OBJECT
    Q_PROPERTY(std::string languagePreference READ languagePreference WRITE setLanguagePreference NOTIFY
                   languagePreferenceChanged)
    Q_PROPERTY(morvane::app::AppLanguage language READ language NOTIFY languageChanged)
    Q_PROPERTY(morvane::app::AppearanceChoice appearance READ appearance WRITE setAppearance NOTIFY
                   appearanceChanged)
    Q_PROPERTY(
        morvane::app::AppearanceChoice shownAppearance READ shownAppearance NOTIFY shownAppearanceChanged)
    Q_PROPERTY(
        bool highlightChanges READ highlightChanges WRITE setHighlightChanges NOTIFY highlightChangesChanged)
    Q_PROPERTY(bool showRunningResult READ showRunningResult WRITE setShowRunningResult NOTIFY
                   showRunningResultChanged)
    Q_PROPERTY(bool quitAfterLastWindow READ quitAfterLastWindow WRITE setQuitAfterLastWindow NOTIFY
                   quitAfterLastWindowChanged)
    Q_PROPERTY(bool automaticUpdateChecks READ automaticUpdateChecks WRITE setAutomaticUpdateChecks NOTIFY
                   automaticUpdateChecksChanged)
    Q_PROPERTY(bool automaticUpdateDownloads READ automaticUpdateDownloads WRITE setAutomaticUpdateDownloads
                   NOTIFY automaticUpdateDownloadsChanged)
    Q_PROPERTY(int welcomeRequest READ welcomeRequest NOTIFY welcomeRequestChanged)
    Q_PROPERTY(bool welcomeSeen READ welcomeSeen WRITE setWelcomeSeen NOTIFY welcomeSeenChanged)

public:
    // The preference that follows the desktop's languages.
    static constexpr const char* systemLanguage = "system";

    // Over the given store, with the desktop's preferred languages (BCP 47
    // identifiers, most preferred first).
    AppSettings(std::unique_ptr<QSettings> store, std::vector<std::string> preferredLanguages,
                QObject* parent = nullptr);
    ~AppSettings() override;

    // The process's instance: the user's settings file ("Morvane"/"Morvane")
    // and the desktop's languages. Created on first use.
    static AppSettings& shared();
    static std::vector<std::string> desktopLanguages();

    const std::string& languagePreference() const { return languagePreference_; }
    // Stores the preference, applies it and announces it, also when it is the
    // value already held.
    void setLanguagePreference(std::string preference);
    const AppLanguage& language() const { return language_; }
    // A language for this run only (a launch option): the preference stays.
    void overrideLanguage(const AppLanguage& language);

    AppearanceChoice appearance() const { return appearance_; }
    void setAppearance(AppearanceChoice appearance);
    // What the window shows: the appearance of a launch option, else the stored one.
    AppearanceChoice shownAppearance() const { return appearanceOverride_.value_or(appearance_); }
    void overrideAppearance(AppearanceChoice appearance);

    bool highlightChanges() const { return highlightChanges_; }
    void setHighlightChanges(bool on);
    bool showRunningResult() const { return showRunningResult_; }
    void setShowRunningResult(bool on);
    bool quitAfterLastWindow() const { return quitAfterLastWindow_; }
    void setQuitAfterLastWindow(bool on);
    // The updater's own two choices, kept here where it has no store of its own.
    bool automaticUpdateChecks() const { return automaticUpdateChecks_; }
    void setAutomaticUpdateChecks(bool on);
    bool automaticUpdateDownloads() const { return automaticUpdateDownloads_; }
    void setAutomaticUpdateDownloads(bool on);

    // A window's size and divider positions, as the toolkit saves them, by
    // name ("window", "splitter"); empty when none was stored.
    QByteArray layout(const std::string& name) const;
    void setLayout(const std::string& name, const QByteArray& state);

    // "Renames are recorded in <the history folder> so they can be undone."
    static std::string historyNote();

    int welcomeRequest() const { return welcomeRequest_; }
    // "Show the Welcome Window Again": every window watching shows it.
    void requestWelcome();
    bool welcomeSeen() const { return welcomeSeen_; }
    void setWelcomeSeen(bool seen);

signals:
    void languagePreferenceChanged();
    void languageChanged();
    // Once per assignment of the language preference, after it took effect.
    void languageDidChange();
    void appearanceChanged();
    void shownAppearanceChanged();
    void highlightChangesChanged();
    void showRunningResultChanged();
    void quitAfterLastWindowChanged();
    void automaticUpdateChecksChanged();
    void automaticUpdateDownloadsChanged();
    void welcomeRequestChanged();
    void welcomeSeenChanged();

private:
    void applyLanguage(bool announce);
    void useLanguage(const AppLanguage& language);
    bool storedBool(const char* key, bool fallback) const;
    void storeBool(const char* key, bool& field, bool value, void (AppSettings::*changed)());

    std::unique_ptr<QSettings> store_;
    std::vector<std::string> preferredLanguages_;
    std::string languagePreference_;
    AppLanguage language_;
    AppearanceChoice appearance_ = AppearanceChoice::system;
    std::optional<AppearanceChoice> appearanceOverride_;
    bool highlightChanges_ = true;
    bool showRunningResult_ = true;
    bool quitAfterLastWindow_ = true;
    bool automaticUpdateChecks_ = true;
    bool automaticUpdateDownloads_ = false;
    int welcomeRequest_ = 0;
    bool welcomeSeen_ = false;
};

} // namespace morvane::app
