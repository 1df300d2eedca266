#include "engine/filesystem/LockedFile.h"

#include "engine/filesystem/AtomicFile.h"
#include "engine/filesystem/NoReplaceMove.h"
#include "engine/support/Paths.h"
#include "engine/support/Uuid.h"

#include <algorithm>
#include <cerrno>
#include <dirent.h>
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

// A lock on a folder, let go when this goes. Whoever makes a draft holds it
// shared from the draft's creation to its own lock; whoever clears abandoned
// drafts holds it exclusively, and so never takes a draft in that moment. A
// folder that cannot be locked goes without for drafts' makers, and is not
// cleared.
class FolderLock {
public:
    explicit FolderLock(const std::string& folder)
        : fd_(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC)) {}
    ~FolderLock() { release(); }
    FolderLock(const FolderLock&) = delete;
    FolderLock& operator=(const FolderLock&) = delete;

    // Waits while the folder is being cleared, which takes a moment.
    void share() {
        while (fd_ >= 0 && ::flock(fd_, LOCK_SH) != 0 && errno == EINTR) {
        }
    }
    // Drafts are made in a moment: if it cannot be had for a while, a draft's
    // maker is stuck, and the clearing waits for another time.
    bool own() {
        for (int attempt = 0; fd_ >= 0 && attempt < 100; ++attempt) {
            if (lock(fd_, LOCK_EX)) {
                return true;
            }
            if (errno != EWOULDBLOCK) {
                return false;
            }
            ::usleep(2000);
        }
        return false;
    }

    void release() {
        if (fd_ >= 0) {
            ::close(fd_); // and with it the lock
            fd_ = -1;
        }
    }

private:
    int fd_;
};

} // namespace

LockedFile LockedFile::publish(const std::string& path, const std::function<void(LockedFile&)>& write) {
    // A draft is removed only by someone holding it, so once this process
    // holds it and it still has its name, it is this process's to the end.
    // Someone clearing abandoned drafts may get to a new one first: then
    // another name is tried.
    std::optional<LockedFile> draft;
    FolderLock folder(AtomicFile::folderOf(path));
    folder.share();
    for (int attempt = 0; !draft; ++attempt) {
        const std::string name =
            path + "-" + Uuid::random().text().substr(0, 8) + std::string(kDraftExtension);
        const int fd = ::open(name.c_str(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
        if (fd < 0) {
            fail(errno, path);
        }
        LockedFile file(name, fd);
        const bool held = lock(fd, LOCK_EX);
        if (!held && errno != EWOULDBLOCK) {
            const int error = errno; // a volume without locks, say: no use trying again
            ::unlink(name.c_str());
            fail(error, path);
        }
        struct stat info {};
        if (held && ::fstat(fd, &info) == 0 && info.st_nlink > 0) {
            draft.emplace(std::move(file));
        } else if (attempt == 7) {
            fail(EAGAIN, path);
        }
    }
    folder.release(); // the draft is held now: no clearing takes it
    try {
        write(*draft);
        draft->sync();
        if (const int error = posix::moveWithoutReplacing(draft->path_.c_str(), path.c_str())) {
            fail(error, path);
        }
    } catch (...) {
        ::unlink(draft->path_.c_str());
        throw;
    }
    draft->path_ = path;
    AtomicFile::syncFolder(AtomicFile::folderOf(path));
    return std::move(*draft);
}

std::vector<std::string> LockedFile::removeAbandonedDrafts(const std::string& folder) {
    std::vector<std::string> removed;
    FolderLock lock(folder);
    DIR* listing = ::opendir(folder.c_str());
    if (listing == nullptr || !lock.own()) {
        if (listing != nullptr) {
            ::closedir(listing);
        }
        return removed;
    }
    std::vector<std::string> drafts;
    while (const dirent* entry = ::readdir(listing)) {
        if (std::string_view(entry->d_name).ends_with(kDraftExtension)) {
            drafts.push_back(Paths::join(folder, entry->d_name));
        }
    }
    ::closedir(listing);
    std::sort(drafts.begin(), drafts.end());
    for (const std::string& draft : drafts) {
        if (removeUnlessHeld(draft)) {
            removed.push_back(draft);
        }
    }
    return removed;
}

bool LockedFile::removeUnlessHeld(const std::string& path) {
    std::optional<LockedFile> file;
    try {
        file = openUnlessHeld(path);
    } catch (const std::system_error&) {
        return false; // gone already, or not ours to open
    }
    if (!file || ::unlink(path.c_str()) != 0) {
        return false;
    }
    AtomicFile::syncFolder(AtomicFile::folderOf(path));
    return true;
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
    struct stat info {};
    if (::fstat(fd, &info) != 0) {
        fail(errno, path);
    }
    if (info.st_nlink == 0) {
        fail(ENOENT, path);
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
