#include "engine/core/FileName.h"

#include "engine/support/Unicode.h"

namespace morvane {

FileName FileName::parsing(std::string_view name) {
    std::size_t dot = std::string_view::npos;
    bool dotIsLast = false;
    if (unicode::isSimpleAscii(name)) {
        dot = name.rfind('.');
        dotIsLast = dot == name.size() - 1;
    } else {
        // A "." carrying a combining mark is another character, not a separator.
        const auto characters = unicode::graphemes(name);
        for (std::size_t i = characters.size(); i-- > 0;) {
            if (characters[i] == ".") {
                dot = static_cast<std::size_t>(characters[i].data() - name.data());
                dotIsLast = i == characters.size() - 1;
                break;
            }
        }
    }
    if (dot == std::string_view::npos || dot == 0 || dotIsLast) {
        return FileName{std::string(name), {}};
    }
    return FileName{std::string(name.substr(0, dot)), std::string(name.substr(dot + 1))};
}

std::string FileName::full() const {
    if (ext.empty()) {
        return stem;
    }
    std::string result;
    result.reserve(stem.size() + 1 + ext.size());
    result.append(stem).append(".").append(ext);
    return result;
}

} // namespace morvane
