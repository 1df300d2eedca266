#pragma once

#include "engine/filesystem/FileIdentity.h"
#include "engine/transactions/MoveOrder.h"
#include "engine/transactions/MovePlanner.h"

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace morvane {

// What a batch in progress tells the record that lets it be put back after a
// crash: its moves before the first of them, and where each item is as the
// moves go. The executor calls it on the batch's own thread.
class MoveJournal {
public:
    // Where an item of the batch is: under the name it had, under its
    // temporary name, or under the name it is moving to.
    enum class Place : std::uint8_t { original, temporary, target };

    virtual ~MoveJournal() = default;

    // The renames and the order of their moves, before the first move;
    // `operations` gives the transaction operation each rename serves, and
    // `identities` what each rename's item is. Returns only once they are
    // safely on disk, and throws when they cannot be: nothing is moved then.
    virtual void begin(const std::vector<MovePlanner::RenameRef>& renames, const MoveOrder& order,
                       std::span<const std::size_t> operations,
                       std::span<const std::optional<FileIdentity>> identities) = 0;
    // Just before a move of rename `rename` from one place to another.
    virtual void moving(std::uint32_t rename, Place from, Place to) noexcept = 0;
    // Just after it: where the item now is (where it was, if the move failed).
    virtual void at(std::uint32_t rename, Place place) noexcept = 0;
};

} // namespace morvane
