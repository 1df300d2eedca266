#pragma once

#include <QString>
#include <memory>

class QWidget;

namespace morvane::app {

class AppSettings;

// Where new versions come from: a check on demand, and two choices about
// checking and installing on its own.
class Updater {
public:
    virtual ~Updater() = default;

    virtual void checkForUpdates(QWidget* parent) = 0;
    virtual bool automaticChecks() const = 0;
    virtual void setAutomaticChecks(bool on) = 0;
    virtual bool automaticDownloads() const = 0;
    virtual void setAutomaticDownloads(bool on) = 0;
    // Whether the two choices do anything here; when not, the settings show
    // them disabled with `note`.
    virtual bool choicesApply() const = 0;
    virtual QString note() const = 0;

    // Linux: the package manager Morvane was installed with brings its updates.
    static std::unique_ptr<Updater> packageManager(AppSettings& settings);
};

} // namespace morvane::app
