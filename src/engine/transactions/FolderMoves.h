#pragma once

#include "engine/filesystem/FileSystem.h"

#include <exception>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace morvane {

// The moves of a batch, made folder after folder: a planned batch makes all
// the moves of one folder before those of the next, so one folder is held
// open at a time. Only the last folder is held: a move anywhere else (a
// folder's own rename happens in its parent) lets it go, so every move still
// finds its folder by the path the batch gives.
class FolderMoves {
public:
    explicit FolderMoves(FileSystem& fileSystem) : fileSystem_(fileSystem) {}

    // The error's message when the move failed; never throws.
    std::optional<std::string> move(std::string_view directory, std::string_view from, std::string_view to);
    bool exists(std::string_view directory, std::string_view name);

    // The text of an error caught while a batch ran.
    static std::string messageOf(const std::exception_ptr& error);

private:
    FileSystem::Folder& folder(std::string_view directory);

    FileSystem& fileSystem_;
    std::string directory_;
    std::unique_ptr<FileSystem::Folder> folder_;
};

} // namespace morvane
