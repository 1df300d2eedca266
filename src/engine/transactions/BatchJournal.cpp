#include "engine/transactions/BatchJournal.h"

#include "engine/filesystem/AtomicFile.h"
#include "engine/support/Crc32.h"
#include "engine/support/Localization.h"
#include "engine/support/Paths.h"

#include <array>
#include <atomic>
#include <cerrno>
#include <chrono>
#include <fcntl.h>
#include <system_error>
#include <unistd.h>
#include <unordered_map>

namespace morvane {
namespace {

using Place = BatchJournal::Place;

// The layout: magic, state word, header length and checksum, header; the
// progress bytes from the next page; then the blocks of the stream.
constexpr std::string_view kMagic{"MRVNJNL\x01", 8};
constexpr std::size_t kStateOffset = 8;
constexpr std::size_t kFixedHeader = 24;
constexpr std::uint64_t kRunning = 0;
constexpr std::uint64_t kOver = 0x2E2E2E2E5245564FULL; // "OVER...." as bytes
constexpr std::uint64_t kPage = 4096;
constexpr std::size_t kBlock = 64 * 1024;
constexpr std::size_t kMaxHeader = 1 << 20;
constexpr unsigned char kPlaceBits = 0x03;
constexpr unsigned char kInFlight = 0x80;
constexpr unsigned char kFlagDirectory = 1;
constexpr unsigned char kFlagOwnId = 2;
constexpr unsigned char kFlagTemporary = 4;

std::uint64_t roundUp(std::uint64_t size) {
    return (size + kPage - 1) / kPage * kPage;
}

std::uint64_t progressSize(std::uint64_t renameCount) {
    return roundUp(std::max<std::uint64_t>(renameCount, 1));
}

[[noreturn]] void damaged(const std::string& why) {
    throw BatchJournal::Damaged(why);
}

void putFixed(std::string& out, std::uint64_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) {
        out += static_cast<char>((value >> (8 * i)) & 0xFF);
    }
}

void putVarint(std::string& out, std::uint64_t value) {
    for (; value >= 0x80; value >>= 7) {
        out += static_cast<char>((value & 0x7F) | 0x80);
    }
    out += static_cast<char>(value);
}

void putText(std::string& out, std::string_view text) {
    putVarint(out, text.size());
    out.append(text);
}

// Reads what the put… functions wrote; anything missing or out of range is damage.
class Reader {
public:
    explicit Reader(std::string_view bytes) : bytes_(bytes) {}

    std::uint64_t fixed(int bytes) {
        need(static_cast<std::size_t>(bytes));
        std::uint64_t value = 0;
        for (int i = 0; i < bytes; ++i) {
            value |= static_cast<std::uint64_t>(static_cast<unsigned char>(bytes_[i])) << (8 * i);
        }
        bytes_.remove_prefix(static_cast<std::size_t>(bytes));
        return value;
    }
    std::uint64_t varint() {
        std::uint64_t value = 0;
        for (int shift = 0; shift < 64; shift += 7) {
            const auto byte = static_cast<unsigned char>(fixed(1));
            value |= static_cast<std::uint64_t>(byte & 0x7F) << shift;
            if ((byte & 0x80) == 0) {
                return value;
            }
        }
        damaged(localized("a number in it is malformed"));
    }
    std::string text() {
        const std::uint64_t size = varint();
        need(size);
        std::string result(bytes_.substr(0, size));
        bytes_.remove_prefix(size);
        return result;
    }
    bool atEnd() const { return bytes_.empty(); }

private:
    void need(std::uint64_t size) const {
        if (bytes_.size() < size) {
            damaged(localized("it is cut short"));
        }
    }

    std::string_view bytes_;
};

std::int64_t nanosecondsOf(Date date) {
    return std::chrono::duration_cast<std::chrono::nanoseconds>(date.time_since_epoch()).count();
}

Date dateOf(std::uint64_t nanoseconds) {
    return Date(std::chrono::duration_cast<Date::duration>(
        std::chrono::nanoseconds(static_cast<std::int64_t>(nanoseconds))));
}

struct Layout {
    std::uint64_t moveCount = 0;
    std::uint64_t streamLength = 0;
    std::uint64_t blockCount = 0;
};

// The header's checksummed part; its length depends only on the folder and preset.
std::string headerPayload(const BatchJournal::Header& header, const Layout& layout) {
    std::string out;
    out += static_cast<char>(header.kind);
    const auto& id = header.batch.bytes();
    out.append(reinterpret_cast<const char*>(id.data()), id.size());
    putFixed(out, static_cast<std::uint64_t>(nanosecondsOf(header.batchDate)), 8);
    putFixed(out, static_cast<std::uint64_t>(nanosecondsOf(header.started)), 8);
    putFixed(out, header.renameCount, 8);
    putFixed(out, layout.moveCount, 8);
    putFixed(out, layout.streamLength, 8);
    putFixed(out, layout.blockCount, 8);
    putText(out, header.directory);
    out += static_cast<char>(header.presetName ? 1 : 0);
    putText(out, header.presetName.value_or(""));
    return out;
}

BatchJournal::Header parseHeader(std::string_view payload, Layout& layout) {
    Reader reader(payload);
    BatchJournal::Header header;
    const auto kind = reader.fixed(1);
    if (kind > static_cast<std::uint64_t>(BatchJournal::Kind::undo)) {
        damaged(localized("it is of an unknown kind"));
    }
    header.kind = static_cast<BatchJournal::Kind>(kind);
    std::array<std::uint8_t, 16> id{};
    for (auto& byte : id) {
        byte = static_cast<std::uint8_t>(reader.fixed(1));
    }
    header.batch = Uuid(id);
    header.batchDate = dateOf(reader.fixed(8));
    header.started = dateOf(reader.fixed(8));
    header.renameCount = reader.fixed(8);
    layout.moveCount = reader.fixed(8);
    layout.streamLength = reader.fixed(8);
    layout.blockCount = reader.fixed(8);
    header.directory = reader.text();
    const bool hasPreset = reader.fixed(1) != 0;
    std::string preset = reader.text();
    if (hasPreset) {
        header.presetName = std::move(preset);
    }
    return header;
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

// What the renames and moves take in the stream: the folders once, then
// each rename by its folder's number, then each move.
Layout writeStream(BlockWriter& writer, const RenameTransaction& transaction,
                   const std::vector<MovePlanner::RenameRef>& renames, const MoveOrder& order,
                   std::span<const std::size_t> operations) {
    std::unordered_map<std::string_view, std::uint64_t> folderNumbers;
    std::vector<std::string_view> folders;
    for (const auto& rename : renames) {
        if (folderNumbers.try_emplace(rename.directory, folders.size()).second) {
            folders.push_back(rename.directory);
        }
    }
    putVarint(writer.block(), folders.size());
    for (const std::string_view folder : folders) {
        putText(writer.block(), folder);
        writer.maybeSeal();
    }
    std::string defaultId;
    for (std::uint32_t i = 0; i < renames.size(); ++i) {
        const auto& rename = renames[i];
        const std::size_t operationIndex = operations.empty() ? i : operations[i];
        const RenameTransaction::Operation& operation = transaction.operations.at(operationIndex);
        defaultId = Paths::join(rename.directory, rename.from);
        const std::string* temporary = order.temporaryName(i);
        std::string& out = writer.block();
        putVarint(out, folderNumbers.at(rename.directory));
        putText(out, rename.from);
        putText(out, rename.to);
        out += static_cast<char>((operation.isDirectory ? kFlagDirectory : 0) |
                                 (operation.id != defaultId ? kFlagOwnId : 0) |
                                 (temporary != nullptr ? kFlagTemporary : 0));
        if (operation.id != defaultId) {
            putText(out, operation.id);
        }
        if (temporary != nullptr) {
            putText(out, *temporary);
        }
        putVarint(out, operationIndex);
        writer.maybeSeal();
    }
    for (const MoveOrder::Move& move : order.moves) {
        putVarint(writer.block(), static_cast<std::uint64_t>(move.rename) << 1 | (move.isTemporary ? 1 : 0));
        writer.maybeSeal();
    }
    return writer.finish(order.moves.size());
}

// Bytes of a file that is not held, for a listing while a batch runs.
std::string readUnheld(const std::string& path, std::uint64_t offset, std::size_t length) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        throw std::system_error(errno, std::generic_category(), path);
    }
    std::string bytes(length, '\0');
    const ssize_t got = ::pread(fd, bytes.data(), length, static_cast<off_t>(offset));
    const int error = errno;
    ::close(fd);
    if (got < 0) {
        throw std::system_error(error, std::generic_category(), path);
    }
    bytes.resize(static_cast<std::size_t>(got));
    return bytes;
}

// The checked header from the file's first bytes (more are read when it is long).
template <typename ReadAt>
std::pair<BatchJournal::Header, Layout> readHeaderWith(ReadAt readAt, std::uint64_t& state) {
    const std::string fixed = readAt(0, kFixedHeader);
    if (fixed.size() < kFixedHeader || std::string_view(fixed).substr(0, kMagic.size()) != kMagic) {
        damaged(localized("it is not a batch record"));
    }
    Reader reader(std::string_view(fixed).substr(kStateOffset));
    state = reader.fixed(8);
    const auto length = reader.fixed(4);
    const auto checksum = static_cast<std::uint32_t>(reader.fixed(4));
    if (length > kMaxHeader) {
        damaged(localized("its header is damaged"));
    }
    const std::string payload = readAt(kFixedHeader, length);
    if (payload.size() != length || Crc32::of(payload) != checksum) {
        damaged(localized("its header is damaged"));
    }
    Layout layout;
    BatchJournal::Header header = parseHeader(payload, layout);
    if (state != kRunning && state != kOver) {
        damaged(localized("its header is damaged"));
    }
    return {std::move(header), layout};
}

std::uint64_t headerSizeOf(const BatchJournal::Header& header) {
    return roundUp(kFixedHeader + headerPayload(header, Layout{}).size());
}

} // namespace

BatchJournal BatchJournal::create(const std::string& path, const Header& header,
                                  const RenameTransaction& transaction,
                                  const std::vector<MovePlanner::RenameRef>& renames, const MoveOrder& order,
                                  std::span<const std::size_t> operations) {
    BatchJournal journal(LockedFile::create(path));
    try {
        journal.header_ = header;
        journal.header_.renameCount = renames.size();
        const std::uint64_t progressOffset = headerSizeOf(journal.header_);
        BlockWriter writer(journal.file_, progressOffset + progressSize(renames.size()));
        const Layout layout = writeStream(writer, transaction, renames, order, operations);
        const std::string payload = headerPayload(journal.header_, layout);
        std::string fixed(kMagic);
        putFixed(fixed, kRunning, 8);
        putFixed(fixed, payload.size(), 4);
        putFixed(fixed, Crc32::of(payload), 4);
        journal.file_.write(0, fixed + payload);
        journal.file_.sync();
        AtomicFile::syncFolder(AtomicFile::folderOf(path));
        journal.mapProgress(progressOffset);
    } catch (...) {
        ::unlink(path.c_str());
        throw;
    }
    return journal;
}

BatchJournal::Header BatchJournal::readHeader(const std::string& path, bool* isOver) {
    std::uint64_t state = kRunning;
    auto header =
        readHeaderWith(
            [&](std::uint64_t offset, std::size_t length) { return readUnheld(path, offset, length); }, state)
            .first;
    if (isOver != nullptr) {
        *isOver = state == kOver;
    }
    return header;
}

std::optional<BatchJournal> BatchJournal::open(const std::string& path) {
    std::optional<LockedFile> file = LockedFile::openUnlessHeld(path);
    if (!file) {
        return std::nullopt;
    }
    BatchJournal journal(std::move(*file));
    const LockedFile& held = journal.file_;
    std::uint64_t state = kRunning;
    auto [header, layout] = readHeaderWith(
        [&](std::uint64_t offset, std::size_t length) { return held.read(offset, length); }, state);
    journal.header_ = std::move(header);
    const std::uint64_t progressOffset = headerSizeOf(journal.header_);
    std::uint64_t offset = progressOffset + progressSize(journal.header_.renameCount);
    if (layout.streamLength > held.size() || journal.header_.renameCount > layout.streamLength ||
        layout.moveCount > layout.streamLength) {
        damaged(localized("it is cut short"));
    }

    std::string stream;
    stream.reserve(layout.streamLength);
    for (std::uint64_t block = 0; block < layout.blockCount; ++block) {
        const std::string blockHeader = held.read(offset, 8);
        Reader frame(blockHeader);
        const auto length = frame.fixed(4);
        const auto checksum = static_cast<std::uint32_t>(frame.fixed(4));
        const std::string bytes = length <= kBlock * 2 ? held.read(offset + 8, length) : std::string();
        if (bytes.size() != length || Crc32::of(bytes) != checksum) {
            damaged(localized("part of it is damaged or missing"));
        }
        stream += bytes;
        offset += 8 + length;
    }
    if (stream.size() != layout.streamLength) {
        damaged(localized("it is cut short"));
    }

    Reader reader(stream);
    const auto folderCount = reader.varint();
    if (folderCount > stream.size()) {
        damaged(localized("a number in it is malformed"));
    }
    std::vector<std::string> folders(folderCount);
    for (auto& folder : folders) {
        folder = reader.text();
    }
    auto& renames = journal.renames_;
    renames.resize(journal.header_.renameCount);
    journal.order_.temporaryOf.assign(renames.size(), MoveOrder::kNone);
    for (std::uint32_t i = 0; i < renames.size(); ++i) {
        Rename& rename = renames[i];
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
            journal.order_.temporaryOf[i] = static_cast<std::uint32_t>(journal.order_.temporaryNames.size());
            journal.order_.temporaryNames.push_back(*rename.temporaryName);
        }
        rename.operation = reader.varint();
    }
    journal.order_.moves.reserve(layout.moveCount);
    for (std::uint64_t i = 0; i < layout.moveCount; ++i) {
        const auto value = reader.varint();
        const MoveOrder::Move move{static_cast<std::uint32_t>(value >> 1), (value & 1) != 0};
        if (move.rename >= renames.size() || (move.isTemporary && !renames[move.rename].temporaryName)) {
            damaged(localized("a number in it is malformed"));
        }
        journal.order_.moves.push_back(move);
    }
    if (!reader.atEnd()) {
        damaged(localized("it holds more than its header says"));
    }

    journal.mapProgress(progressOffset);
    for (std::uint32_t i = 0; i < renames.size(); ++i) {
        const unsigned char byte = journal.progress_[i];
        const int at = byte & kPlaceBits;
        const int to = (byte >> 2) & kPlaceBits;
        const bool parkedWithout =
            !renames[i].temporaryName && (at == 1 || ((byte & kInFlight) != 0 && to == 1));
        if ((byte & ~(kInFlight | 0x0F)) != 0 || at > 2 || to > 2 || parkedWithout) {
            damaged(localized("part of it is damaged or missing"));
        }
    }
    return journal;
}

void BatchJournal::mapProgress(std::uint64_t progressOffset) {
    unsigned char* mapped = file_.map(progressOffset + progressSize(header_.renameCount));
    state_ = reinterpret_cast<volatile std::uint64_t*>(mapped + kStateOffset);
    progress_ = mapped + progressOffset;
}

Place BatchJournal::place(std::uint32_t rename) const {
    return static_cast<Place>(progress_[rename] & kPlaceBits);
}

std::optional<Place> BatchJournal::movingTo(std::uint32_t rename) const {
    const unsigned char byte = progress_[rename];
    if ((byte & kInFlight) == 0) {
        return std::nullopt;
    }
    return static_cast<Place>((byte >> 2) & kPlaceBits);
}

// The stores must reach the mapping in program order with the moves around
// them; they are single bytes (and one aligned word), so a crash never leaves
// half of one.
void BatchJournal::moving(std::uint32_t rename, Place from, Place to) noexcept {
    std::atomic_signal_fence(std::memory_order_seq_cst);
    progress_[rename] =
        static_cast<unsigned char>(kInFlight | static_cast<unsigned>(to) << 2 | static_cast<unsigned>(from));
    std::atomic_signal_fence(std::memory_order_seq_cst);
}

void BatchJournal::at(std::uint32_t rename, Place place) noexcept {
    std::atomic_signal_fence(std::memory_order_seq_cst);
    progress_[rename] = static_cast<unsigned char>(place);
    std::atomic_signal_fence(std::memory_order_seq_cst);
}

bool BatchJournal::isOver() const {
    return *state_ == kOver;
}

void BatchJournal::markOver() noexcept {
    std::atomic_signal_fence(std::memory_order_seq_cst);
    *state_ = kOver;
    std::atomic_signal_fence(std::memory_order_seq_cst);
}

} // namespace morvane
