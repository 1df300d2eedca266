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

} // namespace

int renameNoReplace(const char* from, const char* to) {
#if defined(__GLIBC__) && (__GLIBC__ > 2 || (__GLIBC__ == 2 && __GLIBC_MINOR__ >= 28))
    return errorOf(::renameat2(AT_FDCWD, from, AT_FDCWD, to, RENAME_NOREPLACE));
#elif defined(SYS_renameat2)
    return errorOf(
        static_cast<int>(::syscall(SYS_renameat2, AT_FDCWD, from, AT_FDCWD, to, RENAME_NOREPLACE)));
#else
    (void)from;
    (void)to;
    return ENOSYS;
#endif
}

int moveByLinking(const char* from, const char* to) {
    if (::link(from, to) != 0) {
        return errno;
    }
    if (::unlink(from) != 0) {
        const int error = errno;
        ::unlink(to); // leave only the original name, as before
        return error;
    }
    return 0;
}

int moveAfterCheck(const char* from, const char* to) {
    struct stat target {};
    if (::lstat(to, &target) == 0) {
        return EEXIST;
    }
    if (errno != ENOENT) {
        return errno;
    }
    return errorOf(::rename(from, to));
}

int moveWithoutReplacing(const char* from, const char* to) {
    const int error = renameNoReplace(from, to);
    if (!refusesFlag(error)) {
        return error;
    }
    struct stat source {};
    if (::lstat(from, &source) != 0) {
        return errno;
    }
    if (!S_ISDIR(source.st_mode)) {
        const int linked = moveByLinking(from, to);
        if (!linkUnsupported(linked)) {
            return linked;
        }
    }
    return moveAfterCheck(from, to);
}

} // namespace morvane::posix
