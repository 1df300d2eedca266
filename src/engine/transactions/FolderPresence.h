#pragma once

#include "engine/filesystem/FileSystem.h"
#include "engine/transactions/FolderMoves.h"
#include "engine/transactions/NameIndex.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace morvane {

// Answers "is something named so in this folder?" for many names: for a
// folder asked about often, from one listing of it, which costs a fraction of
// a question per name; otherwise (a few questions, a folder far larger than
// they are, or a volume that does not compare names byte for byte) one
// question per name. A listing is a snapshot, as each answer is.
class FolderPresence {
public:
    FolderPresence(FileSystem& fileSystem, std::function<bool(const std::string&)> isCaseSensitive)
        : fileSystem_(fileSystem), isCaseSensitive_(std::move(isCaseSensitive)), perName_(fileSystem) {}

    // Announces questions to come about `folder`, before the first of them.
    void expect(std::string_view folder, std::size_t questions) {
        expected_[std::string(folder)] += questions;
    }
    bool exists(std::string_view folder, std::string_view name);

private:
    struct Listing {
        std::vector<std::string> names;
        NameIndex index;
        bool contains(std::string_view name) const;
    };
    // The folder's listing, or none where one question per name is better.
    const Listing* listingOf(std::string_view folder);

    FileSystem& fileSystem_;
    std::function<bool(const std::string&)> isCaseSensitive_;
    FolderMoves perName_;
    std::unordered_map<std::string, std::size_t> expected_;
    std::unordered_map<std::string, std::unique_ptr<Listing>> listings_; // null: not listed
};

} // namespace morvane
