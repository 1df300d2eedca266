#include "app/model/ChangeText.h"

namespace morvane::app::ChangeText {

std::string shown(std::string_view text, NameDiff::Kind kind) {
    if (kind == NameDiff::Kind::equal || kind == NameDiff::Kind::caseChange) {
        return std::string(text);
    }
    std::string result;
    result.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == ' ') {
            result += "\u2423";
        } else if (text.substr(i).starts_with("\u00A0")) {
            result += "\u237D";
            ++i;
        } else {
            result += text[i];
        }
    }
    return result;
}

} // namespace morvane::app::ChangeText
