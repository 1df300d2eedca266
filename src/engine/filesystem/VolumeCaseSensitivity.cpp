#include "engine/filesystem/VolumeCaseSensitivity.h"

#include <array>
#include <cerrno>
#include <cstdint>
#include <dirent.h>
#include <fcntl.h>
#include <linux/fs.h>
#include <optional>
#include <string>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <sys/vfs.h>
#include <unistd.h>

#ifndef FS_CASEFOLD_FL
#define FS_CASEFOLD_FL 0x40000000
#endif

namespace morvane {
namespace {

// Magic numbers of statfs(2). FAT, exFAT, NTFS and SMB shares compare names
// without case; the others compare them exactly (unless a folder is
// casefolded, which the attribute check catches first).
constexpr std::array<std::int64_t, 5> kCaseInsensitiveTypes{
    0x4d44,     // FAT
    0x2011BAB0, // exFAT
    0x5346544e, // NTFS (ntfs3 and the old driver)
    0xFF534D42, // CIFS
    0xFE534D42, // SMB2
};
constexpr std::array<std::int64_t, 11> kCaseSensitiveTypes{
    0xEF53,     // ext2, ext3, ext4
    0x58465342, // XFS
    0x9123683E, // Btrfs
    0x01021994, // tmpfs
    0x2FC12FC1, // ZFS
    0xF2F52010, // F2FS
    0xCA451A4E, // bcachefs
    0x794C7630, // overlayfs
    0x6969,     // NFS
    0x52654973, // ReiserFS
    0x3153464A, // JFS
};

template <std::size_t N>
bool contains(const std::array<std::int64_t, N>& types, std::int64_t type) {
    for (const auto known : types) {
        if (known == type) {
            return true;
        }
    }
    return false;
}

bool swapAsciiCase(std::string& name) {
    bool changed = false;
    for (char& c : name) {
        if (c >= 'a' && c <= 'z') {
            c = static_cast<char>(c - 'a' + 'A');
            changed = true;
        } else if (c >= 'A' && c <= 'Z') {
            c = static_cast<char>(c - 'A' + 'a');
            changed = true;
        }
    }
    return changed;
}

bool answerFromAttributes(int directoryFd) {
    int flags = 0;
    if (::ioctl(directoryFd, FS_IOC_GETFLAGS, &flags) == 0 && (flags & FS_CASEFOLD_FL) != 0) {
        return false;
    }
    struct statfs volume {};
    if (::fstatfs(directoryFd, &volume) != 0) {
        return false;
    }
    const auto type = static_cast<std::int64_t>(static_cast<std::uint32_t>(volume.f_type));
    if (contains(kCaseInsensitiveTypes, type)) {
        return false;
    }
    return contains(kCaseSensitiveTypes, type);
}

// No value when the folder holds no name with an ASCII letter to swap.
std::optional<bool> probeCaseSensitivity(int directoryFd) {
    const int listingFd = ::openat(directoryFd, ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (listingFd < 0) {
        return std::nullopt;
    }
    DIR* listing = ::fdopendir(listingFd);
    if (listing == nullptr) {
        ::close(listingFd);
        return std::nullopt;
    }
    std::optional<bool> answer;
    while (const dirent* entry = ::readdir(listing)) {
        std::string swapped(entry->d_name);
        if (swapped == "." || swapped == ".." || !swapAsciiCase(swapped)) {
            continue;
        }
        struct stat original {};
        struct stat other {};
        if (::fstatat(directoryFd, entry->d_name, &original, AT_SYMLINK_NOFOLLOW) != 0) {
            continue; // gone meanwhile: try another
        }
        if (::fstatat(directoryFd, swapped.c_str(), &other, AT_SYMLINK_NOFOLLOW) != 0) {
            if (errno != ENOENT) {
                continue;
            }
            answer = true;
        } else {
            answer = original.st_dev != other.st_dev || original.st_ino != other.st_ino;
        }
        break;
    }
    ::closedir(listing);
    return answer;
}

} // namespace

bool volumeIsCaseSensitive(const std::string& directory) {
    const int fd = ::open(directory.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) {
        return false;
    }
    const auto probed = probeCaseSensitivity(fd);
    const bool answer = probed ? *probed : answerFromAttributes(fd);
    ::close(fd);
    return answer;
}

} // namespace morvane
