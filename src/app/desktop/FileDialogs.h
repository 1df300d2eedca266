#pragma once

#include <QString>
#include <memory>
#include <optional>
#include <string>
#include <vector>

class QWidget;

namespace morvane::app {

// The dialogs that pick folders and files, passed in so that tests can
// script the user's choice. Each answer is a path, or nothing when the user
// cancelled.
class FileDialogs {
public:
    virtual ~FileDialogs() = default;

    // "Open Folder", with the button "Open": one folder. The dialog offers
    // "Include Subfolders", checked as `includeSubfolders` comes in, and
    // leaves the user's choice there.
    virtual std::optional<std::string> chooseFolder(QWidget* parent, bool& includeSubfolders) = 0;
    // One existing file to read; `filter` as Qt writes it ("Text (*.txt *.tsv)").
    virtual std::optional<std::string> openFile(QWidget* parent, const QString& title,
                                                const QString& filter) = 0;
    // Any number of existing files to read; none when cancelled.
    virtual std::vector<std::string> openFiles(QWidget* parent, const QString& title,
                                               const QString& filter) = 0;
    // Where to write a file, starting from `suggestedName`.
    virtual std::optional<std::string> saveFile(QWidget* parent, const QString& title,
                                                const QString& suggestedName, const QString& filter) = 0;

    // The desktop's own dialogs.
    static std::shared_ptr<FileDialogs> system();
};

} // namespace morvane::app
