#pragma once

#include "engine/core/FileItem.h"
#include "engine/filesystem/FileSystem.h"

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace morvane::app {

// A folder picked to open, and whether the picker asked for its subfolders' items too.
struct FolderChoice {
    std::string path;
    bool includeSubfolders = false;
};

// What a window needs of the disk besides scanning and renaming: whether a
// dropped path is a folder, items for dropped paths, and the folder picker
// (the window supplies the dialog). Everything else goes through `fileSystem`,
// so a model can run against an in-memory tree.
class FolderAccess {
public:
    // The folder the user picked, the picker offering subfolders as
    // `includeSubfolders` says; nothing when the dialog was cancelled.
    using ChooseFolder = std::function<std::optional<FolderChoice>(bool includeSubfolders)>;

    explicit FolderAccess(std::shared_ptr<FileSystem> fileSystem, ChooseFolder chooseFolder = {});
    virtual ~FolderAccess() = default;

    // The local disk: folders are found with the system's stat, following links.
    static std::shared_ptr<FolderAccess> local(ChooseFolder chooseFolder = {});

    const std::shared_ptr<FileSystem>& fileSystem() const { return fileSystem_; }

    // Whether `path` is a folder or a link to one; false when that cannot be read.
    virtual bool isDirectory(const std::string& path) const;
    // One item per path, in order; dates, size and kind from the file system
    // (creation date where it is recorded), 1970-01-01, 0 and "file" where
    // they cannot be read.
    std::vector<FileItem> items(const std::vector<std::string>& paths) const;
    std::optional<FolderChoice> chooseFolder(bool includeSubfolders) const;

private:
    std::shared_ptr<FileSystem> fileSystem_;
    ChooseFolder chooseFolder_;
};

} // namespace morvane::app
