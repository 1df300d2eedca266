#include "app/model/FolderAccess.h"

#include "engine/filesystem/FileSystemError.h"
#include "engine/filesystem/ItemsFromPaths.h"
#include "engine/filesystem/LocalFileSystem.h"
#include "engine/support/Paths.h"

#include <filesystem>

namespace morvane::app {
namespace {

class LocalFolderAccess final : public FolderAccess {
public:
    using FolderAccess::FolderAccess;

    bool isDirectory(const std::string& path) const override {
        std::error_code error;
        return std::filesystem::is_directory(path, error);
    }
};

} // namespace

FolderAccess::FolderAccess(std::shared_ptr<FileSystem> fileSystem, ChooseFolder chooseFolder)
    : fileSystem_(std::move(fileSystem)), chooseFolder_(std::move(chooseFolder)) {}

std::shared_ptr<FolderAccess> FolderAccess::local(ChooseFolder chooseFolder) {
    return std::make_shared<LocalFolderAccess>(std::make_shared<LocalFileSystem>(), std::move(chooseFolder));
}

// Over the file-system contract: the entry as its parent folder lists it.
bool FolderAccess::isDirectory(const std::string& path) const {
    const std::string name = Paths::lastComponent(path);
    if (name.empty()) {
        return fileSystem_->exists(Paths::normalized(path));
    }
    try {
        for (const FSEntry& entry : fileSystem_->entries(Paths::parent(path))) {
            if (entry.name == name) {
                return entry.isDirectory || entry.symlinkTargetIsDirectory;
            }
        }
    } catch (const FileSystemError&) {
    }
    return false;
}

std::vector<FileItem> FolderAccess::items(const std::vector<std::string>& paths) const {
    return itemsFromPaths(*fileSystem_, paths);
}

std::optional<FolderChoice> FolderAccess::chooseFolder(bool includeSubfolders) const {
    return chooseFolder_ ? chooseFolder_(includeSubfolders) : std::nullopt;
}

} // namespace morvane::app
