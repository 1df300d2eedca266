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

// One scan's state, handed down the folders.
struct FolderScanner::Walk {
    const ScanOptions& options;
    const ScanControl& control;
    std::unordered_set<std::string> visited;
    ScanResult result;
    std::size_t folders = 0;

    // Whether the scan goes on; once stopped, it stays so.
    bool goesOn() {
        if (result.isComplete && control.stop.stop_requested()) {
            result.isComplete = false;
        }
        return result.isComplete;
    }
    void report() const {
        if (control.progress) {
            control.progress(ScanProgress{result.items.size(), folders});
        }
    }
};

ScanResult FolderScanner::scanReporting(const std::string& root, const ScanOptions& options,
                                        const ScanControl& control) const {
    // Every item's directory starts with the root, and the history must be
    // able to record it.
    if (!unicode::isValidUtf8(root)) {
        throw FileSystemError::failed(localized("The folder\u2019s path is not valid UTF-8 text"));
    }
    Walk state{options, control, {fileSystem_->canonicalPath(root)}, {}};
    walk(root, state);
    return std::move(state.result);
}

void FolderScanner::walk(const std::string& directory, Walk& state) const {
    // Reported before the listing, which may take long, and may be stopped
    // by whoever reads the report.
    state.report();
    if (!state.goesOn()) {
        return;
    }
    const ScanOptions& options = state.options;
    ScanResult& into = state.result;
    std::vector<FSEntry> listed = fileSystem_->entries(directory);
    ++state.folders;
    // A stop asked for while the listing took its time.
    if (!state.goesOn()) {
        return;
    }
    // Names that are not UTF-8 leave before sorting: the collator would read
    // them as replacement characters and could not order them meaningfully.
    // (Most folders have none, and are not rearranged for them.)
    const auto isReadable = [](const FSEntry& entry) { return unicode::isValidUtf8(entry.name); };
    if (!std::all_of(listed.begin(), listed.end(), isReadable)) {
        const auto unreadable = std::stable_partition(listed.begin(), listed.end(), isReadable);
        for (auto it = unreadable; it != listed.end(); ++it) {
            if (!it->isHidden || options.includeHidden) {
                ++into.unreadableNameCount;
            }
        }
        listed.erase(unreadable, listed.end());
    }
    // The entries are read in name order where they lie, never moved.
    std::vector<std::uint32_t> inOrder;
    {
        std::vector<std::string_view> names;
        names.reserve(listed.size());
        for (const FSEntry& entry : listed) {
            names.push_back(entry.name);
        }
        inOrder = NaturalOrder::order(names);
    }

    // Every item of the folder shares its path and name.
    const SharedString folder(directory);
    const SharedString parentName(Paths::lastComponent(directory));
    std::vector<FileItem>& items = into.items;
    if (items.size() + listed.size() > items.capacity()) {
        items.reserve(std::max(items.size() + listed.size(), items.capacity() + items.capacity() / 2));
    }
    for (std::size_t next = 0; next < inOrder.size(); ++next) {
        // A folder of a hundred thousand entries is stopped, and reported, along the way.
        constexpr std::size_t kCheckEvery = 4096;
        if (next % kCheckEvery == kCheckEvery - 1) {
            if (!state.goesOn()) {
                return;
            }
            state.report();
        }
        // In name order the entries are read all over the listing, which is
        // far larger than the caches: ask for each a few turns ahead.
        constexpr std::size_t kAhead = 16;
#if defined(__GNUC__)
        if (next + kAhead < inOrder.size()) {
            __builtin_prefetch(&listed[inOrder[next + kAhead]]);
        }
#endif
        FSEntry& entry = listed[inOrder[next]];
        if (entry.isHidden && !options.includeHidden) {
            continue;
        }
        std::string path = Paths::join(directory, entry.name);
        bool isFolder = false;
        if (!entry.isSymlink || options.followSymlinks) {
            isFolder = entry.isSymlink ? entry.symlinkTargetIsDirectory : entry.isDirectory;
        }
        if (isFolder && entry.isPackage && options.packagesAsFiles) {
            isFolder = false;
        }
        if (!isFolder) {
            if (options.includeFiles) {
                items.emplace_back(std::move(entry.name), folder, entry.created, entry.modified, entry.size,
                                   false, true, std::move(path), parentName);
            }
            continue;
        }
        if (options.includeFolders) {
            items.emplace_back(entry.name, folder, entry.created, entry.modified, 0, true, true, path,
                               parentName);
        }
        if (options.recursive && state.visited.insert(fileSystem_->canonicalPath(path)).second) {
            walk(path, state);
            if (!state.result.isComplete) {
                return;
            }
        }
    }
}

} // namespace morvane
