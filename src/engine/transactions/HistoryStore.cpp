#include "engine/transactions/HistoryStore.h"

#include "engine/filesystem/AtomicFile.h"
#include "engine/support/IsoDate.h"
#include "engine/support/Paths.h"
#include "engine/support/UserDataFolder.h"
#include "engine/transactions/TransactionJsonWriter.h"

#include <nlohmann/json.hpp>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <system_error>

namespace morvane {
namespace {

namespace fs = std::filesystem;

std::optional<std::string> readWholeFile(const fs::path& path) {
    std::ifstream stream(path, std::ios::binary);
    if (!stream) {
        return std::nullopt;
    }
    std::ostringstream contents;
    contents << stream.rdbuf();
    if (stream.bad()) {
        return std::nullopt;
    }
    return std::move(contents).str();
}

} // namespace

std::string HistoryStore::defaultDirectory() {
    return UserDataFolder::root() + "/History";
}

std::string HistoryStore::fileName(const RenameTransaction& transaction) {
    return IsoDate::compactStamp(transaction.date) + "-" + transaction.id.text() + ".json";
}

std::string HistoryStore::encode(const RenameTransaction& transaction) {
    return TransactionJsonWriter::write(transaction);
}

std::optional<RenameTransaction> HistoryStore::decode(std::string_view text) {
    try {
        return nlohmann::json::parse(text).get<RenameTransaction>();
    } catch (const nlohmann::json::exception&) {
        return std::nullopt;
    }
}

void HistoryStore::save(const RenameTransaction& transaction) const {
    // Encoding first: text that cannot be written leaves no trace on disk.
    const std::string contents = encode(transaction);
    fs::create_directories(directory_);
    AtomicFile::write(Paths::join(directory_, fileName(transaction)), contents);
}

std::vector<RenameTransaction> HistoryStore::load() const {
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
    std::vector<RenameTransaction> result;
    for (const fs::path& file : files) {
        std::error_code notRegular;
        if (!fs::is_regular_file(file, notRegular)) {
            continue;
        }
        const auto contents = readWholeFile(file);
        if (!contents) {
            continue;
        }
        if (auto transaction = decode(*contents)) {
            result.push_back(std::move(*transaction));
        }
    }
    std::stable_sort(result.begin(), result.end(),
                     [](const RenameTransaction& a, const RenameTransaction& b) { return a.date > b.date; });
    return result;
}

std::optional<RenameTransaction> HistoryStore::latestUndoable() const {
    for (RenameTransaction& transaction : load()) {
        if (transaction.revertibleCount() > 0) {
            return std::move(transaction);
        }
    }
    return std::nullopt;
}

void HistoryStore::remove(const RenameTransaction& transaction) const {
    const fs::path file = fs::path(directory_) / fileName(transaction);
    if (!fs::remove(file)) {
        throw fs::filesystem_error("cannot remove history file", file,
                                   std::make_error_code(std::errc::no_such_file_or_directory));
    }
}

} // namespace morvane
