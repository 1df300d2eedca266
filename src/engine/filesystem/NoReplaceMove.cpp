#include "engine/filesystem/NoReplaceMove.h"

#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <unistd.h>

#ifndef RENAME_NOREPLACE
#define RENAME_NOREPLACE (1 << 0)
#endif

namespace morvane::posix {
namespace {

int errorOf(int result) {
    return result == 0 ? 0 : errno;
}

bool refusesFlag(int error) {
    return error == EINVAL || error == ENOSYS;
}

// Errors by which link() says "this volume has no hard links", as opposed to
// an answer about the names themselves.
bool linkUnsupported(int error) {
    return error == EPERM || error == EOPNOTSUPP || error == ENOTSUP || error == EMLINK || error == ENOSYS;
}

// Each move between `from` in the folder `fromDir` and `to` in `toDir`
// (AT_FDCWD: paths).
int renameNoReplaceAt(int fromDir, const char* from, int toDir, const char* to) {
#if defined(__GLIBC__) && (__GLIBC__ > 2 || (__GLIBC__ == 2 && __GLIBC_MINOR__ >= 28))
    return errorOf(::renameat2(fromDir, from, toDir, to, RENAME_NOREPLACE));
#elif defined(SYS_renameat2)
    return errorOf(static_cast<int>(::syscall(SYS_renameat2, fromDir, from, toDir, to, RENAME_NOREPLACE)));
#else
    (void)fromDir;
    (void)from;
    (void)toDir;
    (void)to;
    return ENOSYS;
#endif
}

int moveByLinkingAt(int fromDir, const char* from, int toDir, const char* to) {
    if (::linkat(fromDir, from, toDir, to, 0) != 0) {
        return errno;
    }
    if (::unlinkat(fromDir, from, 0) != 0) {
        const int error = errno;
        ::unlinkat(toDir, to, 0); // leave only the original name, as before
        return error;
    }
    return 0;
}

int moveAfterCheckAt(int fromDir, const char* from, int toDir, const char* to) {
    struct stat target {};
    if (::fstatat(toDir, to, &target, AT_SYMLINK_NOFOLLOW) == 0) {
        return EEXIST;
    }
    if (errno != ENOENT) {
        return errno;
    }
    return errorOf(::renameat(fromDir, from, toDir, to));
}

int moveBetween(int fromDir, const char* from, int toDir, const char* to) {
    const int error = renameNoReplaceAt(fromDir, from, toDir, to);
    if (!refusesFlag(error)) {
        return error;
    }
    struct stat source {};
    if (::fstatat(fromDir, from, &source, AT_SYMLINK_NOFOLLOW) != 0) {
        return errno;
    }
    if (!S_ISDIR(source.st_mode)) {
        const int linked = moveByLinkingAt(fromDir, from, toDir, to);
        if (!linkUnsupported(linked)) {
            return linked;
        }
    }
    return moveAfterCheckAt(fromDir, from, toDir, to);
}

} // namespace

int renameNoReplace(const char* from, const char* to) {
    return renameNoReplaceAt(AT_FDCWD, from, AT_FDCWD, to);
}

int moveByLinking(const char* from, const char* to) {
    return moveByLinkingAt(AT_FDCWD, from, AT_FDCWD, to);
}

int moveAfterCheck(const char* from, const char* to) {
    return moveAfterCheckAt(AT_FDCWD, from, AT_FDCWD, to);
}

int moveWithoutReplacing(const char* from, const char* to) {
    return moveBetween(AT_FDCWD, from, AT_FDCWD, to);
}

int moveWithoutReplacingAt(int directory, const char* from, const char* to) {
    return moveBetween(directory, from, directory, to);
}

} // namespace morvane::posix
