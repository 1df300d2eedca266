#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace morvane {

// A file that one process works on at a time: it is held under an exclusive
// lock, which the system lets go however the process ends (a crash, a kill),
// so that another process can tell a file still in use from one left behind.
// Its head can be mapped into memory, where a store reaches the file without
// a system call and outlives the process that made it. Failures throw
// std::system_error naming the file.
class LockedFile {
public:
    // The end of a draft's name: `path`, a hyphen, eight random characters, this.
    static constexpr std::string_view kDraftExtension = ".draft";

    // Makes a new file that comes into view only whole, flushed and held:
    // `write` fills it under a draft name beside `path`, and it then takes
    // `path`, which must not exist. Another process never sees it otherwise:
    // one that dies before leaves a draft, which removeAbandonedDrafts
    // clears. Throws (leaving nothing behind) when a step fails.
    static LockedFile publish(const std::string& path, const std::function<void(LockedFile&)>& write);
    // Removes the drafts in `folder` whose process has ended, and returns
    // their paths; a draft still being written is left alone, also in the
    // moment between its creation and its lock.
    static std::vector<std::string> removeAbandonedDrafts(const std::string& folder);
    // Removes a file that no process holds, holding it meanwhile; one still
    // in use is left alone. Whether it was removed.
    static bool removeUnlessHeld(const std::string& path);
    // Opens an existing file; nothing when another process holds it. A file
    // removed by its holder before it let go is gone (ENOENT), not held.
    static std::optional<LockedFile> openUnlessHeld(const std::string& path);
    // Whether a process (this one included) holds the file now.
    static bool isHeld(const std::string& path);

    LockedFile(LockedFile&& other) noexcept;
    LockedFile& operator=(LockedFile&& other) noexcept;
    ~LockedFile();

    const std::string& path() const { return path_; }
    std::uint64_t size() const;
    // What the file holds from `offset`: `length` bytes, fewer at its end.
    std::string read(std::uint64_t offset, std::size_t length) const;
    void write(std::uint64_t offset, std::string_view bytes);
    // Lengthens the file with zero bytes (or shortens it).
    void resize(std::uint64_t size);
    // Makes the contents durable.
    void sync();
    // The first `length` bytes, mapped for reading and writing; stores there
    // are the file's. Valid while this object lives; one mapping at a time.
    unsigned char* map(std::size_t length);
    // Removes the file from its folder, durably; it stays held until this
    // object goes.
    void remove();

private:
    LockedFile(std::string path, int fd) : path_(std::move(path)), fd_(fd) {}
    void release() noexcept;

    std::string path_;
    int fd_ = -1;
    unsigned char* mapped_ = nullptr;
    std::size_t mappedLength_ = 0;
};

} // namespace morvane
