#pragma once

#include <QWidget>

class QButtonGroup;
class QCheckBox;
class QComboBox;
class QLabel;
class QPushButton;
class QTabWidget;

namespace morvane::app {

class AppSettings;
class Updater;

// The settings: "General" (the toggles, the welcome window, where renames are
// recorded), "Appearance" (system, light or dark) and "Language". Every
// choice takes effect at once; the window re-labels itself in a new language.
class SettingsWindow : public QWidget {
    Q_OBJECT

public:
    SettingsWindow(AppSettings& settings, Updater& updater, QWidget* parent = nullptr);

    QTabWidget* tabs() const { return tabs_; }
    QComboBox* languagePicker() const { return language_; }
    QCheckBox* highlightToggle() const { return highlight_; }
    QPushButton* welcomeButton() const { return welcome_; }
    QButtonGroup* appearanceChoices() const { return appearance_; }

protected:
    void changeEvent(QEvent* event) override;

private:
    QWidget* makeGeneral();
    QWidget* makeAppearance();
    QWidget* makeLanguage();
    void showSettings();
    void retranslate();

    AppSettings& settings_;
    Updater& updater_;
    QTabWidget* tabs_;
    QCheckBox* highlight_;
    QCheckBox* runningResult_;
    QCheckBox* quitAfterLast_;
    QCheckBox* autoCheck_;
    QCheckBox* autoDownload_;
    QLabel* updateNote_;
    QPushButton* welcome_;
    QLabel* historyNote_;
    QButtonGroup* appearance_;
    QLabel* appearanceNote_;
    QLabel* languageLead_;
    QComboBox* language_;
};

} // namespace morvane::app
