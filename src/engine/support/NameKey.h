#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

namespace morvane {

// The one answer to "are these the same name in a folder?": two names with
// equal keys denote one entry. A key is the name in canonical composition
// (NFC), so precomposed and decomposed accents meet, and, where letter case
// does not tell names apart, lower-cased one character at a time: without the
// context rules of running text, "Σ" becomes "σ" wherever it stands, the way a
// case-insensitive volume compares names. The plan always ignores letter case,
// whatever the volume; the file systems, the move planner and undo ask the
// volume.
class NameKey {
public:
    NameKey() = default;
    NameKey(std::string_view name, bool caseSensitive);

    const std::string& text() const { return text_; }
    bool isCaseSensitive() const { return caseSensitive_; }

    // Whether `name` has this key; an ASCII name is compared without building
    // its key.
    bool isKeyOf(std::string_view name) const;

    // Whether two names have one key, and a hash of a name's key: for ASCII
    // names, without building any key, which matters when every item of a
    // large list is keyed.
    static bool haveOneKey(std::string_view a, std::string_view b, bool caseSensitive);
    static std::uint64_t hashOf(std::string_view name, bool caseSensitive);

    bool operator==(const NameKey&) const = default;

private:
    std::string text_;
    bool caseSensitive_ = true;
};

} // namespace morvane

template <>
struct std::hash<morvane::NameKey> {
    std::size_t operator()(const morvane::NameKey& key) const noexcept {
        return std::hash<std::string>{}(key.text());
    }
};
