#include "engine/support/PoCatalogue.h"

#include <algorithm>
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

enum class Field { none, context, id, idPlural, str };

// The value of the "Plural-Forms:" line of a catalogue's header entry.
std::string_view pluralFormsOf(std::string_view header) {
    constexpr std::string_view kName = "Plural-Forms:";
    const auto at = header.find(kName);
    if (at == std::string_view::npos) {
        return {};
    }
    const auto end = header.find('\n', at);
    return header.substr(at + kName.size(), end == std::string_view::npos ? end : end - at - kName.size());
}

} // namespace

PoCatalogue PoCatalogue::parse(std::string_view text) {
    PoCatalogue catalogue;
    std::string id;
    std::vector<std::string> forms; // msgstr, or msgstr[0], msgstr[1]…
    std::size_t form = 0;
    bool isPlural = false;
    Field field = Field::none;
    bool fuzzy = false;
    bool pendingFuzzy = false;

    auto finish = [&] {
        const bool complete = !forms.empty() && std::none_of(forms.begin(), forms.end(),
                                                             [](const std::string& f) { return f.empty(); });
        if (id.empty() && !forms.empty()) {
            if (const auto formula = PluralFormula::parse(pluralFormsOf(forms.front()))) {
                catalogue.plural_ = *formula;
                catalogue.statesPlural_ = true;
            }
        } else if (!id.empty() && complete && !fuzzy) {
            catalogue.entries_[id] = Entry{std::move(forms), isPlural};
        }
        id.clear();
        forms.clear();
        form = 0;
        isPlural = false;
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
            const auto value = unquote(trim(rest));
            if (!value) {
                return;
            }
            if (target == Field::id) {
                id += *value;
            } else if (target == Field::str) {
                forms.resize(std::max(forms.size(), form + 1));
                forms[form] += *value;
            }
        };
        if (line.starts_with("msgctxt") || line.starts_with("msgid ")) {
            if (field == Field::str) {
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
            isPlural = true;
            field = Field::idPlural;
        } else if (line.starts_with("msgstr[")) {
            const auto close = line.find(']');
            std::size_t index = 0;
            for (std::size_t i = 7; close != std::string_view::npos && i < close; ++i) {
                index = index * 10 +
                        static_cast<std::size_t>(line[i] >= '0' && line[i] <= '9' ? line[i] - '0' : 0);
            }
            form = std::min<std::size_t>(index, 15);
            appendTo(Field::str,
                     close == std::string_view::npos ? std::string_view() : line.substr(close + 1));
        } else if (line.starts_with("msgstr")) {
            form = 0;
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
    if (other.statesPlural_) {
        plural_ = other.plural_;
        statesPlural_ = true;
    }
}

const std::string* PoCatalogue::find(std::string_view key) const {
    const auto found = entries_.find(key);
    return found == entries_.end() ? nullptr : &found->second.forms.front();
}

const std::string* PoCatalogue::findPlural(std::string_view singular, std::uint64_t count) const {
    const auto found = entries_.find(singular);
    if (found == entries_.end() || !found->second.isPlural) {
        return nullptr;
    }
    const std::size_t form = plural_.formFor(count);
    return form < found->second.forms.size() ? &found->second.forms[form] : nullptr;
}

} // namespace morvane
