#include "engine/filesystem/ItemsFromPaths.h"

#include "engine/filesystem/FileSystemError.h"
#include "engine/support/Paths.h"

#include <unordered_map>

namespace morvane {
namespace {

std::string parentOf(const std::string& path) {
    const auto slash = path.find_last_of('/');
    if (slash == std::string::npos) {
        return {};
    }
    return slash == 0 ? std::string("/") : path.substr(0, slash);
}

} // namespace

std::vector<FileItem> itemsFromPaths(const FileSystem& fileSystem, const std::vector<std::string>& paths) {
    std::unordered_map<std::string, std::unordered_map<std::string, FSEntry>> listings;
    std::vector<FileItem> items;
    items.reserve(paths.size());
    for (const std::string& path : paths) {
        const std::string directory = parentOf(path);
        const std::string name = Paths::lastComponent(path);
        auto listing = listings.find(directory);
        if (listing == listings.end()) {
            std::unordered_map<std::string, FSEntry> byName;
            try {
                for (auto& entry : fileSystem.entries(directory)) {
                    std::string key = entry.name;
                    byName.emplace(std::move(key), std::move(entry));
                }
            } catch (const FileSystemError&) {
                // An unreadable folder still yields items, without their details.
            }
            listing = listings.emplace(directory, std::move(byName)).first;
        }
        const auto found = listing->second.find(name);
        if (found == listing->second.end()) {
            items.emplace_back(name, directory, Date{}, Date{}, 0, false, true, path);
            continue;
        }
        const FSEntry& entry = found->second;
        items.emplace_back(name, directory, entry.created, entry.modified, entry.size, entry.isDirectory,
                           true, path);
    }
    return items;
}

} // namespace morvane
