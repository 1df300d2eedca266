#include "engine/core/NameDiff.h"

#include "engine/support/Unicode.h"

#include <algorithm>

namespace morvane {
namespace {

// A character with the two forms the comparison needs, computed once.
struct Character {
    std::string_view text;
    std::string exact;   // NFC, so canonically equivalent characters compare equal
    std::string matcher; // lower-cased NFC
};

std::vector<Character> characters(std::string_view name) {
    std::vector<Character> result;
    const bool ascii = unicode::isSimpleAscii(name);
    for (const std::string_view character : unicode::graphemes(name)) {
        std::string exact = ascii ? std::string(character) : unicode::nfc(character);
        std::string matcher = ascii ? unicode::toLower(character) : unicode::nfc(unicode::toLower(exact));
        result.push_back({character, std::move(exact), std::move(matcher)});
    }
    return result;
}

} // namespace

NameDiff::NameDiff(std::string_view oldName, std::string_view newName) {
    const auto a = characters(oldName);
    const auto b = characters(newName);
    const std::size_t n = a.size();
    const std::size_t m = b.size();
    const std::size_t width = m + 1;

    // lcs[i * width + j]: length of the longest common subsequence of a[i..] and b[j..].
    std::vector<std::uint32_t> lcs((n + 1) * width, 0);
    for (std::size_t i = n; i-- > 0;) {
        for (std::size_t j = m; j-- > 0;) {
            lcs[i * width + j] = a[i].matcher == b[j].matcher
                                     ? lcs[(i + 1) * width + j + 1] + 1
                                     : std::max(lcs[(i + 1) * width + j], lcs[i * width + j + 1]);
        }
    }

    std::string pendingOld, pendingNew;
    auto flush = [&] {
        if (!pendingOld.empty()) {
            spans_.push_back({pendingNew.empty() ? Kind::removed : Kind::replaced, pendingOld, pendingNew});
        } else if (!pendingNew.empty()) {
            spans_.push_back({Kind::added, {}, pendingNew});
        }
        pendingOld.clear();
        pendingNew.clear();
    };

    std::size_t i = 0, j = 0;
    while (i < n || j < m) {
        if (i < n && j < m && a[i].matcher == b[j].matcher) {
            flush();
            const Kind kind = a[i].exact == b[j].exact ? Kind::equal : Kind::caseChange;
            if (!spans_.empty() && spans_.back().kind == kind) {
                spans_.back().old += a[i].text;
                spans_.back().new_ += b[j].text;
            } else {
                spans_.push_back({kind, std::string(a[i].text), std::string(b[j].text)});
            }
            ++i;
            ++j;
        } else if (j < m && (i == n || lcs[i * width + j + 1] >= lcs[(i + 1) * width + j])) {
            // On a tie the new name's character is taken first.
            pendingNew += b[j].text;
            ++j;
        } else {
            pendingOld += a[i].text;
            ++i;
        }
    }
    flush();
}

std::vector<NameDiff::Span> NameDiff::oldSide() const {
    std::vector<Span> result;
    std::copy_if(spans_.begin(), spans_.end(), std::back_inserter(result),
                 [](const Span& span) { return span.kind != Kind::added; });
    return result;
}

std::vector<NameDiff::Span> NameDiff::newSide() const {
    std::vector<Span> result;
    std::copy_if(spans_.begin(), spans_.end(), std::back_inserter(result),
                 [](const Span& span) { return span.kind != Kind::removed; });
    return result;
}

bool NameDiff::isUnchanged() const {
    return std::all_of(spans_.begin(), spans_.end(),
                       [](const Span& span) { return span.kind == Kind::equal; });
}

} // namespace morvane
