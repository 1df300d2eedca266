#include "cli/ItemSource.h"

#include "engine/filesystem/FileSystemError.h"
#include "engine/filesystem/FolderScanner.h"
#include "engine/filesystem/ItemsFromPaths.h"
#include "engine/support/Unicode.h"

#include <filesystem>
#include <memory>

namespace morvane::cli {
namespace {

// The scanner shares ownership of its file system; the caller's outlives it here.
std::shared_ptr<const FileSystem> borrowed(const FileSystem& fileSystem) {
    return std::shared_ptr<const FileSystem>(&fileSystem, [](const FileSystem*) {});
}

} // namespace

std::string absolutePath(const std::string& path, const std::string& workingDirectory) {
    std::filesystem::path absolute(path);
    if (absolute.is_relative()) {
        absolute = std::filesystem::path(workingDirectory) / absolute;
    }
    std::string normal = absolute.lexically_normal().string();
    while (normal.size() > 1 && normal.back() == '/') {
        normal.pop_back();
    }
    return normal;
}

ItemSource ItemSource::read(const FileSystem& fileSystem, const CliOptions& options,
                            const std::string& workingDirectory) {
    std::vector<std::string> paths;
    for (const std::string& path : options.paths) {
        if (!unicode::isValidUtf8(path)) {
            throw UsageError{"cannot use a path whose name is not valid UTF-8: " + path};
        }
        paths.push_back(absolutePath(path, workingDirectory));
        std::error_code error;
        if (!std::filesystem::exists(std::filesystem::symlink_status(paths.back(), error))) {
            throw UsageError{"no such file or folder: " + path};
        }
    }
    ItemSource source;
    std::error_code ignored;
    if (paths.size() == 1 && std::filesystem::is_directory(paths.front(), ignored)) {
        source.folder = paths.front();
        try {
            auto scanned = FolderScanner(borrowed(fileSystem)).scanReporting(paths.front(), options.scan);
            source.items = std::move(scanned.items);
            source.unreadableNamesMessage = scanned.unreadableNamesMessage();
        } catch (const FileSystemError& error) {
            throw UsageError{error.message()};
        }
        return source;
    }
    source.items = itemsFromPaths(fileSystem, paths);
    return source;
}

} // namespace morvane::cli
