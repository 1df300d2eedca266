#include "engine/transactions/HistoryStore.h"

#include "engine/filesystem/AtomicFile.h"
#include "engine/filesystem/SystemErrorText.h"
#include "engine/support/IsoDate.h"
#include "engine/support/Localization.h"
#include "engine/support/Paths.h"
#include "engine/support/UserDataFolder.h"
#include "engine/support/Uuid.h"
#include "engine/transactions/TransactionJsonReader.h"
#include "engine/transactions/TransactionJsonWriter.h"

#include <nlohmann/json.hpp>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <fcntl.h>
#include <filesystem>
#include <sys/stat.h>
#include <system_error>
#include <unistd.h>
#include <variant>

namespace morvane {
namespace {

namespace fs = std::filesystem;

// The whole file, or the system's error number.
std::variant<std::string, int> readWholeFile(const fs::path& path) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        return errno;
    }
    std::string contents;
    char buffer[65536];
    for (;;) {
        const ssize_t got = ::read(fd, buffer, sizeof buffer);
        if (got < 0 && errno == EINTR) {
            continue;
        }
        if (got <= 0) {
            const int error = got < 0 ? errno : 0;
            ::close(fd);
            if (error != 0) {
                return error;
            }
            return contents;
        }
        contents.append(buffer, static_cast<std::size_t>(got));
    }
}

// nlohmann's text without its "[json.exception.parse_error.101] " tag.
std::string detailOf(const nlohmann::json::exception& error) {
    const std::string_view text = error.what();
    const auto tagEnd = text.starts_with("[json.exception.") ? text.find("] ") : std::string_view::npos;
    return std::string(tagEnd == std::string_view::npos ? text : text.substr(tagEnd + 2));
}

// The transaction a record holds, or why it holds none.
std::variant<RenameTransaction, std::string> decodeRecord(std::string_view text, bool& isPrecise) {
    if (auto read = TransactionJsonReader::read(text)) {
        isPrecise = read->isPrecise;
        return std::move(read->transaction);
    }
    // Only a record that is refused is read again as a document, which says why.
    nlohmann::json record;
    try {
        record = nlohmann::json::parse(text);
    } catch (const nlohmann::json::exception& error) {
        return localized("not valid JSON (%@)", detailOf(error));
    }
    try {
        RenameTransaction transaction = record.get<RenameTransaction>();
        isPrecise =
            preciseDateOf(record, std::chrono::floor<std::chrono::seconds>(transaction.date)).has_value();
        return transaction;
    } catch (const nlohmann::json::exception& error) {
        return localized("not a rename record (%@)", detailOf(error));
    }
}

// An older record keeps its start in whole seconds; its file was written as
// the batch ended, so the file's time, held within that second, orders it
// among the batches of the same second.
Date startFromFileTime(const fs::path& file, Date wholeSecond) {
    struct stat info {};
    if (::stat(file.c_str(), &info) != 0) {
        return wholeSecond;
    }
    const Date written(std::chrono::duration_cast<Date::duration>(
        std::chrono::seconds(info.st_mtim.tv_sec) + std::chrono::nanoseconds(info.st_mtim.tv_nsec)));
    const Date lastOfSecond = wholeSecond + std::chrono::seconds(1) - Date::duration(1);
    return std::clamp(written, wholeSecond, lastOfSecond);
}

} // namespace

std::string HistoryStore::defaultDirectory() {
    return UserDataFolder::root() + "/History";
}

std::string HistoryStore::fileName(const RenameTransaction& transaction) {
    return fileName(transaction.id, transaction.date);
}

std::string HistoryStore::fileName(const Uuid& id, Date date) {
    return IsoDate::compactStamp(date) + "-" + id.text() + ".json";
}

std::string HistoryStore::pathOf(const RenameTransaction& transaction) const {
    return Paths::join(directory_, fileName(transaction));
}

std::string HistoryStore::journalPath(BatchJournal::Kind kind, const Uuid& batch, Date batchDate) const {
    const std::string stem = IsoDate::compactStamp(batchDate) + "-" + batch.text();
    return Paths::join(directory_, stem + (kind == BatchJournal::Kind::undo ? ".undo.journal" : ".journal"));
}

std::vector<std::string> HistoryStore::journalPaths() const {
    std::error_code missing;
    if (!fs::exists(directory_, missing)) {
        return {};
    }
    std::vector<std::string> paths;
    for (const auto& entry : fs::directory_iterator(directory_)) {
        if (entry.path().extension() == ".journal") {
            paths.push_back(entry.path().string());
        }
    }
    std::sort(paths.begin(), paths.end());
    return paths;
}

std::string HistoryStore::encode(const RenameTransaction& transaction) {
    return TransactionJsonWriter::write(transaction);
}

std::optional<RenameTransaction> HistoryStore::decode(std::string_view text) {
    bool isPrecise = false;
    auto decoded = decodeRecord(text, isPrecise);
    if (auto* transaction = std::get_if<RenameTransaction>(&decoded)) {
        return std::move(*transaction);
    }
    return std::nullopt;
}

void HistoryStore::prepare() const {
    fs::create_directories(directory_);
    // A file without a name, where the volume makes one: nothing is left to
    // remove, whenever the process ends. Elsewhere a named one, removed
    // after; one left by a process that ended meanwhile goes next time.
    std::string probe;
    int fd = ::open(directory_.c_str(), O_TMPFILE | O_WRONLY | O_CLOEXEC, 0600);
    if (fd < 0 && (errno == EOPNOTSUPP || errno == EISDIR || errno == EINVAL)) {
        probe = Paths::join(directory_, std::string(kWriteTestPrefix) + Uuid::random().text());
        fd = ::open(probe.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
    }
    if (fd < 0) {
        throw std::system_error(errno, std::generic_category(), directory_);
    }
    constexpr std::string_view kProbe = "Morvane history write test\n";
    const ssize_t written = ::write(fd, kProbe.data(), kProbe.size());
    int error = written == static_cast<ssize_t>(kProbe.size()) ? 0 : written < 0 ? errno : EIO;
    if (error == 0 && ::fsync(fd) != 0) {
        error = errno;
    }
    if (::close(fd) != 0 && error == 0) {
        error = errno;
    }
    if (!probe.empty()) {
        ::unlink(probe.c_str());
    }
    if (error != 0) {
        throw std::system_error(error, std::generic_category(), directory_);
    }
    // Another process's probe may go too: it is written and flushed all the
    // same, and its removal finding nothing is no failure.
    std::error_code ignored;
    for (const auto& entry : fs::directory_iterator(directory_, ignored)) {
        if (entry.path().filename().string().starts_with(kWriteTestPrefix)) {
            fs::remove(entry.path(), ignored);
        }
    }
}

void HistoryStore::save(const RenameTransaction& transaction) const {
    // Text that cannot be written leaves no trace on disk: the file is
    // abandoned unless committed, and a folder made for it goes with it.
    std::optional<AtomicFile> file;
    bool madeFolder = false;
    try {
        TransactionJsonWriter::write(transaction, [&](std::string_view piece) {
            if (!file) {
                madeFolder = fs::create_directories(directory_);
                file.emplace(pathOf(transaction));
            }
            file->append(piece);
        });
        file->commit();
    } catch (...) {
        file.reset();
        if (madeFolder) {
            std::error_code ignored;
            fs::remove(directory_, ignored);
        }
        throw;
    }
}

HistoryListing HistoryStore::loadReporting() const {
    std::error_code missing;
    if (!fs::exists(directory_, missing)) {
        return {};
    }
    std::vector<fs::path> files;
    for (const auto& entry : fs::directory_iterator(directory_)) {
        if (entry.path().extension() == ".json") {
            files.push_back(entry.path());
        }
    }
    // Listing order is the system's; name order makes ties among equal dates repeatable.
    std::sort(files.begin(), files.end());
    HistoryListing listing;
    for (const fs::path& file : files) {
        std::error_code notRegular;
        if (!fs::is_regular_file(file, notRegular)) {
            continue;
        }
        auto contents = readWholeFile(file);
        if (const int* error = std::get_if<int>(&contents)) {
            listing.unreadable.push_back({file.string(), systemErrorText(*error)});
            continue;
        }
        bool isPrecise = false;
        auto decoded = decodeRecord(std::get<std::string>(contents), isPrecise);
        if (auto* why = std::get_if<std::string>(&decoded)) {
            listing.unreadable.push_back({file.string(), std::move(*why)});
            continue;
        }
        auto& transaction = std::get<RenameTransaction>(decoded);
        if (!isPrecise) {
            transaction.date = startFromFileTime(file, transaction.date);
        }
        listing.transactions.push_back(std::move(transaction));
    }
    std::stable_sort(listing.transactions.begin(), listing.transactions.end(),
                     [](const RenameTransaction& a, const RenameTransaction& b) { return a.date > b.date; });
    return listing;
}

std::vector<RenameTransaction> HistoryStore::load() const {
    return loadReporting().transactions;
}

std::optional<RenameTransaction> HistoryStore::latestUndoable() const {
    for (RenameTransaction& transaction : load()) {
        if (transaction.revertibleCount() > 0) {
            return std::move(transaction);
        }
    }
    return std::nullopt;
}

std::optional<RenameTransaction> HistoryStore::find(const Uuid& id, Date date) const {
    auto contents = readWholeFile(Paths::join(directory_, fileName(id, date)));
    if (const auto* text = std::get_if<std::string>(&contents)) {
        return decode(*text);
    }
    return std::nullopt;
}

std::string HistoryStore::cannotWrite(const std::exception& error) const {
    const auto* system = dynamic_cast<const std::system_error*>(&error);
    const std::string reason = system != nullptr ? systemErrorText(system->code().value()) : error.what();
    return localized("The history folder \u201C%@\u201D cannot be written: %@", directory_, reason);
}

void HistoryStore::remove(const RenameTransaction& transaction) const {
    const fs::path file = fs::path(directory_) / fileName(transaction);
    if (!fs::remove(file)) {
        throw fs::filesystem_error("cannot remove history file", file,
                                   std::make_error_code(std::errc::no_such_file_or_directory));
    }
}

} // namespace morvane
