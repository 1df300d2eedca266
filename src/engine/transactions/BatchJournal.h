#pragma once

#include "engine/filesystem/FileIdentity.h"
#include "engine/filesystem/LockedFile.h"
#include "engine/support/Date.h"
#include "engine/support/Uuid.h"
#include "engine/transactions/MoveJournal.h"
#include "engine/transactions/MoveOrder.h"
#include "engine/transactions/MovePlanner.h"
#include "engine/transactions/RenameTransaction.h"

#include <cstdint>
#include <optional>
#include <span>
#include <stdexcept>
#include <string>
#include <vector>

namespace morvane {

// The write-ahead record of a batch (or of an undo): its moves, made durable
// before the first of them, and where each item is as they go. It lives in
// the history folder beside the ordinary records until the batch's own record
// takes its place; one left behind by a crash is all recovery needs to put
// the items back.
//
// A compact binary file: a checksummed header, one byte per rename telling
// where its item is (mapped into memory, so that keeping it current costs no
// system call and survives a crash of the process), then the renames with
// their items' identities and the order of the moves in checksummed blocks.
// It comes into view only whole, flushed and held by its process.
class BatchJournal {
public:
    enum class Kind : std::uint8_t { rename, undo };
    using Place = MoveJournal::Place;

    struct Header {
        Kind kind = Kind::rename;
        Uuid batch;       // the batch's id; for an undo, the batch being undone
        Date batchDate{}; // when that batch started: with `batch`, it names its history record
        Date started{};   // when this run started (for an undo, when the undo did)
        std::string directory;
        std::optional<std::string> presetName;
        std::uint64_t renameCount = 0;

        bool operator==(const Header&) const = default;
    };

    // One rename as the record keeps it: in its folder, from one name to
    // another, perhaps by way of a temporary name.
    struct Rename {
        std::string directory;
        std::string from;
        std::string to;
        std::optional<std::string> temporaryName;
        std::string id; // the item's
        bool isDirectory = false;
        std::size_t operation = 0; // the operation of the batch's transaction it serves
        // What the item was when the batch started; none in records of older
        // versions, or for an item that was not there.
        std::optional<FileIdentity> identity;

        bool operator==(const Rename&) const = default;
    };

    // A record that cannot be read whole: damaged, cut short, or no record.
    struct Damaged : std::runtime_error {
        using std::runtime_error::runtime_error;
    };
    // A record whose writing stopped before its first bytes. Older versions
    // wrote the record where it is seen, and a crash could leave it so; its
    // batch had moved nothing, as no move comes before the record is whole.
    struct NeverWritten : Damaged {
        using Damaged::Damaged;
    };

    // Writes the record of a batch about to start, durably, and holds it:
    // the renames, their order, for each the operation of `transaction` it
    // serves (`operations`; empty: rename i serves operation i) and what its
    // item is (`identities`, by rename; empty: not known).
    static BatchJournal create(const std::string& path, const Header& header,
                               const RenameTransaction& transaction,
                               const std::vector<MovePlanner::RenameRef>& renames, const MoveOrder& order,
                               std::span<const std::size_t> operations,
                               std::span<const std::optional<FileIdentity>> identities);
    // A record left behind, read whole, to carry on with: nothing when another
    // process holds it. Throws Damaged (NeverWritten), or std::system_error
    // when it cannot be read at all.
    static std::optional<BatchJournal> open(const std::string& path);
    // Only the header, for a listing (also while another process holds the
    // record), and whether the batch has said it is over. Throws as `open` does.
    static Header readHeader(const std::string& path, bool* isOver = nullptr);

    BatchJournal(BatchJournal&&) noexcept = default;
    BatchJournal& operator=(BatchJournal&&) noexcept = default;

    const std::string& path() const { return file_.path(); }
    const Header& header() const { return header_; }
    // Read back by `open` only.
    const std::vector<Rename>& renames() const { return renames_; }
    const MoveOrder& order() const { return order_; }

    // Where rename `rename`'s item is, and for one caught in the middle of a
    // move, where that move was taking it.
    Place place(std::uint32_t rename) const;
    std::optional<Place> movingTo(std::uint32_t rename) const;
    void moving(std::uint32_t rename, Place from, Place to) noexcept;
    void at(std::uint32_t rename, Place place) noexcept;

    // The batch has ended and said so; the record is only in the way now.
    bool isOver() const;
    void markOver() noexcept;
    // Removes the file, durably.
    void remove() { file_.remove(); }

private:
    explicit BatchJournal(LockedFile file) : file_(std::move(file)) {}
    void mapProgress(std::uint64_t progressOffset);

    LockedFile file_;
    Header header_;
    std::vector<Rename> renames_;
    MoveOrder order_;
    volatile unsigned char* progress_ = nullptr; // one byte per rename
    volatile std::uint64_t* state_ = nullptr;
};

} // namespace morvane
