#include "engine/transactions/FolderMoves.h"

#include "engine/filesystem/FileSystemError.h"
#include "engine/support/Localization.h"

namespace morvane {

std::string FolderMoves::messageOf(const std::exception_ptr& error) {
    try {
        std::rethrow_exception(error);
    } catch (const FileSystemError& fileSystemError) {
        return fileSystemError.message();
    } catch (const std::exception& other) {
        return other.what();
    } catch (...) {
        return localized("An unknown error occurred");
    }
}

FileSystem::Folder& FolderMoves::folder(std::string_view directory) {
    if (!folder_ || directory != directory_) {
        folder_.reset(); // one held at a time
        directory_.assign(directory);
        folder_ = fileSystem_.folder(directory_);
    }
    return *folder_;
}

std::optional<std::string> FolderMoves::move(std::string_view directory, std::string_view from,
                                             std::string_view to) {
    try {
        folder(directory).move(from, to);
        return std::nullopt;
    } catch (...) {
        return messageOf(std::current_exception());
    }
}

bool FolderMoves::exists(std::string_view directory, std::string_view name) {
    try {
        return folder(directory).exists(name);
    } catch (...) {
        return false; // only opening the folder can throw: then nothing is there
    }
}

} // namespace morvane
