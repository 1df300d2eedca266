#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace morvane {

// A file that one process works on at a time: it is held under an exclusive
// lock, which the system lets go however the process ends (a crash, a kill),
// so that another process can tell a file still in use from one left behind.
// Its head can be mapped into memory, where a store reaches the file without
// a system call and outlives the process that made it. Failures throw
// std::system_error naming the file.
class LockedFile {
public:
    // Creates the file, which must not exist yet.
    static LockedFile create(const std::string& path);
    // Opens an existing file; nothing when another process holds it.
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
