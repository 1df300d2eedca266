#pragma once

#include "engine/filesystem/FileSystem.h"
#include "engine/transactions/BatchJournal.h"
#include "engine/transactions/BatchMoves.h"

#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace morvane {

// Bears out a write-ahead record against the disk, folder by folder, just
// before recovery moves anything there (by then any renamed folder above has
// been put back, so the recorded paths are right again), and corrects the
// record's progress where the disk says otherwise: after a power cut the
// disk may have kept a few moves more or fewer than the record, and damage
// may leave a mark that is wrong but valid.
//
// An item whose identity the record keeps is found by it, under whichever
// name holds it: one of its own (original, temporary or new), another name
// (it was renamed since: it is then astray, and left where it is), or none
// (astray too). Only for an item of an older record, which keeps no
// identities, do names tell: it is where one of its names is, and where names
// alone cannot tell (the items of a chain or a swap hold each other's names),
// the record has the last word.
class PlaceCheck {
public:
    PlaceCheck(FileSystem& fileSystem, BatchJournal& journal, const BatchMoves& moves);

    // Checks every item of `folder` not checked yet, and corrects the record.
    void check(std::string_view folder);

    // Found under none of its own names: not to be moved. Its name now, or
    // empty when it was not found at all.
    const std::optional<std::string>& astray(std::uint32_t rename) const { return astray_[rename]; }

private:
    using Members = std::vector<std::uint32_t>;
    // Each by its identity; true when the folder tells identities.
    bool checkByIdentity(std::string_view folder, const Members& members);
    // Each by its names, as far as they tell.
    void checkByName(std::string_view folder, const Members& members);

    FileSystem& fileSystem_;
    BatchJournal& journal_;
    const BatchMoves& moves_;
    std::unordered_map<std::string_view, Members> byFolder_; // emptied once checked
    std::unordered_map<std::string, bool> caseSensitivity_;
    std::vector<std::optional<std::string>> astray_;
};

} // namespace morvane
