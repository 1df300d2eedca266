#pragma once

#include "engine/metadata/MetadataReader.h"

#include <algorithm>
#include <functional>
#include <map>
#include <mutex>
#include <string>
#include <vector>

namespace morvane::testing {

// A reader that gives each path the metadata the test set for it (nothing
// for other paths), as far as it was asked for, and keeps a list of what it
// was asked: "/d/a.jpg photo", "/d/a.mp3 audio".
class ScriptedMetadataReader final : public MetadataReader {
public:
    std::map<std::string, FileMetadata> files;
    std::function<void()> duringRead; // runs inside every read

    FileMetadata read(const std::string& path, const ItemDetails& wanted) const noexcept override {
        {
            std::lock_guard guard(lock_);
            asked_.push_back(path + (wanted.photo ? " photo" : "") + (wanted.audio ? " audio" : ""));
        }
        if (duringRead) {
            duringRead();
        }
        const auto found = files.find(path);
        FileMetadata result;
        if (found != files.end()) {
            const FileMetadata& known = found->second;
            if (wanted.photo) {
                result.taken = known.taken;
                result.make = known.make;
                result.model = known.model;
                result.width = known.width;
                result.height = known.height;
                result.photoProblem = known.photoProblem;
            }
            if (wanted.audio) {
                result.artist = known.artist;
                result.album = known.album;
                result.title = known.title;
                result.genre = known.genre;
                result.track = known.track;
                result.disc = known.disc;
                result.year = known.year;
                result.audioProblem = known.audioProblem;
            }
        }
        return result;
    }

    // What was asked so far, sorted.
    std::vector<std::string> asked() const {
        std::lock_guard guard(lock_);
        auto sorted = asked_;
        std::sort(sorted.begin(), sorted.end());
        return sorted;
    }
    void forget() {
        std::lock_guard guard(lock_);
        asked_.clear();
    }

private:
    mutable std::mutex lock_;
    mutable std::vector<std::string> asked_;
};

} // namespace morvane::testing
