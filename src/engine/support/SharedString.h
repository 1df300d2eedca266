#pragma once

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <iosfwd>
#include <string>
#include <string_view>

namespace morvane {

// An immutable string that copies share: the items of one folder all hold
// its path (and its name) once, however many they are. It reads as a
// `const std::string&` wherever one is expected and offers the reading part
// of std::string's interface; copies may be made and dropped on any thread.
class SharedString {
public:
    SharedString() noexcept = default;
    SharedString(std::string text); // NOLINT(google-explicit-constructor): stands in for std::string
    SharedString(std::string_view text) : SharedString(std::string(text)) {}
    SharedString(const char* text) : SharedString(std::string(text)) {}
    SharedString(const SharedString& other) noexcept;
    SharedString(SharedString&& other) noexcept;
    SharedString& operator=(const SharedString& other) noexcept;
    SharedString& operator=(SharedString&& other) noexcept;
    ~SharedString();

    const std::string& str() const noexcept;
    operator const std::string&() const noexcept { return str(); } // NOLINT(google-explicit-constructor)
    operator std::string_view() const noexcept { return str(); }   // NOLINT(google-explicit-constructor)

    bool empty() const noexcept { return str().empty(); }
    std::size_t size() const noexcept { return str().size(); }
    const char* data() const noexcept { return str().data(); }
    const char* c_str() const noexcept { return str().c_str(); }
    char front() const { return str().front(); }
    char back() const { return str().back(); }
    bool starts_with(std::string_view prefix) const noexcept { return str().starts_with(prefix); }
    bool ends_with(std::string_view suffix) const noexcept { return str().ends_with(suffix); }
    std::size_t find(std::string_view text, std::size_t from = 0) const noexcept {
        return str().find(text, from);
    }
    std::size_t rfind(char c, std::size_t from = std::string::npos) const noexcept {
        return str().rfind(c, from);
    }
    std::string substr(std::size_t from, std::size_t count = std::string::npos) const {
        return str().substr(from, count);
    }

    friend bool operator==(const SharedString& a, const SharedString& b) noexcept {
        return a.block_ == b.block_ || a.str() == b.str();
    }
    friend bool operator==(const SharedString& a, const std::string& b) noexcept { return a.str() == b; }
    friend bool operator==(const SharedString& a, std::string_view b) noexcept { return a.str() == b; }
    friend bool operator==(const SharedString& a, const char* b) noexcept { return a.str() == b; }
    // Plain `<` rather than `<=>`: Qt's moc cannot read <compare>, and the
    // window's headers include this one.
    friend bool operator<(const SharedString& a, const SharedString& b) noexcept { return a.str() < b.str(); }

private:
    struct Block {
        std::atomic<std::uint32_t> references;
        std::string text;
    };
    void release() noexcept;

    Block* block_ = nullptr; // none: the empty string
};

std::ostream& operator<<(std::ostream& out, const SharedString& text);

} // namespace morvane

template <>
struct std::hash<morvane::SharedString> {
    std::size_t operator()(const morvane::SharedString& text) const noexcept {
        return std::hash<std::string>{}(text.str());
    }
};
