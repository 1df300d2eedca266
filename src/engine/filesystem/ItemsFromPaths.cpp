#include "engine/filesystem/ItemsFromPaths.h"

#include "engine/filesystem/FileSystemError.h"
#include "engine/support/NameKey.h"
#include "engine/support/Paths.h"

#include <unordered_map>
#include <unordered_set>

namespace morvane {
namespace {

// What is needed of each parent folder, asked once however many of its
// entries were picked.
struct Folder {
    SharedString path;                                // shared by its items
    std::unordered_map<std::string, FSEntry> entries; // by name
    std::string identity;                             // the canonical path: the same through every link to it
    bool caseSensitive = true;
};

Folder read(const FileSystem& fileSystem, const std::string& directory) {
    Folder folder;
    folder.path = directory;
    try {
        for (auto& entry : fileSystem.entries(directory)) {
            std::string name = entry.name;
            folder.entries.emplace(std::move(name), std::move(entry));
        }
    } catch (const FileSystemError&) {
        // An unreadable folder still yields items, without their details.
    }
    folder.identity = fileSystem.canonicalPath(directory);
    folder.caseSensitive = fileSystem.isCaseSensitive(directory);
    return folder;
}

} // namespace

std::vector<FileItem> itemsFromPaths(const FileSystem& fileSystem, const std::vector<std::string>& paths) {
    std::unordered_map<std::string, Folder> folders;
    std::unordered_set<std::string> seen; // folder identity, NUL, name key
    std::vector<FileItem> items;
    items.reserve(paths.size());
    for (const std::string& given : paths) {
        const std::string path = Paths::normalized(given);
        const std::string directory = Paths::parent(path);
        const std::string name = Paths::lastComponent(path);
        auto folder = folders.find(directory);
        if (folder == folders.end()) {
            folder = folders.emplace(directory, read(fileSystem, directory)).first;
        }
        const Folder& parent = folder->second;
        if (!seen.insert(parent.identity + '\0' + NameKey(name, parent.caseSensitive).text()).second) {
            continue;
        }
        const auto found = parent.entries.find(name);
        if (found == parent.entries.end()) {
            items.emplace_back(name, parent.path, Date{}, Date{}, 0, false, true, path);
            continue;
        }
        const FSEntry& entry = found->second;
        items.emplace_back(name, parent.path, entry.created, entry.modified, entry.size, entry.isDirectory,
                           true, path);
    }
    return items;
}

} // namespace morvane
