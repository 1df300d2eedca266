#include "engine/filesystem/FolderScanner.h"

#include "engine/filesystem/FileSystemError.h"
#include "engine/support/Localization.h"
#include "engine/support/NaturalOrder.h"
#include "engine/support/Paths.h"
#include "engine/support/Unicode.h"

#include <algorithm>
#include <numeric>
#include <stdexcept>

namespace morvane {

FolderScanner::FolderScanner(std::shared_ptr<const FileSystem> fileSystem)
    : fileSystem_(std::move(fileSystem)) {}

void FolderScanner::sortByName(std::vector<FSEntry>& entries) {
    NaturalOrder::sort(entries, [](const FSEntry& entry) -> const std::string& { return entry.name; });
}

std::vector<FileItem> FolderScanner::scan(const std::string& root, const ScanOptions& options) const {
    return scanReporting(root, options).items;
}

ScanResult FolderScanner::scanReporting(const std::string& root, const ScanOptions& options) const {
    // Every item's directory starts with the root, and the history must be
    // able to record it.
    if (!unicode::isValidUtf8(root)) {
        throw FileSystemError::failed(localized("The folder\u2019s path is not valid UTF-8 text"));
    }
    ScanResult result;
    std::unordered_set<std::string> visited{fileSystem_->canonicalPath(root)};
    walk(root, options, visited, result);
    return result;
}

void FolderScanner::walk(const std::string& directory, const ScanOptions& options,
                         std::unordered_set<std::string>& visited, ScanResult& into) const {
    std::vector<FSEntry> listed = fileSystem_->entries(directory);
    // Names that are not UTF-8 leave before sorting: the collator would read
    // them as replacement characters and could not order them meaningfully.
    const auto unreadable = std::stable_partition(
        listed.begin(), listed.end(), [](const FSEntry& entry) { return unicode::isValidUtf8(entry.name); });
    for (auto it = unreadable; it != listed.end(); ++it) {
        if (!it->isHidden || options.includeHidden) {
            ++into.unreadableNameCount;
        }
    }
    listed.erase(unreadable, listed.end());
    sortByName(listed);

    const std::string parentName = Paths::lastComponent(directory);
    for (const FSEntry& entry : listed) {
        if (entry.isHidden && !options.includeHidden) {
            continue;
        }
        const std::string path = Paths::join(directory, entry.name);
        bool isFolder = false;
        if (!entry.isSymlink || options.followSymlinks) {
            isFolder = entry.isSymlink ? entry.symlinkTargetIsDirectory : entry.isDirectory;
        }
        if (isFolder && entry.isPackage && options.packagesAsFiles) {
            isFolder = false;
        }
        if (!isFolder) {
            if (options.includeFiles) {
                into.items.emplace_back(entry.name, directory, entry.created, entry.modified, entry.size,
                                        false, true, path, parentName);
            }
            continue;
        }
        if (options.includeFolders) {
            into.items.emplace_back(entry.name, directory, entry.created, entry.modified, 0, true, true, path,
                                    parentName);
        }
        if (options.recursive && visited.insert(fileSystem_->canonicalPath(path)).second) {
            walk(path, options, visited, into);
        }
    }
}

} // namespace morvane
