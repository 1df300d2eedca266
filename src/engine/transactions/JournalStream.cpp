#include "engine/transactions/JournalStream.h"

#include "engine/support/Crc32.h"
#include "engine/support/Paths.h"
#include "engine/transactions/JournalBytes.h"

#include <unordered_map>

namespace morvane {
namespace {

using namespace journalbytes;
using Layout = JournalStream::Layout;

constexpr std::size_t kBlock = 64 * 1024;
constexpr unsigned char kFlagDirectory = 1;
constexpr unsigned char kFlagOwnId = 2;
constexpr unsigned char kFlagTemporary = 4;
constexpr unsigned char kFlagIdentity = 8;
constexpr unsigned char kFlagOwnDevice = 16; // not on its folder's volume

// Files made one after another have numbers close to each other: each is
// kept as its distance from the one before, a byte or two.
std::uint64_t zigzag(std::int64_t value) {
    return (static_cast<std::uint64_t>(value) << 1) ^ static_cast<std::uint64_t>(value >> 63);
}
std::int64_t unzigzag(std::uint64_t value) {
    return static_cast<std::int64_t>(value >> 1) ^ -static_cast<std::int64_t>(value & 1);
}

// The stream, cut into checksummed blocks and written out a megabyte at a time.
class BlockWriter {
public:
    BlockWriter(LockedFile& file, std::uint64_t offset) : file_(file), offset_(offset) {}

    std::string& block() { return block_; }
    void maybeSeal() {
        if (block_.size() >= kBlock) {
            seal();
        }
    }
    Layout finish(std::uint64_t moveCount) {
        seal();
        flush();
        return Layout{moveCount, streamLength_, blockCount_};
    }

private:
    void seal() {
        if (block_.empty()) {
            return;
        }
        putFixed(out_, block_.size(), 4);
        putFixed(out_, Crc32::of(block_), 4);
        out_ += block_;
        streamLength_ += block_.size();
        ++blockCount_;
        block_.clear();
        if (out_.size() >= 16 * kBlock) {
            flush();
        }
    }
    void flush() {
        file_.write(offset_, out_);
        offset_ += out_.size();
        out_.clear();
    }

    LockedFile& file_;
    std::uint64_t offset_;
    std::string block_;
    std::string out_;
    std::uint64_t streamLength_ = 0;
    std::uint64_t blockCount_ = 0;
};

// The checked bytes of every block, joined.
std::string readBlocks(const LockedFile& file, std::uint64_t offset, const Layout& layout) {
    std::string stream;
    stream.reserve(layout.streamLength);
    for (std::uint64_t block = 0; block < layout.blockCount; ++block) {
        const std::string blockHeader = file.read(offset, 8);
        Reader frame(blockHeader);
        const auto length = frame.fixed(4);
        const auto checksum = static_cast<std::uint32_t>(frame.fixed(4));
        const std::string bytes = length <= kBlock * 2 ? file.read(offset + 8, length) : std::string();
        if (bytes.size() != length || Crc32::of(bytes) != checksum) {
            damaged(localized("part of it is damaged or missing"));
        }
        stream += bytes;
        offset += 8 + length;
    }
    if (stream.size() != layout.streamLength) {
        damaged(localized("it is cut short"));
    }
    return stream;
}

} // namespace

// The folders once (with their volumes), then each rename by its folder's
// number, then each move.
Layout JournalStream::write(LockedFile& file, std::uint64_t offset, const RenameTransaction& transaction,
                            const std::vector<MovePlanner::RenameRef>& renames, const MoveOrder& order,
                            std::span<const std::size_t> operations,
                            std::span<const std::optional<FileIdentity>> identities) {
    const auto identityOf = [&](std::size_t rename) {
        return identities.empty() ? std::nullopt : identities[rename];
    };
    std::unordered_map<std::string_view, std::uint64_t> folderNumbers;
    std::vector<std::string_view> folders;
    std::vector<std::uint64_t> devices; // by folder: its first item's
    for (std::size_t i = 0; i < renames.size(); ++i) {
        const auto [found, isNew] = folderNumbers.try_emplace(renames[i].directory, folders.size());
        if (isNew) {
            folders.push_back(renames[i].directory);
            devices.push_back(0);
        }
        if (devices[found->second] == 0 && identityOf(i)) {
            devices[found->second] = identityOf(i)->device;
        }
    }
    BlockWriter writer(file, offset);
    putVarint(writer.block(), folders.size());
    for (std::size_t folder = 0; folder < folders.size(); ++folder) {
        putText(writer.block(), folders[folder]);
        putVarint(writer.block(), devices[folder]);
        writer.maybeSeal();
    }
    std::string defaultId;
    std::uint64_t lastInode = 0;
    for (std::uint32_t i = 0; i < renames.size(); ++i) {
        const auto& rename = renames[i];
        const std::size_t operationIndex = operations.empty() ? i : operations[i];
        const RenameTransaction::Operation& operation = transaction.operations.at(operationIndex);
        defaultId = Paths::join(rename.directory, rename.from);
        const std::string* temporary = order.temporaryName(i);
        const std::uint64_t folder = folderNumbers.at(rename.directory);
        const std::optional<FileIdentity> identity = identityOf(i);
        const bool ownDevice = identity && identity->device != devices[folder];
        std::string& out = writer.block();
        putVarint(out, folder);
        putText(out, rename.from);
        putText(out, rename.to);
        out += static_cast<char>((operation.isDirectory ? kFlagDirectory : 0) |
                                 (operation.id != defaultId ? kFlagOwnId : 0) |
                                 (temporary != nullptr ? kFlagTemporary : 0) |
                                 (identity ? kFlagIdentity : 0) | (ownDevice ? kFlagOwnDevice : 0));
        if (operation.id != defaultId) {
            putText(out, operation.id);
        }
        if (temporary != nullptr) {
            putText(out, *temporary);
        }
        putVarint(out, operationIndex);
        if (ownDevice) {
            putVarint(out, identity->device);
        }
        if (identity) {
            putVarint(out, zigzag(static_cast<std::int64_t>(identity->inode - lastInode)));
            lastInode = identity->inode;
        }
        writer.maybeSeal();
    }
    for (const MoveOrder::Move& move : order.moves) {
        putVarint(writer.block(), static_cast<std::uint64_t>(move.rename) << 1 | (move.isTemporary ? 1 : 0));
        writer.maybeSeal();
    }
    return writer.finish(order.moves.size());
}

JournalStream::Contents JournalStream::read(const LockedFile& file, std::uint64_t offset,
                                            const Layout& layout, std::uint64_t renameCount,
                                            bool hasIdentities) {
    if (layout.streamLength > file.size() || renameCount > layout.streamLength ||
        layout.moveCount > layout.streamLength) {
        damaged(localized("it is cut short"));
    }
    const std::string stream = readBlocks(file, offset, layout);
    Reader reader(stream);
    const auto folderCount = reader.varint();
    if (folderCount > stream.size()) {
        damaged(localized("a number in it is malformed"));
    }
    std::vector<std::string> folders(folderCount);
    std::vector<std::uint64_t> devices(folderCount, 0);
    for (std::size_t folder = 0; folder < folderCount; ++folder) {
        folders[folder] = reader.text();
        devices[folder] = hasIdentities ? reader.varint() : 0;
    }
    Contents contents;
    auto& renames = contents.renames;
    MoveOrder& order = contents.order;
    renames.resize(renameCount);
    order.temporaryOf.assign(renames.size(), MoveOrder::kNone);
    std::uint64_t lastInode = 0;
    for (std::uint32_t i = 0; i < renames.size(); ++i) {
        BatchJournal::Rename& rename = renames[i];
        const auto folder = reader.varint();
        if (folder >= folders.size()) {
            damaged(localized("a number in it is malformed"));
        }
        rename.directory = folders[folder];
        rename.from = reader.text();
        rename.to = reader.text();
        const auto flags = reader.fixed(1);
        rename.isDirectory = (flags & kFlagDirectory) != 0;
        rename.id = (flags & kFlagOwnId) != 0 ? reader.text() : Paths::join(rename.directory, rename.from);
        if ((flags & kFlagTemporary) != 0) {
            rename.temporaryName = reader.text();
            order.temporaryOf[i] = static_cast<std::uint32_t>(order.temporaryNames.size());
            order.temporaryNames.push_back(*rename.temporaryName);
        }
        rename.operation = reader.varint();
        if (hasIdentities && (flags & kFlagIdentity) != 0) {
            const std::uint64_t device = (flags & kFlagOwnDevice) != 0 ? reader.varint() : devices[folder];
            lastInode += static_cast<std::uint64_t>(unzigzag(reader.varint()));
            rename.identity = FileIdentity{device, lastInode};
        }
    }
    order.moves.reserve(layout.moveCount);
    for (std::uint64_t i = 0; i < layout.moveCount; ++i) {
        const auto value = reader.varint();
        const MoveOrder::Move move{static_cast<std::uint32_t>(value >> 1), (value & 1) != 0};
        if (move.rename >= renames.size() || (move.isTemporary && !renames[move.rename].temporaryName)) {
            damaged(localized("a number in it is malformed"));
        }
        order.moves.push_back(move);
    }
    if (!reader.atEnd()) {
        damaged(localized("it holds more than its header says"));
    }
    return contents;
}

} // namespace morvane
