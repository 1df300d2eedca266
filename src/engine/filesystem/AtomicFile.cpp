#include "engine/filesystem/AtomicFile.h"

#include "engine/support/Paths.h"
#include "engine/support/Uuid.h"

#include <cerrno>
#include <fcntl.h>
#include <system_error>
#include <unistd.h>

namespace morvane {
namespace {

[[noreturn]] void fail(int error, const std::string& path) {
    throw std::system_error(error, std::generic_category(), path);
}

// 0, or the error number of the failure.
int writeAll(int fd, std::string_view contents) {
    while (!contents.empty()) {
        const ssize_t written = ::write(fd, contents.data(), contents.size());
        if (written < 0) {
            if (errno == EINTR) {
                continue;
            }
            return errno;
        }
        contents.remove_prefix(static_cast<std::size_t>(written));
    }
    return 0;
}

} // namespace

AtomicFile::AtomicFile(std::string path, std::string temporary)
    : path_(std::move(path)), temporary_(std::move(temporary)) {
    // A name of its own, not one made from the destination's: any name the
    // folder takes must be writable, however close to the length limit.
    if (temporary_.empty()) {
        temporary_ = Paths::join(folderOf(path_), ".morvane-save-" + Uuid::random().text() + ".tmp");
    }
    fd_ = ::open(temporary_.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
    if (fd_ < 0) {
        const int error = errno;
        temporary_.clear(); // not ours to remove
        fail(error, path_);
    }
}

AtomicFile::~AtomicFile() {
    abandon();
}

void AtomicFile::append(std::string_view contents) {
    if (const int error = writeAll(fd_, contents)) {
        abandon();
        fail(error, path_);
    }
}

void AtomicFile::flush() {
    if (!flushed_ && ::fsync(fd_) != 0) {
        const int error = errno;
        abandon();
        fail(error, path_);
    }
    flushed_ = true;
}

void AtomicFile::commit() {
    flush();
    const int closed = ::close(fd_);
    const int closeError = closed != 0 ? errno : 0;
    fd_ = -1;
    if (closeError != 0) {
        ::unlink(temporary_.c_str());
        fail(closeError, path_);
    }
    if (::rename(temporary_.c_str(), path_.c_str()) != 0) {
        const int error = errno;
        ::unlink(temporary_.c_str());
        fail(error, path_);
    }
    temporary_.clear();
    syncFolder(folderOf(path_));
}

void AtomicFile::abandon() noexcept {
    if (fd_ >= 0) {
        ::close(fd_);
        fd_ = -1;
    }
    if (!temporary_.empty()) {
        ::unlink(temporary_.c_str());
        temporary_.clear();
    }
}

void AtomicFile::write(const std::string& path, std::string_view contents) {
    AtomicFile file(path);
    file.append(contents);
    file.commit();
}

std::string AtomicFile::folderOf(const std::string& path) {
    const auto slash = path.rfind('/');
    if (slash == std::string::npos) {
        return ".";
    }
    return slash == 0 ? "/" : path.substr(0, slash);
}

void AtomicFile::syncFolder(const std::string& folder) {
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

} // namespace morvane
