#include "app/desktop/Updater.h"

#include "app/desktop/UiText.h"
#include "app/model/AppSettings.h"

#include <QMessageBox>

namespace morvane::app {
namespace {

// There is no update framework on Linux: the distribution's package manager
// (or Flatpak, or the store) updates Morvane with everything else. The two
// choices are kept, so they hold if the same settings meet an updater later.
class PackageManagerUpdater final : public Updater {
public:
    explicit PackageManagerUpdater(AppSettings& settings) : settings_(settings) {}

    void checkForUpdates(QWidget* parent) override {
        QMessageBox box(QMessageBox::Information, ui("Check for Updates"),
                        ui("Updates come from the package manager Morvane was installed with."),
                        QMessageBox::Ok, parent);
        box.setInformativeText(ui("Use it to check for a newer version of Morvane."));
        box.exec();
    }

    bool automaticChecks() const override { return settings_.automaticUpdateChecks(); }
    void setAutomaticChecks(bool on) override { settings_.setAutomaticUpdateChecks(on); }
    bool automaticDownloads() const override { return settings_.automaticUpdateDownloads(); }
    void setAutomaticDownloads(bool on) override { settings_.setAutomaticUpdateDownloads(on); }
    bool choicesApply() const override { return false; }
    QString note() const override {
        return ui("Updates come from the package manager Morvane was installed with.");
    }

private:
    AppSettings& settings_;
};

} // namespace

std::unique_ptr<Updater> Updater::packageManager(AppSettings& settings) {
    return std::make_unique<PackageManagerUpdater>(settings);
}

} // namespace morvane::app
