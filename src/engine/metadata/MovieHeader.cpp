#include "engine/metadata/MovieHeader.h"

#include "engine/metadata/CaptureDateText.h"

#include <array>
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace morvane {
namespace {

std::uint64_t bigEndian(std::string_view bytes, std::size_t at, std::size_t count) {
    std::uint64_t value = 0;
    for (std::size_t i = 0; i < count; ++i) {
        value = (value << 8) | static_cast<std::uint8_t>(bytes[at + i]);
    }
    return value;
}

struct Box {
    std::string type;
    std::uint64_t offset = 0; // of its contents
    std::uint64_t length = 0; // of its contents
};

// The box whose header starts at `offset` in a space ending at `end`;
// nothing when the header does not fit or claims more than there is.
std::optional<Box> boxAt(std::string_view header, std::uint64_t offset, std::uint64_t end) {
    if (header.size() < 8) {
        return std::nullopt;
    }
    std::uint64_t size = bigEndian(header, 0, 4);
    std::uint64_t headerLength = 8;
    if (size == 1) { // the size follows as 64 bits
        if (header.size() < 16) {
            return std::nullopt;
        }
        size = bigEndian(header, 8, 8);
        headerLength = 16;
    } else if (size == 0) { // to the end
        size = end - offset;
    }
    if (size < headerLength || size > end - offset) {
        return std::nullopt;
    }
    return Box{std::string(header.substr(4, 4)), offset + headerLength, size - headerLength};
}

// The movie header's creation time: version 0 holds it in 32 bits, version
// 1 in 64, either as seconds since 1904 in UTC.
std::optional<CaptureDate> fromMovieHeader(std::string_view contents) {
    if (contents.size() < 8) {
        return std::nullopt;
    }
    const auto version = static_cast<std::uint8_t>(contents[0]);
    if (version == 1 && contents.size() >= 12) {
        return CaptureDateText::fromQuickTime(bigEndian(contents, 4, 8));
    }
    return version == 0 ? CaptureDateText::fromQuickTime(bigEndian(contents, 4, 4)) : std::nullopt;
}

} // namespace

bool MovieHeader::looksLikeMovie(std::string_view head) {
    static constexpr std::array<std::string_view, 6> firstTypes{"ftyp", "moov", "mdat",
                                                                "wide", "free", "skip"};
    if (head.size() < 8) {
        return false;
    }
    const std::string_view type = head.substr(4, 4);
    for (const std::string_view first : firstTypes) {
        if (type == first) {
            return true;
        }
    }
    return false;
}

std::optional<CaptureDate> MovieHeader::creationTime(std::uint64_t size, const ReadAt& read) {
    std::uint64_t offset = 0;
    for (int count = 0; count < maxBoxes && offset + 8 <= size; ++count) {
        const auto box = boxAt(read(offset, 16), offset, size);
        if (!box) {
            return std::nullopt;
        }
        if (box->type == "moov") {
            if (box->length > maxMovieBox) {
                return std::nullopt;
            }
            const std::string movie = read(box->offset, static_cast<std::size_t>(box->length));
            // The movie box's own boxes, the header among them.
            std::uint64_t inner = 0;
            while (inner + 8 <= movie.size()) {
                const auto child = boxAt(std::string_view(movie).substr(inner, 16), inner, movie.size());
                if (!child) {
                    return std::nullopt;
                }
                if (child->type == "mvhd") {
                    return fromMovieHeader(std::string_view(movie).substr(
                        child->offset, static_cast<std::size_t>(child->length)));
                }
                inner = child->offset + child->length;
            }
            return std::nullopt;
        }
        offset = box->offset + box->length;
    }
    return std::nullopt;
}

std::optional<CaptureDate> MovieHeader::creationTime(const std::string& path) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    if (fd < 0) {
        return std::nullopt;
    }
    std::optional<CaptureDate> result;
    struct stat status {};
    if (::fstat(fd, &status) == 0 && S_ISREG(status.st_mode)) {
        result = creationTime(
            static_cast<std::uint64_t>(status.st_size), [fd](std::uint64_t offset, std::size_t length) {
                std::string bytes(length, '\0');
                std::size_t have = 0;
                while (have < length) {
                    const ssize_t got =
                        ::pread(fd, bytes.data() + have, length - have, static_cast<off_t>(offset + have));
                    if (got < 0 && errno == EINTR) {
                        continue;
                    }
                    if (got <= 0) {
                        break;
                    }
                    have += static_cast<std::size_t>(got);
                }
                bytes.resize(have);
                return bytes;
            });
    }
    ::close(fd);
    return result;
}

} // namespace morvane
