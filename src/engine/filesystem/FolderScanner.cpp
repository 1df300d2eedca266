#include "engine/filesystem/FolderScanner.h"

#include "engine/filesystem/FileSystemError.h"
#include "engine/support/Localization.h"
#include "engine/support/Paths.h"
#include "engine/support/Unicode.h"

#include <unicode/coll.h>
#include <unicode/sortkey.h>

#include <algorithm>
#include <numeric>
#include <stdexcept>

namespace morvane {
namespace {

// The root collation (no language's rules) at secondary strength, so letter
// case does not count but accents still do, with digit runs read as numbers.
// Collators are not to be shared between threads, hence one per thread.
icu::Collator& nameCollator() {
    thread_local std::unique_ptr<icu::Collator> collator = [] {
        UErrorCode status = U_ZERO_ERROR;
        std::unique_ptr<icu::Collator> created(icu::Collator::createInstance(icu::Locale::getRoot(), status));
        if (U_FAILURE(status)) {
            throw std::runtime_error(std::string("collator: ") + u_errorName(status));
        }
        created->setStrength(icu::Collator::SECONDARY);
        created->setAttribute(UCOL_NUMERIC_COLLATION, UCOL_ON, status);
        if (U_FAILURE(status)) {
            throw std::runtime_error(std::string("collator: ") + u_errorName(status));
        }
        return created;
    }();
    return *collator;
}

// Sort keys are computed once per name; comparing them is a byte comparison,
// which keeps sorting a large folder cheap next to listing it.
std::string sortKey(icu::Collator& collator, const std::string& name) {
    const icu::UnicodeString text =
        icu::UnicodeString::fromUTF8(icu::StringPiece(name.data(), static_cast<int32_t>(name.size())));
    std::string key(64, '\0');
    for (;;) {
        const int32_t needed = collator.getSortKey(text, reinterpret_cast<uint8_t*>(key.data()),
                                                   static_cast<int32_t>(key.size()));
        if (needed <= static_cast<int32_t>(key.size())) {
            key.resize(static_cast<std::size_t>(needed));
            return key;
        }
        key.resize(static_cast<std::size_t>(needed));
    }
}

} // namespace

FolderScanner::FolderScanner(std::shared_ptr<const FileSystem> fileSystem)
    : fileSystem_(std::move(fileSystem)) {}

void FolderScanner::sortByName(std::vector<FSEntry>& entries) {
    icu::Collator& collator = nameCollator();
    std::vector<std::string> keys;
    keys.reserve(entries.size());
    for (const FSEntry& entry : entries) {
        keys.push_back(sortKey(collator, entry.name));
    }
    std::vector<std::size_t> order(entries.size());
    std::iota(order.begin(), order.end(), std::size_t{0});
    std::stable_sort(order.begin(), order.end(),
                     [&](std::size_t a, std::size_t b) { return keys[a] < keys[b]; });
    std::vector<FSEntry> sorted;
    sorted.reserve(entries.size());
    for (const std::size_t index : order) {
        sorted.push_back(std::move(entries[index]));
    }
    entries = std::move(sorted);
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
