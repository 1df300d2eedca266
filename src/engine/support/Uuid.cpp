#include "engine/support/Uuid.h"

#include <cerrno>
#include <cstring>
#include <pthread.h>
#include <sys/random.h>
#include <system_error>

namespace morvane {
namespace {

constexpr std::array<std::size_t, 4> kHyphens{8, 13, 18, 23};

bool isHyphenPosition(std::size_t position) {
    for (const std::size_t hyphen : kHyphens) {
        if (hyphen == position) {
            return true;
        }
    }
    return false;
}

int hexValue(char c) {
    if (c >= '0' && c <= '9') {
        return c - '0';
    }
    if (c >= 'a' && c <= 'f') {
        return c - 'a' + 10;
    }
    if (c >= 'A' && c <= 'F') {
        return c - 'A' + 10;
    }
    return -1;
}

void fillRandom(std::uint8_t* buffer, std::size_t length) {
    std::size_t filled = 0;
    while (filled < length) {
        const ssize_t got = getrandom(buffer + filled, length - filled, 0);
        if (got < 0) {
            if (errno == EINTR) {
                continue;
            }
            throw std::system_error(errno, std::generic_category(), "getrandom");
        }
        filled += static_cast<std::size_t>(got);
    }
}

// The kernel's random bytes, fetched a few kilobytes at a time: a large batch
// needs tens of thousands of temporary names, and a system call for each cost
// more than everything else about them. One pool per thread, so no locking.
struct RandomPool {
    std::array<std::uint8_t, 4096> bytes{};
    std::size_t used = bytes.size();
};

thread_local RandomPool pool;

// A forked child would otherwise hand out the very UUIDs its parent is about
// to. The handler runs in the child's only thread, the one that forked.
void discardPoolInChild() {
    pool.used = pool.bytes.size();
}

void takeRandom(std::uint8_t* out, std::size_t length) {
    static const bool forkAware = pthread_atfork(nullptr, nullptr, &discardPoolInChild) == 0;
    if (!forkAware) {
        fillRandom(out, length);
        return;
    }
    if (pool.used + length > pool.bytes.size()) {
        fillRandom(pool.bytes.data(), pool.bytes.size());
        pool.used = 0;
    }
    std::memcpy(out, pool.bytes.data() + pool.used, length);
    pool.used += length;
}

} // namespace

Uuid Uuid::random() {
    std::array<std::uint8_t, 16> bytes{};
    takeRandom(bytes.data(), bytes.size());
    bytes[6] = static_cast<std::uint8_t>((bytes[6] & 0x0F) | 0x40); // version 4
    bytes[8] = static_cast<std::uint8_t>((bytes[8] & 0x3F) | 0x80); // RFC 4122 variant
    return Uuid(bytes);
}

std::optional<Uuid> Uuid::parse(std::string_view text) {
    if (text.size() != 36) {
        return std::nullopt;
    }
    std::array<std::uint8_t, 16> bytes{};
    std::size_t nibble = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (isHyphenPosition(i)) {
            if (text[i] != '-') {
                return std::nullopt;
            }
            continue;
        }
        const int value = hexValue(text[i]);
        if (value < 0) {
            return std::nullopt;
        }
        bytes[nibble / 2] =
            static_cast<std::uint8_t>(bytes[nibble / 2] | (value << (nibble % 2 == 0 ? 4 : 0)));
        ++nibble;
    }
    return Uuid(bytes);
}

std::string Uuid::text() const {
    std::string result;
    appendText(result);
    return result;
}

void Uuid::appendText(std::string& out) const {
    static constexpr char kDigits[] = "0123456789ABCDEF";
    // Where each byte's two digits go: the groups are 4, 2, 2, 2 and 6 bytes.
    static constexpr std::array<std::uint8_t, 16> kAt{0,  2,  4,  6,  9,  11, 14, 16,
                                                      19, 21, 24, 26, 28, 30, 32, 34};
    char text[36];
    for (const std::size_t hyphen : kHyphens) {
        text[hyphen] = '-';
    }
    for (std::size_t i = 0; i < bytes_.size(); ++i) {
        text[kAt[i]] = kDigits[bytes_[i] >> 4];
        text[kAt[i] + 1] = kDigits[bytes_[i] & 0x0F];
    }
    out.append(text, sizeof text);
}

} // namespace morvane
