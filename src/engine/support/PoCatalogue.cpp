#include "engine/support/PoCatalogue.h"

#include <optional>

namespace morvane {
namespace {

std::string_view trim(std::string_view line) {
    const auto first = line.find_first_not_of(" \t\r");
    if (first == std::string_view::npos) {
        return {};
    }
    const auto last = line.find_last_not_of(" \t\r");
    return line.substr(first, last - first + 1);
}

// Reads one C-style quoted string ("...") and returns its contents, or nothing
// when the line does not hold one.
std::optional<std::string> unquote(std::string_view quoted) {
    if (quoted.size() < 2 || quoted.front() != '"' || quoted.back() != '"') {
        return std::nullopt;
    }
    std::string result;
    for (std::size_t i = 1; i + 1 < quoted.size(); ++i) {
        char c = quoted[i];
        if (c != '\\' || i + 2 >= quoted.size()) {
            result += c;
            continue;
        }
        switch (quoted[++i]) {
        case 'n':
            result += '\n';
            break;
        case 't':
            result += '\t';
            break;
        case 'r':
            result += '\r';
            break;
        case '"':
            result += '"';
            break;
        case '\\':
            result += '\\';
            break;
        default:
            result += '\\';
            result += quoted[i];
        }
    }
    return result;
}

enum class Field { none, context, id, idPlural, str, strOther };

} // namespace

PoCatalogue PoCatalogue::parse(std::string_view text) {
    PoCatalogue catalogue;
    std::string id, str;
    Field field = Field::none;
    bool fuzzy = false;
    bool pendingFuzzy = false;

    auto finish = [&] {
        if (!id.empty() && !str.empty() && !fuzzy) {
            catalogue.entries_[id] = str;
        }
        id.clear();
        str.clear();
        field = Field::none;
        fuzzy = false;
    };

    std::size_t start = 0;
    while (start <= text.size()) {
        std::size_t end = text.find('\n', start);
        if (end == std::string_view::npos) {
            end = text.size();
        }
        const std::string_view line = trim(text.substr(start, end - start));
        start = end + 1;

        if (line.empty()) {
            continue;
        }
        if (line.front() == '#') {
            if (line.starts_with("#,") && line.find("fuzzy") != std::string_view::npos) {
                pendingFuzzy = true;
            }
            continue;
        }
        auto appendTo = [&](Field target, std::string_view rest) {
            field = target;
            if (auto value = unquote(trim(rest))) {
                if (target == Field::id) {
                    id += *value;
                } else if (target == Field::str) {
                    str += *value;
                }
            }
        };
        if (line.starts_with("msgctxt") || line.starts_with("msgid ")) {
            if (field == Field::str || field == Field::strOther) {
                finish();
            }
            if (line.starts_with("msgctxt")) {
                field = Field::context;
            } else {
                fuzzy = pendingFuzzy;
                pendingFuzzy = false;
                appendTo(Field::id, line.substr(5));
            }
        } else if (line.starts_with("msgid_plural")) {
            field = Field::idPlural;
        } else if (line.starts_with("msgstr[0]")) {
            appendTo(Field::str, line.substr(9));
        } else if (line.starts_with("msgstr[")) {
            field = Field::strOther;
        } else if (line.starts_with("msgstr")) {
            appendTo(Field::str, line.substr(6));
        } else if (line.front() == '"') {
            appendTo(field, line);
        }
        if (end == text.size()) {
            break;
        }
    }
    finish();
    return catalogue;
}

void PoCatalogue::merge(const PoCatalogue& other) {
    for (const auto& [key, value] : other.entries_) {
        entries_[key] = value;
    }
}

const std::string* PoCatalogue::find(std::string_view key) const {
    const auto found = entries_.find(key);
    return found == entries_.end() ? nullptr : &found->second;
}

} // namespace morvane
