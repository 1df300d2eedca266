#include "engine/transactions/BatchJournal.h"

#include "engine/filesystem/AtomicFile.h"
#include "engine/support/Crc32.h"
#include "engine/support/Localization.h"
#include "engine/transactions/JournalBytes.h"
#include "engine/transactions/JournalStream.h"

#include <array>
#include <atomic>
#include <cerrno>
#include <chrono>
#include <fcntl.h>
#include <system_error>
#include <unistd.h>

namespace morvane {
namespace {

using Place = BatchJournal::Place;
using namespace journalbytes;
using Layout = JournalStream::Layout;

// The layout: magic (its last byte the version), state word, header length
// and checksum, header; the progress bytes from the next page; then the
// blocks of the stream. Records of the first version keep no identities.
constexpr std::string_view kMagic{"MRVNJNL\x02", 8};
constexpr char kFirstVersion = '\x01';
constexpr std::size_t kStateOffset = 8;
constexpr std::size_t kFixedHeader = 24;
constexpr std::uint64_t kRunning = 0;
constexpr std::uint64_t kOver = 0x2E2E2E2E5245564FULL; // "OVER...." as bytes
constexpr std::uint64_t kPage = 4096;
constexpr std::size_t kMaxHeader = 1 << 20;
constexpr unsigned char kPlaceBits = 0x03;
constexpr unsigned char kInFlight = 0x80;

std::uint64_t roundUp(std::uint64_t size) {
    return (size + kPage - 1) / kPage * kPage;
}

std::uint64_t progressSize(std::uint64_t renameCount) {
    return roundUp(std::max<std::uint64_t>(renameCount, 1));
}

std::int64_t nanosecondsOf(Date date) {
    return std::chrono::duration_cast<std::chrono::nanoseconds>(date.time_since_epoch()).count();
}

Date dateOf(std::uint64_t nanoseconds) {
    return Date(std::chrono::duration_cast<Date::duration>(
        std::chrono::nanoseconds(static_cast<std::int64_t>(nanoseconds))));
}

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

struct ReadHeader {
    BatchJournal::Header header;
    Layout layout;
    std::uint64_t state = kRunning;
    bool hasIdentities = true;
};

// The checked header from the file's first bytes (more are read when it is long).
template <typename ReadAt>
ReadHeader readHeaderWith(ReadAt readAt) {
    const std::string fixed = readAt(0, kFixedHeader);
    if (fixed.find_first_not_of('\0') == std::string::npos) {
        throw BatchJournal::NeverWritten("it was never written"); // never shown: recovery removes it
    }
    const std::string_view magic = std::string_view(fixed).substr(0, kMagic.size());
    const bool isFirstVersion = magic == std::string(kMagic.substr(0, 7)) + kFirstVersion;
    if (fixed.size() < kFixedHeader || (magic != kMagic && !isFirstVersion)) {
        damaged(localized("it is not a batch record"));
    }
    ReadHeader read;
    read.hasIdentities = !isFirstVersion;
    Reader reader(std::string_view(fixed).substr(kStateOffset));
    read.state = reader.fixed(8);
    const auto length = reader.fixed(4);
    const auto checksum = static_cast<std::uint32_t>(reader.fixed(4));
    if (length > kMaxHeader) {
        damaged(localized("its header is damaged"));
    }
    const std::string payload = readAt(kFixedHeader, length);
    if (payload.size() != length || Crc32::of(payload) != checksum) {
        damaged(localized("its header is damaged"));
    }
    read.header = parseHeader(payload, read.layout);
    if (read.state != kRunning && read.state != kOver) {
        damaged(localized("its header is damaged"));
    }
    return read;
}

std::uint64_t headerSizeOf(const BatchJournal::Header& header) {
    return roundUp(kFixedHeader + headerPayload(header, Layout{}).size());
}

} // namespace

BatchJournal BatchJournal::create(const std::string& path, const Header& header,
                                  const RenameTransaction& transaction,
                                  const std::vector<MovePlanner::RenameRef>& renames, const MoveOrder& order,
                                  std::span<const std::size_t> operations,
                                  std::span<const std::optional<FileIdentity>> identities) {
    Header whole = header;
    whole.renameCount = renames.size();
    const std::uint64_t progressOffset = headerSizeOf(whole);
    BatchJournal journal(LockedFile::publish(path, [&](LockedFile& file) {
        const Layout layout = JournalStream::write(file, progressOffset + progressSize(renames.size()),
                                                   transaction, renames, order, operations, identities);
        const std::string payload = headerPayload(whole, layout);
        std::string fixed(kMagic);
        putFixed(fixed, kRunning, 8);
        putFixed(fixed, payload.size(), 4);
        putFixed(fixed, Crc32::of(payload), 4);
        file.write(0, fixed + payload);
    }));
    journal.header_ = std::move(whole);
    try {
        journal.mapProgress(progressOffset);
    } catch (...) {
        try { // nothing has moved: the record has nothing to keep
            journal.remove();
        } catch (...) {
            // Whole and let go of, it reads as a batch that moved nothing.
        }
        throw;
    }
    return journal;
}

BatchJournal::Header BatchJournal::readHeader(const std::string& path, bool* isOver) {
    ReadHeader read = readHeaderWith(
        [&](std::uint64_t offset, std::size_t length) { return readUnheld(path, offset, length); });
    if (isOver != nullptr) {
        *isOver = read.state == kOver;
    }
    return std::move(read.header);
}

std::optional<BatchJournal> BatchJournal::open(const std::string& path) {
    std::optional<LockedFile> file = LockedFile::openUnlessHeld(path);
    if (!file) {
        return std::nullopt;
    }
    BatchJournal journal(std::move(*file));
    const LockedFile& held = journal.file_;
    ReadHeader read =
        readHeaderWith([&](std::uint64_t offset, std::size_t length) { return held.read(offset, length); });
    journal.header_ = std::move(read.header);
    const std::uint64_t progressOffset = headerSizeOf(journal.header_);
    JournalStream::Contents contents =
        JournalStream::read(held, progressOffset + progressSize(journal.header_.renameCount), read.layout,
                            journal.header_.renameCount, read.hasIdentities);
    journal.renames_ = std::move(contents.renames);
    journal.order_ = std::move(contents.order);

    journal.mapProgress(progressOffset);
    const auto& renames = journal.renames_;
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
