#pragma once

#include <cstdint>
#include <exception>
#include <string>

namespace morvane {

// A preset file written by a newer version of the program, in a format this
// version cannot read without misreading it.
class PresetError : public std::exception {
public:
    enum class Kind { unsupportedFormat };

    static PresetError unsupportedFormat(std::int64_t format) {
        return PresetError(Kind::unsupportedFormat, format);
    }

    Kind kind() const { return kind_; }
    std::int64_t format() const { return format_; }
    const char* what() const noexcept override { return message_.c_str(); }

    bool operator==(const PresetError& other) const {
        return kind_ == other.kind_ && format_ == other.format_;
    }

private:
    PresetError(Kind kind, std::int64_t format);

    Kind kind_;
    std::int64_t format_;
    std::string message_;
};

} // namespace morvane
