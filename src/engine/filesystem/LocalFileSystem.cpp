#include "engine/filesystem/LocalFileSystem.h"

#include "engine/filesystem/FileSystemError.h"
#include "engine/filesystem/NoReplaceMove.h"
#include "engine/filesystem/SystemErrorText.h"
#include "engine/filesystem/VolumeCaseSensitivity.h"
#include "engine/support/Localization.h"
#include "engine/support/Paths.h"

#include <cerrno>
#include <chrono>
#include <climits>
#include <cstdlib>
#include <dirent.h>
#include <fcntl.h>
#include <memory>
#include <sys/stat.h>
#include <unistd.h>

namespace morvane {
namespace {

// A path with a NUL byte would be cut short by the system and name another file.
bool isUsable(const std::string& path) {
    return !path.empty() && path.find('\0') == std::string::npos;
}

Date dateOf(const statx_timestamp& stamp) {
    return Date(std::chrono::duration_cast<Date::duration>(std::chrono::seconds(stamp.tv_sec) +
                                                           std::chrono::nanoseconds(stamp.tv_nsec)));
}

Date dateOf(const timespec& stamp) {
    return Date(std::chrono::duration_cast<Date::duration>(std::chrono::seconds(stamp.tv_sec) +
                                                           std::chrono::nanoseconds(stamp.tv_nsec)));
}

bool targetIsDirectory(int directoryFd, const char* name) {
    struct stat target {};
    return ::fstatat(directoryFd, name, &target, 0) == 0 && S_ISDIR(target.st_mode);
}

// Kernels or sandboxes without statx: the same values, without a birth time.
FSEntry entryFromStat(int directoryFd, const char* name) {
    struct stat info {};
    if (::fstatat(directoryFd, name, &info, AT_SYMLINK_NOFOLLOW) != 0) {
        return FSEntry(name, false, false, false, false, std::nullopt, Date{}, Date{}, 0);
    }
    const bool isLink = S_ISLNK(info.st_mode);
    const bool isDirectory = S_ISDIR(info.st_mode);
    return FSEntry(name, isDirectory, isLink, isLink && targetIsDirectory(directoryFd, name), false,
                   std::nullopt, Date{}, dateOf(info.st_mtim), isDirectory ? 0 : info.st_size);
}

// One listed name; values that cannot be read take their fallbacks, so one
// unreadable entry never fails the listing.
FSEntry entryFor(int directoryFd, const char* name) {
    struct statx info {};
    const unsigned mask = STATX_TYPE | STATX_SIZE | STATX_MTIME | STATX_BTIME;
    if (::statx(directoryFd, name, AT_SYMLINK_NOFOLLOW | AT_NO_AUTOMOUNT, mask, &info) != 0) {
        if (errno == ENOSYS || errno == EPERM) {
            return entryFromStat(directoryFd, name);
        }
        return FSEntry(name, false, false, false, false, std::nullopt, Date{}, Date{}, 0);
    }
    const bool isLink = S_ISLNK(info.stx_mode);
    const bool isDirectory = S_ISDIR(info.stx_mode);
    const Date created = (info.stx_mask & STATX_BTIME) != 0 ? dateOf(info.stx_btime) : Date{};
    const Date modified = (info.stx_mask & STATX_MTIME) != 0 ? dateOf(info.stx_mtime) : Date{};
    const auto size =
        isDirectory || (info.stx_mask & STATX_SIZE) == 0 ? 0 : static_cast<std::int64_t>(info.stx_size);
    return FSEntry(name, isDirectory, isLink, isLink && targetIsDirectory(directoryFd, name), false,
                   std::nullopt, created, modified, size);
}

// The kind of entry from the listing alone, where the file system says it;
// only links (for their target) and unknown kinds need a look at the entry.
FSEntry kindOnlyEntry(int directoryFd, const dirent& entry) {
    switch (entry.d_type) {
    case DT_REG:
        return FSEntry(entry.d_name, false, false, false, false, std::nullopt, Date{}, Date{}, 0);
    case DT_DIR:
        return FSEntry(entry.d_name, true, false, false, false, std::nullopt, Date{}, Date{}, 0);
    case DT_LNK:
        return FSEntry(entry.d_name, false, true, targetIsDirectory(directoryFd, entry.d_name), false,
                       std::nullopt, Date{}, Date{}, 0);
    default: {
        FSEntry full = entryFor(directoryFd, entry.d_name);
        full.created = full.modified = Date{};
        full.size = 0;
        return full;
    }
    }
}

[[noreturn]] void throwUnreadable(const std::string& directory, int error) {
    throw FileSystemError::failed(localized("\u201C%@\u201D could not be read: %@",
                                            Paths::lastComponent(directory), systemErrorText(error)));
}

FileIdentity identityOf(const struct stat& info) {
    return FileIdentity{static_cast<std::uint64_t>(info.st_dev), static_cast<std::uint64_t>(info.st_ino)};
}

std::optional<FileIdentity> identityAt(int directoryFd, const char* name) {
    struct stat info {};
    if (::fstatat(directoryFd, name, &info, AT_SYMLINK_NOFOLLOW) != 0) {
        return std::nullopt;
    }
    return identityOf(info);
}

struct DirectoryCloser {
    void operator()(DIR* directory) const { ::closedir(directory); }
};

// A failed move as the contract words it: the system checks source and
// target inside the one call; these checks only choose the error to report,
// in the contract's order.
[[noreturn]] void throwMoveError(int error, const std::string& from, const std::string& to, bool fromExists,
                                 bool toExists) {
    if (!fromExists) {
        throw FileSystemError::notFound(from);
    }
    if (error == EEXIST || toExists) {
        throw FileSystemError::alreadyExists(to);
    }
    throw FileSystemError::failed(localized("\u201C%@\u201D could not be renamed: %@",
                                            Paths::lastComponent(from), systemErrorText(error)));
}

// A folder held open by a descriptor: its entries are checked and moved by
// name, without the system walking the whole path each time.
class OpenFolder : public FileSystem::Folder {
public:
    OpenFolder(int fd, std::string directory) : fd_(fd), directory_(std::move(directory)) {}
    ~OpenFolder() override { ::close(fd_); }
    OpenFolder(const OpenFolder&) = delete;
    OpenFolder& operator=(const OpenFolder&) = delete;

    bool exists(std::string_view name) const override {
        struct stat info {};
        return isUsable(name) && ::fstatat(fd_, std::string(name).c_str(), &info, AT_SYMLINK_NOFOLLOW) == 0;
    }

    std::optional<FileIdentity> identity(std::string_view name) const override {
        if (!isUsable(name)) {
            return std::nullopt;
        }
        return identityAt(fd_, std::string(name).c_str());
    }

    void move(std::string_view from, std::string_view to) override {
        // Kept from one move to the next: a large batch would otherwise make
        // and free two strings per move.
        from_.assign(from);
        to_.assign(to);
        const int error = isUsable(from) && isUsable(to)
                              ? posix::moveWithoutReplacingAt(fd_, from_.c_str(), to_.c_str())
                              : EINVAL;
        if (error != 0) {
            throwMoveError(error, Paths::join(directory_, from), Paths::join(directory_, to), exists(from),
                           exists(to));
        }
    }

private:
    static bool isUsable(std::string_view name) {
        return !name.empty() && name.find('\0') == std::string_view::npos;
    }

    int fd_;
    std::string directory_;
    std::string from_;
    std::string to_;
};

} // namespace

bool LocalFileSystem::exists(const std::string& path) const {
    struct stat info {};
    return isUsable(path) && ::fstatat(AT_FDCWD, path.c_str(), &info, AT_SYMLINK_NOFOLLOW) == 0;
}

void LocalFileSystem::move(const std::string& from, const std::string& to) {
    const int error =
        isUsable(from) && isUsable(to) ? posix::moveWithoutReplacing(from.c_str(), to.c_str()) : EINVAL;
    if (error != 0) {
        throwMoveError(error, from, to, exists(from), exists(to));
    }
}

std::unique_ptr<FileSystem::Folder> LocalFileSystem::folder(const std::string& directory) {
    const int fd = isUsable(directory) ? ::open(directory.c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC) : -1;
    if (fd < 0) {
        // Moves by path then report what is wrong with the folder, as moves always have.
        return FileSystem::folder(directory);
    }
    return std::make_unique<OpenFolder>(fd, directory);
}

// Calls `visit(fd, entry)` for every entry of the folder but "." and "..",
// until it returns false. Throws when the folder cannot be listed.
template <typename Visit>
void listFolder(const std::string& directory, Visit visit) {
    if (!isUsable(directory)) {
        throwUnreadable(directory, EINVAL);
    }
    std::unique_ptr<DIR, DirectoryCloser> listing(::opendir(directory.c_str()));
    if (!listing) {
        throwUnreadable(directory, errno);
    }
    const int fd = ::dirfd(listing.get());
    for (;;) {
        errno = 0;
        const dirent* entry = ::readdir(listing.get());
        if (entry == nullptr) {
            if (errno != 0) {
                throwUnreadable(directory, errno);
            }
            return;
        }
        const std::string_view name(entry->d_name);
        if (name != "." && name != ".." && !visit(fd, *entry)) {
            return;
        }
    }
}

std::vector<FSEntry> LocalFileSystem::entries(const std::string& directory) const {
    std::vector<FSEntry> result;
    listFolder(directory, [&](int fd, const dirent& entry) {
        result.push_back(details_ == Details::all ? entryFor(fd, entry.d_name) : kindOnlyEntry(fd, entry));
        return true;
    });
    return result;
}

std::optional<std::vector<std::string>> LocalFileSystem::names(const std::string& directory,
                                                               std::size_t limit) const {
    std::vector<std::string> result;
    bool isOverLimit = false;
    listFolder(directory, [&](int, const dirent& entry) {
        isOverLimit = result.size() == limit;
        if (!isOverLimit) {
            result.emplace_back(entry.d_name);
        }
        return !isOverLimit;
    });
    if (isOverLimit) {
        return std::nullopt;
    }
    return result;
}

std::optional<FileIdentity> LocalFileSystem::identity(const std::string& path) const {
    if (!isUsable(path)) {
        return std::nullopt;
    }
    return identityAt(AT_FDCWD, path.c_str());
}

std::optional<std::vector<IdentifiedName>> LocalFileSystem::identities(const std::string& directory,
                                                                       std::size_t limit) const {
    std::vector<IdentifiedName> result;
    bool isOverLimit = false;
    std::optional<std::uint64_t> device;
    listFolder(directory, [&](int fd, const dirent& entry) {
        isOverLimit = result.size() == limit;
        if (isOverLimit) {
            return false;
        }
        if (!device) {
            struct stat folder {};
            if (::fstat(fd, &folder) != 0) {
                throwUnreadable(directory, errno);
            }
            device = static_cast<std::uint64_t>(folder.st_dev);
        }
        // The listing's number is the entry's own, on the folder's volume,
        // except for a folder that another volume is mounted on: folders
        // (and entries of unknown kind) are asked after one by one.
        std::optional<FileIdentity> identity;
        if (entry.d_type == DT_DIR || entry.d_type == DT_UNKNOWN) {
            identity = identityAt(fd, entry.d_name);
        } else {
            identity = FileIdentity{*device, static_cast<std::uint64_t>(entry.d_ino)};
        }
        if (identity) { // gone meanwhile otherwise
            result.push_back({entry.d_name, *identity});
        }
        return true;
    });
    if (isOverLimit) {
        return std::nullopt;
    }
    return result;
}

std::string LocalFileSystem::canonicalPath(const std::string& path) const {
    if (!isUsable(path)) {
        return path;
    }
    std::unique_ptr<char, decltype(&std::free)> resolved(::realpath(path.c_str(), nullptr), &std::free);
    return resolved ? std::string(resolved.get()) : path;
}

bool LocalFileSystem::isCaseSensitive(const std::string& directory) const {
    return isUsable(directory) && volumeIsCaseSensitive(directory);
}

} // namespace morvane
