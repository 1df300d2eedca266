#pragma once

#include "app/model/AppModel.h"

#include <memory>

namespace morvane::app {

class Clipboard;
class FileDialogs;
class FileManager;
class Updater;

// What the application reaches outside itself, passed in so that tests can
// script it; the application fills every field left empty with the desktop's own.
struct DesktopServices {
    std::shared_ptr<FileDialogs> dialogs;
    std::shared_ptr<Clipboard> clipboard;
    std::shared_ptr<FileManager> fileManager;
    std::shared_ptr<Updater> updater;
    // The base of every window's model; each window adds its folder picker.
    AppModel::Environment modelEnvironment;
    // Ask the desktop portal for its colour scheme (not in tests).
    bool watchDesktopAppearance = true;
};

} // namespace morvane::app
