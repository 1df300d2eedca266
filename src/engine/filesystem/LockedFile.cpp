#include "engine/filesystem/LockedFile.h"

#include "engine/filesystem/AtomicFile.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <system_error>
#include <unistd.h>
#include <utility>

namespace morvane {
namespace {

[[noreturn]] void fail(int error, const std::string& path) {
    throw std::system_error(error, std::generic_category(), path);
}

bool lock(int fd, int how) {
    while (::flock(fd, how | LOCK_NB) != 0) {
        if (errno != EINTR) {
            return false;
        }
    }
    return true;
}

} // namespace

LockedFile LockedFile::create(const std::string& path) {
    const int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
    if (fd < 0) {
        fail(errno, path);
    }
    if (!lock(fd, LOCK_EX)) {
        // A file just created is held only by someone who opened it meanwhile.
        const int error = errno;
        ::close(fd);
        ::unlink(path.c_str());
        fail(error, path);
    }
    return LockedFile(path, fd);
}

std::optional<LockedFile> LockedFile::openUnlessHeld(const std::string& path) {
    const int fd = ::open(path.c_str(), O_RDWR | O_CLOEXEC);
    if (fd < 0) {
        fail(errno, path);
    }
    LockedFile file(path, fd);
    if (!lock(fd, LOCK_EX)) {
        if (errno == EWOULDBLOCK) {
            return std::nullopt;
        }
        fail(errno, path);
    }
    return file;
}

bool LockedFile::isHeld(const std::string& path) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        return false;
    }
    const bool free = lock(fd, LOCK_SH);
    const bool held = !free && errno == EWOULDBLOCK;
    ::close(fd); // lets go of the shared lock taken to look
    return held;
}

LockedFile::LockedFile(LockedFile&& other) noexcept
    : path_(std::move(other.path_)), fd_(std::exchange(other.fd_, -1)),
      mapped_(std::exchange(other.mapped_, nullptr)), mappedLength_(std::exchange(other.mappedLength_, 0)) {}

LockedFile& LockedFile::operator=(LockedFile&& other) noexcept {
    if (this != &other) {
        release();
        path_ = std::move(other.path_);
        fd_ = std::exchange(other.fd_, -1);
        mapped_ = std::exchange(other.mapped_, nullptr);
        mappedLength_ = std::exchange(other.mappedLength_, 0);
    }
    return *this;
}

LockedFile::~LockedFile() {
    release();
}

void LockedFile::release() noexcept {
    if (mapped_ != nullptr) {
        ::munmap(mapped_, mappedLength_);
        mapped_ = nullptr;
    }
    if (fd_ >= 0) {
        ::close(fd_); // and with it the lock
        fd_ = -1;
    }
}

std::uint64_t LockedFile::size() const {
    struct stat info {};
    if (::fstat(fd_, &info) != 0) {
        fail(errno, path_);
    }
    return static_cast<std::uint64_t>(info.st_size);
}

std::string LockedFile::read(std::uint64_t offset, std::size_t length) const {
    std::string bytes(length, '\0');
    std::size_t got = 0;
    while (got < length) {
        const ssize_t part = ::pread(fd_, bytes.data() + got, length - got, static_cast<off_t>(offset + got));
        if (part < 0 && errno == EINTR) {
            continue;
        }
        if (part < 0) {
            fail(errno, path_);
        }
        if (part == 0) {
            break;
        }
        got += static_cast<std::size_t>(part);
    }
    bytes.resize(got);
    return bytes;
}

void LockedFile::write(std::uint64_t offset, std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t part = ::pwrite(fd_, bytes.data(), bytes.size(), static_cast<off_t>(offset));
        if (part < 0 && errno == EINTR) {
            continue;
        }
        if (part < 0) {
            fail(errno, path_);
        }
        bytes.remove_prefix(static_cast<std::size_t>(part));
        offset += static_cast<std::uint64_t>(part);
    }
}

void LockedFile::resize(std::uint64_t size) {
    if (::ftruncate(fd_, static_cast<off_t>(size)) != 0) {
        fail(errno, path_);
    }
}

void LockedFile::sync() {
    if (::fsync(fd_) != 0) {
        fail(errno, path_);
    }
}

unsigned char* LockedFile::map(std::size_t length) {
    if (mapped_ != nullptr) {
        ::munmap(mapped_, mappedLength_);
        mapped_ = nullptr;
    }
    void* mapped = ::mmap(nullptr, length, PROT_READ | PROT_WRITE, MAP_SHARED, fd_, 0);
    if (mapped == MAP_FAILED) {
        fail(errno, path_);
    }
    mapped_ = static_cast<unsigned char*>(mapped);
    mappedLength_ = length;
    return mapped_;
}

void LockedFile::remove() {
    if (::unlink(path_.c_str()) != 0 && errno != ENOENT) {
        fail(errno, path_);
    }
    AtomicFile::syncFolder(AtomicFile::folderOf(path_));
}

} // namespace morvane
