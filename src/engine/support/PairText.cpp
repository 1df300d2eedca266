#include "engine/support/PairText.h"

#include "engine/support/Unicode.h"

#include <array>

namespace morvane {
namespace {

// The line breaks that split a pair list: LF, CR, CR LF, VT, FF, NEL, LS, PS.
// Returns the length of the break starting at `i`, or 0.
std::size_t lineBreakAt(std::string_view text, std::size_t i) {
    const char c = text[i];
    if (c == '\n' || c == '\v' || c == '\f') {
        return 1;
    }
    if (c == '\r') {
        return (i + 1 < text.size() && text[i + 1] == '\n') ? 2 : 1;
    }
    const std::string_view rest = text.substr(i);
    if (rest.starts_with("\u0085")) {
        return 2;
    }
    if (rest.starts_with("\u2028") || rest.starts_with("\u2029")) {
        return 3;
    }
    return 0;
}

std::vector<std::string_view> lines(std::string_view text) {
    std::vector<std::string_view> result;
    std::size_t start = 0;
    for (std::size_t i = 0; i < text.size();) {
        if (const std::size_t length = lineBreakAt(text, i)) {
            result.push_back(text.substr(start, i - start));
            i += length;
            start = i;
        } else {
            ++i;
        }
    }
    result.push_back(text.substr(start));
    return result;
}

// Removes one space at each end, no more: further spaces are part of the text.
std::string trimOneSpace(std::string_view part) {
    if (part.starts_with(' ')) {
        part.remove_prefix(1);
    }
    if (part.ends_with(' ')) {
        part.remove_suffix(1);
    }
    return std::string(part);
}

std::string flatten(std::string_view text) {
    std::string result(text);
    for (char& c : result) {
        if (c == '\t' || c == '\n' || c == '\r') {
            c = ' ';
        }
    }
    return result;
}

} // namespace

PairText::Pairs PairText::parse(std::string_view text) {
    // Some editors begin a saved text file with a byte-order mark; it is not
    // the first find text's. One further in is a character like any other.
    if (text.starts_with("\xEF\xBB\xBF")) {
        text.remove_prefix(3);
    }
    Pairs pairs;
    for (const std::string_view line : lines(text)) {
        if (unicode::trimmedHorizontalSpace(line).empty()) {
            continue;
        }
        std::size_t cut = std::string_view::npos;
        std::size_t separatorLength = 0;
        for (const std::string_view separator : std::array<std::string_view, 3>{"\t", "\u2192", "="}) {
            cut = line.find(separator);
            if (cut != std::string_view::npos) {
                separatorLength = separator.size();
                break;
            }
        }
        if (cut == std::string_view::npos) {
            pairs.emplace_back(trimOneSpace(line), std::string());
        } else {
            pairs.emplace_back(trimOneSpace(line.substr(0, cut)),
                               trimOneSpace(line.substr(cut + separatorLength)));
        }
    }
    return pairs;
}

std::string PairText::tsv(const Pairs& pairs) {
    std::string result;
    for (const auto& [find, with] : pairs) {
        result.append(flatten(find)).append("\t").append(flatten(with)).append("\n");
    }
    return result;
}

} // namespace morvane
