#pragma once

#include <string>
#include <string_view>

namespace morvane {

// A name split into base name and extension, the form rules work on.
struct FileName {
    std::string stem;
    std::string ext;

    // Splits at the last "." that is neither the first nor the last character,
    // so ".bashrc" and "notes." have no extension. Folders split the same way.
    static FileName parsing(std::string_view name);

    // The stem, plus "." and the extension when there is one.
    std::string full() const;

    bool operator==(const FileName&) const = default;
};

} // namespace morvane
