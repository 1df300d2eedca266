#pragma once

#include "engine/filesystem/FileSystem.h"
#include "engine/filesystem/FileSystemError.h"
#include "engine/support/Date.h"

#include <chrono>
#include <filesystem>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <thread>
#include <vector>

namespace morvane::testing {

// A fresh folder under the system's temporary folder, removed with its contents at the end.
class TempFolder {
public:
    TempFolder();
    ~TempFolder() { std::filesystem::remove_all(path_, ignored_); }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    const std::string& path() const { return path_; }
    std::string operator/(const std::string& relative) const { return path_ + "/" + relative; }

private:
    std::string path_;
    std::error_code ignored_;
};

void writeFile(const std::string& path, const std::string& contents);
std::string readFile(const std::string& path);
inline void makeFolder(const std::string& path) {
    std::filesystem::create_directories(path);
}
inline void makeLink(const std::string& target, const std::string& path) {
    std::filesystem::create_symlink(target, path);
}

// Everything below `folder` by relative path: a file's bytes, "<folder>", or "-> target" for a link.
std::map<std::string, std::string> snapshot(const std::string& folder);
// The relative paths of everything below `folder`, in order.
std::vector<std::string> namesIn(const std::string& folder);

// Makes a folder refuse changes, also to root (which ignores permission bits):
// by permissions where they bite, else by the immutable attribute. Undone at
// the end. `errorNumber()` is the error a change then gets, 0 if neither works.
class ReadOnlyFolder {
public:
    explicit ReadOnlyFolder(std::string path);
    ~ReadOnlyFolder();
    ReadOnlyFolder(const ReadOnlyFolder&) = delete;
    ReadOnlyFolder& operator=(const ReadOnlyFolder&) = delete;
    int errorNumber() const { return error_; }

private:
    std::string path_;
    bool immutable_ = false;
    int error_ = 0;
};

// Runs a hook before each move (numbered from 0): to make that move fail, or
// to act as another process meanwhile.
class ScriptedFileSystem : public FileSystem {
public:
    using Hook = std::function<void(std::size_t attempt, const std::string& from, const std::string& to)>;
    ScriptedFileSystem(std::shared_ptr<FileSystem> inner, Hook hook)
        : inner_(std::move(inner)), hook_(hook) {}

    bool exists(const std::string& path) const override { return inner_->exists(path); }
    void move(const std::string& from, const std::string& to) override {
        hook_(attempts_++, from, to);
        inner_->move(from, to);
    }
    std::vector<FSEntry> entries(const std::string& directory) const override {
        return inner_->entries(directory);
    }
    std::optional<FileIdentity> identity(const std::string& path) const override {
        return inner_->identity(path);
    }
    std::optional<std::vector<IdentifiedName>> identities(const std::string& directory,
                                                          std::size_t limit) const override {
        return inner_->identities(directory, limit);
    }
    std::string canonicalPath(const std::string& path) const override { return inner_->canonicalPath(path); }
    bool isCaseSensitive(const std::string& directory) const override {
        return inner_->isCaseSensitive(directory);
    }

private:
    std::shared_ptr<FileSystem> inner_;
    Hook hook_;
    std::size_t attempts_ = 0;
};

// The disk, taking `milliseconds` per move: batches long enough to show progress and be stopped.
inline std::shared_ptr<FileSystem> slowed(std::shared_ptr<FileSystem> disk, int milliseconds) {
    return std::make_shared<ScriptedFileSystem>(
        std::move(disk), [milliseconds](std::size_t, const std::string&, const std::string&) {
            std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
        });
}

// ".morvane-tmp-1", ".morvane-tmp-2", ...
inline std::function<std::string()> numberedTemporaryNames() {
    return [counter = std::make_shared<int>(0)] { return ".morvane-tmp-" + std::to_string(++*counter); };
}

// The error a move throws, if any.
inline std::optional<FileSystemError> moveError(FileSystem& fs, const std::string& from,
                                                const std::string& to) {
    try {
        fs.move(from, to);
    } catch (const FileSystemError& error) {
        return error;
    }
    return std::nullopt;
}

inline Date secondsSinceEpoch(long long seconds) {
    return Date(std::chrono::seconds(seconds));
}

} // namespace morvane::testing
