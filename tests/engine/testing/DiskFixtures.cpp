#include "engine/testing/DiskFixtures.h"

#include <cerrno>
#include <fcntl.h>
#include <fstream>
#include <iterator>
#include <linux/fs.h>
#include <stdexcept>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace morvane::testing {
namespace fs = std::filesystem;

TempFolder::TempFolder() {
    std::string pattern = (fs::temp_directory_path() / "morvane-test-XXXXXX").string();
    if (::mkdtemp(pattern.data()) == nullptr) {
        throw std::runtime_error("mkdtemp failed");
    }
    path_ = pattern;
}

void writeFile(const std::string& path, const std::string& contents) {
    std::ofstream(path, std::ios::binary) << contents;
}

std::string readFile(const std::string& path) {
    std::ifstream stream(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(stream), {});
}

std::map<std::string, std::string> snapshot(const std::string& folder) {
    std::map<std::string, std::string> result;
    for (const auto& entry : fs::recursive_directory_iterator(folder)) {
        std::string& value = result[entry.path().lexically_relative(folder).string()];
        if (entry.is_symlink()) {
            value = "-> " + fs::read_symlink(entry.path()).string();
        } else if (entry.is_directory()) {
            value = "<folder>";
        } else {
            value = readFile(entry.path().string());
        }
    }
    return result;
}

std::vector<std::string> namesIn(const std::string& folder) {
    std::vector<std::string> names;
    for (const auto& [name, contents] : snapshot(folder)) {
        names.push_back(name);
    }
    return names;
}

namespace {

int writeError(const std::string& folder) {
    const std::string probe = folder + "/.write-probe";
    const int fd = ::open(probe.c_str(), O_WRONLY | O_CREAT | O_EXCL, 0644);
    if (fd < 0) {
        return errno;
    }
    ::close(fd);
    ::unlink(probe.c_str());
    return 0;
}

bool setImmutable(const std::string& folder, bool on) {
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY);
    int flags = 0;
    bool done = fd >= 0 && ::ioctl(fd, FS_IOC_GETFLAGS, &flags) == 0;
    flags = on ? (flags | FS_IMMUTABLE_FL) : (flags & ~FS_IMMUTABLE_FL);
    done = done && ::ioctl(fd, FS_IOC_SETFLAGS, &flags) == 0;
    ::close(fd);
    return done;
}

} // namespace

ReadOnlyFolder::ReadOnlyFolder(std::string path) : path_(std::move(path)) {
    ::chmod(path_.c_str(), 0555);
    error_ = writeError(path_);
    if (error_ == 0) {
        ::chmod(path_.c_str(), 0755);
        immutable_ = setImmutable(path_, true);
        error_ = immutable_ ? writeError(path_) : 0;
    }
}

ReadOnlyFolder::~ReadOnlyFolder() {
    if (immutable_) {
        setImmutable(path_, false);
    }
    ::chmod(path_.c_str(), 0755);
}

} // namespace morvane::testing
