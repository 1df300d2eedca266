#include "engine/metadata/FileHead.h"

#include "engine/filesystem/SystemErrorText.h"

#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace morvane {
namespace {

class Descriptor {
public:
    explicit Descriptor(int fd) : fd_(fd) {}
    ~Descriptor() {
        if (fd_ >= 0) {
            ::close(fd_);
        }
    }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    int get() const { return fd_; }

private:
    int fd_;
};

// Appends bytes from `offset` until `data` holds `wanted` bytes or the file
// ends; false with `problem` set when reading fails.
bool readUpTo(int fd, std::string& data, std::size_t wanted, std::string& problem) {
    std::size_t have = data.size();
    data.resize(wanted);
    while (have < wanted) {
        const ssize_t got = ::pread(fd, data.data() + have, wanted - have, static_cast<off_t>(have));
        if (got < 0) {
            if (errno == EINTR) {
                continue;
            }
            problem = systemErrorText(errno);
            return false;
        }
        if (got == 0) {
            break;
        }
        have += static_cast<std::size_t>(got);
    }
    data.resize(have);
    return true;
}

std::uint8_t byteAt(std::string_view data, std::size_t at) {
    return static_cast<std::uint8_t>(data[at]);
}

} // namespace

std::optional<std::size_t> FileHead::jpegMetadataLength(std::string_view data) {
    if (data.size() < 3 || byteAt(data, 0) != 0xFF || byteAt(data, 1) != 0xD8) {
        return std::nullopt;
    }
    std::size_t at = 2;
    while (at < data.size()) {
        if (byteAt(data, at) != 0xFF) {
            ++at; // stray bytes between segments are passed over, as readers do
            continue;
        }
        while (at < data.size() && byteAt(data, at) == 0xFF) {
            ++at; // fill bytes
        }
        if (at >= data.size()) {
            return at + 1;
        }
        const std::uint8_t marker = byteAt(data, at++);
        if (marker == 0xD9) { // end of image
            return at;
        }
        if (marker == 0x01 || (marker >= 0xD0 && marker <= 0xD7)) {
            continue; // markers without a length
        }
        if (at + 2 > data.size()) {
            return at + 2;
        }
        const std::size_t length = (std::size_t{byteAt(data, at)} << 8) | byteAt(data, at + 1);
        if (marker == 0xDA) { // start of scan: the image data follows
            return at + 2;
        }
        at += length;
    }
    return at;
}

std::optional<std::string> FileHead::read(const std::string& path, std::string& problem) {
    const Descriptor fd(::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY));
    if (fd.get() < 0) {
        problem = systemErrorText(errno);
        return std::nullopt;
    }
    struct stat status {};
    if (::fstat(fd.get(), &status) != 0) {
        problem = systemErrorText(errno);
        return std::nullopt;
    }
    if (!S_ISREG(status.st_mode)) {
        return std::nullopt;
    }
    const auto fileSize = static_cast<std::size_t>(status.st_size);
    std::string data;
    if (!readUpTo(fd.get(), data, std::min(fileSize, firstRead), problem)) {
        return std::nullopt;
    }
    std::size_t wanted = data.size();
    if (const auto jpeg = jpegMetadataLength(data)) {
        // A JPEG needs its segments only; a segment whose length points past
        // the first read is followed into the next read, up to the bound.
        std::size_t need = *jpeg;
        while (need > data.size() && data.size() < std::min(fileSize, maxJpeg)) {
            const std::size_t had = data.size();
            if (!readUpTo(fd.get(), data, std::min({need + firstRead, fileSize, maxJpeg}), problem)) {
                return std::nullopt;
            }
            if (data.size() == had) {
                break; // the file is shorter than it was a moment ago
            }
            need = *jpegMetadataLength(data);
        }
        wanted = std::min(need, data.size());
    } else if (fileSize > data.size()) {
        wanted = std::min(fileSize, maxOther);
        if (!readUpTo(fd.get(), data, wanted, problem)) {
            return std::nullopt;
        }
    }
    data.resize(std::min(wanted, data.size()));
    return data;
}

} // namespace morvane
