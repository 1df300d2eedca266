#include "engine/metadata/MetadataCache.h"

#include <algorithm>
#include <atomic>
#include <mutex>
#include <thread>
#include <unordered_set>

namespace morvane {
namespace {

// Photo metadata and tags come from different parts of a file and never
// share a field, so what was read for one joins what was read for the other.
void takeOver(FileMetadata& into, const FileMetadata& from, const ItemDetails& part) {
    if (part.photo) {
        into.taken = from.taken;
        into.make = from.make;
        into.model = from.model;
        into.width = from.width;
        into.height = from.height;
        into.photoProblem = from.photoProblem;
    }
    if (part.audio) {
        into.artist = from.artist;
        into.album = from.album;
        into.title = from.title;
        into.genre = from.genre;
        into.track = from.track;
        into.disc = from.disc;
        into.year = from.year;
        into.audioProblem = from.audioProblem;
    }
}

// What of `wanted` is still to be read after `done`.
ItemDetails stillToRead(const ItemDetails& wanted, const ItemDetails& done) {
    return {false, wanted.photo && !done.photo, wanted.audio && !done.audio};
}

} // namespace

MetadataCache::MetadataCache(std::shared_ptr<const MetadataReader> reader, unsigned threads)
    : reader_(std::move(reader)),
      threads_(std::clamp(threads != 0 ? threads : std::thread::hardware_concurrency(), 1U, maxThreads)) {}

std::size_t MetadataCache::KeyHash::operator()(const Key& key) const noexcept {
    const std::size_t path = std::hash<std::string>()(key.path);
    const auto modified = static_cast<std::size_t>(key.modified.time_since_epoch().count());
    return path ^ (static_cast<std::size_t>(key.size) * 0x9e3779b97f4a7c15ULL) ^ (modified << 1);
}

MetadataCache::Key MetadataCache::keyOf(const FileItem& item) {
    const std::string& directory = item.directory;
    std::string path;
    path.reserve(directory.size() + 1 + item.name.size());
    path.append(directory);
    if (!directory.empty() && directory.back() != '/') {
        path += '/';
    }
    path.append(item.name);
    return Key{std::move(path), item.size, item.modified};
}

bool MetadataCache::read(const std::vector<FileItem>& items, const ItemDetails& wanted,
                         std::stop_token stop) {
    if (!wanted.contents()) {
        return true;
    }
    struct Job {
        Key key;
        ItemDetails part;
    };
    std::vector<Job> jobs;
    {
        std::shared_lock guard(lock_);
        for (const FileItem& item : items) {
            if (!item.isIncluded || item.isDirectory) {
                continue;
            }
            Key key = keyOf(item);
            const auto found = entries_.find(key);
            const ItemDetails part =
                stillToRead(wanted, found == entries_.end() ? ItemDetails{} : found->second.read);
            if (part.contents()) {
                jobs.push_back({std::move(key), part});
            }
        }
    }

    std::atomic<std::size_t> next{0};
    const auto work = [&] {
        for (std::size_t index; !stop.stop_requested() && (index = next++) < jobs.size();) {
            Job& job = jobs[index];
            const FileMetadata read = reader_->read(job.key.path, job.part);
            std::unique_lock guard(lock_);
            Entry& entry = entries_[job.key];
            auto merged = entry.metadata ? std::make_shared<FileMetadata>(*entry.metadata)
                                         : std::make_shared<FileMetadata>();
            takeOver(*merged, read, job.part);
            entry.metadata = std::move(merged);
            entry.read |= job.part;
            ++readCount_;
        }
    };
    {
        // The calling thread reads too; a handful of files need no helpers.
        const std::size_t helpers = std::min<std::size_t>(threads_ - 1, jobs.size() / 16);
        std::vector<std::jthread> pool;
        for (std::size_t i = 0; i < helpers; ++i) {
            pool.emplace_back(work);
        }
        work();
    }
    if (stop.stop_requested()) {
        return false;
    }
    prune(items);
    return true;
}

void MetadataCache::prune(const std::vector<FileItem>& items) {
    std::unique_lock guard(lock_);
    if (entries_.size() <= 2 * items.size() + 1024) {
        return;
    }
    std::unordered_set<Key, KeyHash> kept;
    for (const FileItem& item : items) {
        kept.insert(keyOf(item));
    }
    std::erase_if(entries_, [&](const auto& entry) { return !kept.contains(entry.first); });
}

std::shared_ptr<const FileMetadata> MetadataCache::find(const FileItem& item) const {
    const Key key = keyOf(item);
    std::shared_lock guard(lock_);
    const auto found = entries_.find(key);
    return found == entries_.end() ? nullptr : found->second.metadata;
}

std::size_t MetadataCache::size() const {
    std::shared_lock guard(lock_);
    return entries_.size();
}

std::size_t MetadataCache::readCount() const {
    std::shared_lock guard(lock_);
    return readCount_;
}

} // namespace morvane
