#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace morvane {

// A 128-bit identifier, written in the standard 36-character form
// (8-4-4-4-12 hexadecimal digits, upper case).
class Uuid {
public:
    Uuid() = default; // all zero
    explicit Uuid(const std::array<std::uint8_t, 16>& bytes) : bytes_(bytes) {}

    // A random (version 4) UUID drawn from the operating system's random source.
    static Uuid random();
    // Either letter case is accepted; anything but the 36-character form is not.
    static std::optional<Uuid> parse(std::string_view text);

    std::string text() const;
    // Appends text() to `out`, without a string of its own.
    void appendText(std::string& out) const;
    const std::array<std::uint8_t, 16>& bytes() const { return bytes_; }

    bool operator==(const Uuid&) const = default;

private:
    std::array<std::uint8_t, 16> bytes_{};
};

} // namespace morvane
