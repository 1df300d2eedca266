#pragma once

#include "engine/filesystem/FileSystem.h"
#include "engine/transactions/BatchJournal.h"
#include "engine/transactions/BatchMoves.h"

#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace morvane {

// Bears out a write-ahead record against the disk, folder by folder, just
// before recovery moves anything there (by then any renamed folder above has
// been put back, so the recorded paths are right again). An item caught in
// the middle of a move is on whichever side the disk shows: before it, the
// source is there and the target is free; after it, the other way round. An
// item not under the name its record gives (after a power cut the disk may
// have kept more or fewer moves than the record) is where one of its other
// names is; where names alone cannot tell (the items of a chain or a swap hold
// each other's names), the record has the last word.
class PlaceCheck {
public:
    PlaceCheck(FileSystem& fileSystem, BatchJournal& journal, const BatchMoves& moves);

    // Checks every item of `folder` not checked yet, and corrects the record.
    void check(std::string_view folder);

private:
    FileSystem& fileSystem_;
    BatchJournal& journal_;
    const BatchMoves& moves_;
    std::unordered_map<std::string_view, std::vector<std::uint32_t>> byFolder_; // emptied once checked
    std::unordered_map<std::string, bool> caseSensitivity_;
};

} // namespace morvane
