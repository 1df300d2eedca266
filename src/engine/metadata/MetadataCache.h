#pragma once

#include "engine/core/FileItem.h"
#include "engine/core/ItemDetails.h"
#include "engine/metadata/FileMetadata.h"
#include "engine/metadata/MetadataReader.h"

#include <cstddef>
#include <memory>
#include <shared_mutex>
#include <stop_token>
#include <string>
#include <unordered_map>
#include <vector>

namespace morvane {

// What has been read of the items' contents, kept by path, size and
// modification date, so that each file is read once as long as it stays the
// same, however often the rules change. Reading runs on several threads;
// planning looks items up from any thread meanwhile.
class MetadataCache {
public:
    // Reading threads at most: disks and the libraries gain little beyond.
    static constexpr unsigned maxThreads = 8;

    explicit MetadataCache(std::shared_ptr<const MetadataReader> reader, unsigned threads = 0);

    // Reads, for every included file among `items` not yet read for all of
    // `wanted`, what is missing; files already read cost a lookup. Returns
    // false when `stop` ended it early (what was read so far is kept).
    // Afterwards entries of files that are no longer among `items` are let
    // go once they outnumber the items.
    bool read(const std::vector<FileItem>& items, const ItemDetails& wanted,
              std::stop_token stop = std::stop_token());

    // What was read of the item's file; null when nothing was.
    std::shared_ptr<const FileMetadata> find(const FileItem& item) const;

    std::size_t size() const;
    // How many files have been read, ever (a file read for photo metadata
    // and later for its tags counts twice).
    std::size_t readCount() const;

private:
    struct Key {
        std::string path;
        std::int64_t size = 0;
        Date modified{};
        bool operator==(const Key&) const = default;
    };
    struct KeyHash {
        std::size_t operator()(const Key& key) const noexcept;
    };
    struct Entry {
        ItemDetails read;
        std::shared_ptr<const FileMetadata> metadata;
    };

    static Key keyOf(const FileItem& item);
    void prune(const std::vector<FileItem>& items);

    std::shared_ptr<const MetadataReader> reader_;
    unsigned threads_;
    mutable std::shared_mutex lock_;
    std::unordered_map<Key, Entry, KeyHash> entries_;
    std::size_t readCount_ = 0;
};

} // namespace morvane
