#include "engine/support/RegexReplacer.h"

#include "engine/support/RegexCache.h"
#include "engine/support/Unicode.h"

#include <unicode/uchar.h>
#include <unicode/utf16.h>

#include <algorithm>
#include <array>

namespace morvane {
namespace {

constexpr char16_t kBackslash = u'\\';
constexpr char16_t kDollar = u'$';

// Enough for every pair of a long rule list; beyond it the oldest is rebuilt.
constexpr std::size_t kReplacersPerThread = 16;

struct ThreadReplacers {
    std::array<std::unique_ptr<RegexReplacer>, kReplacersPerThread> slots;
    std::size_t next = 0;
};

bool isGroupNameCharacter(UChar32 c) {
    // The characters ICU accepts in "${name}" (its digits start at 1).
    return (c >= u'A' && c <= u'Z') || (c >= u'a' && c <= u'z') || (c >= u'1' && c <= u'9');
}

} // namespace

RegexReplacer& RegexReplacer::forThread(std::string_view pattern, bool ignoreCase,
                                        std::string_view replacement, std::int32_t timeLimit) {
    thread_local ThreadReplacers replacers;
    for (const auto& slot : replacers.slots) {
        if (slot && slot->isFor(pattern, ignoreCase, replacement, timeLimit)) {
            return *slot;
        }
    }
    auto compiled = RegexCache::regex(pattern, ignoreCase);
    auto& slot = replacers.slots[replacers.next];
    replacers.next = (replacers.next + 1) % kReplacersPerThread;
    slot.reset(new RegexReplacer(std::move(compiled), pattern, ignoreCase, replacement, timeLimit));
    return *slot;
}

RegexReplacer::RegexReplacer(std::shared_ptr<const icu::RegexPattern> pattern, std::string_view patternText,
                             bool ignoreCase, std::string_view replacement, std::int32_t timeLimit)
    : pattern_(std::move(pattern)), patternText_(patternText), ignoreCase_(ignoreCase),
      replacementText_(replacement), timeLimit_(timeLimit),
      replacement_(icu::UnicodeString::fromUTF8(
          icu::StringPiece(replacement.data(), static_cast<int32_t>(replacement.size())))) {}

// The matcher goes before the input it points into.
RegexReplacer::~RegexReplacer() {
    matcher_.reset();
}

bool RegexReplacer::isFor(std::string_view pattern, bool ignoreCase, std::string_view replacement,
                          std::int32_t timeLimit) const {
    return ignoreCase == ignoreCase_ && timeLimit == timeLimit_ && pattern == patternText_ &&
           replacement == replacementText_;
}

// The same reading as ICU's expansion at every match, done once: a backslash
// copies the next character, "$" takes as many digits as still name a group of
// the pattern, or a name in braces; anything else is copied. A malformed
// reference is remembered and reported at the first match.
void RegexReplacer::parseReplacement(int32_t groupCount) {
    const icu::UnicodeString& text = replacement_;
    const int32_t length = text.length();
    const auto appendLiteral = [&](UChar32 c) {
        if (pieces_.empty() || pieces_.back().group >= 0) {
            pieces_.push_back({-1, literals_.length(), 0, 0, 0});
        }
        literals_.append(c);
        pieces_.back().length = literals_.length() - pieces_.back().start;
    };
    int32_t i = 0;
    while (i < length) {
        const UChar32 c = text.char32At(i);
        i += U16_LENGTH(c);
        if (c == kBackslash) {
            if (i >= length) {
                break;
            }
            const UChar32 escaped = text.char32At(i);
            if (escaped == u'u' || escaped == u'U') {
                expandsWithIcu_ = true;
                return;
            }
            i += U16_LENGTH(escaped);
            appendLiteral(escaped);
        } else if (c != kDollar) {
            appendLiteral(c);
        } else if (i < length && text.char32At(i) == u'{') {
            ++i;
            icu::UnicodeString name;
            int32_t group = 0;
            while (group == 0) {
                const UChar32 next = i < length ? text.char32At(i) : U_SENTINEL;
                i += next == U_SENTINEL ? 0 : U16_LENGTH(next);
                if (next == u'}') {
                    UErrorCode status = U_ZERO_ERROR;
                    group = pattern_->groupNumberFromName(name, status);
                    if (U_FAILURE(status) || group == 0) {
                        replacementError_ = U_REGEX_INVALID_CAPTURE_GROUP_NAME;
                        return;
                    }
                } else if (next != U_SENTINEL && isGroupNameCharacter(next)) {
                    name.append(next);
                } else {
                    replacementError_ = U_REGEX_INVALID_CAPTURE_GROUP_NAME;
                    return;
                }
            }
            pieces_.push_back({group, 0, 0, 0, 0});
        } else if (i < length && u_isdigit(text.char32At(i))) {
            int32_t group = 0;
            int32_t digits = 0;
            while (i < length && u_isdigit(text.char32At(i))) {
                const UChar32 digit = text.char32At(i);
                const int32_t value = group * 10 + u_charDigitValue(digit);
                if (value > groupCount) {
                    if (digits == 0) {
                        replacementError_ = U_INDEX_OUTOFBOUNDS_ERROR;
                        return;
                    }
                    break;
                }
                group = value;
                ++digits;
                i += U16_LENGTH(digit);
            }
            pieces_.push_back({group, 0, 0, 0, 0});
        } else {
            replacementError_ = U_REGEX_INVALID_CAPTURE_GROUP_NAME;
            return;
        }
    }
}

void RegexReplacer::appendInput(int32_t start, int32_t end) {
    if (end <= start) {
        return;
    }
    if (asciiText_) {
        text8_.append(source_.substr(static_cast<std::size_t>(start), static_cast<std::size_t>(end - start)));
    } else {
        result_.append(input_, start, end - start);
    }
}

void RegexReplacer::appendExpansion(UErrorCode& status) {
    for (const Piece& piece : pieces_) {
        if (piece.group < 0) {
            if (asciiText_) {
                text8_.append(literals8_, piece.start8, piece.length8);
            } else {
                result_.append(literals_, piece.start, piece.length);
            }
            continue;
        }
        // A group that took no part in the match writes nothing.
        const int32_t start = matcher_->start(piece.group, status);
        const int32_t end = matcher_->end(piece.group, status);
        if (U_FAILURE(status)) {
            return;
        }
        if (start >= 0) {
            appendInput(start, end);
        }
    }
}

// ASCII text widens byte for byte, which is what the UTF-8 decoder would do,
// and keeps its offsets in UTF-16, so the result is built straight in UTF-8
// from pieces of the text itself.
void RegexReplacer::setInput(std::string_view text) {
    const auto length = static_cast<int32_t>(text.size());
    source_ = text;
    asciiText_ = false;
    if (length > 0 && unicode::isAscii(text)) {
        if (char16_t* buffer = input_.getBuffer(length)) {
            std::copy(text.begin(), text.end(), buffer);
            input_.releaseBuffer(length);
            asciiText_ = !expandsWithIcu_;
            return;
        }
    }
    input_ = icu::UnicodeString::fromUTF8(icu::StringPiece(text.data(), length));
}

std::optional<std::string> RegexReplacer::replaceAll(std::string_view text, UErrorCode& status) {
    if (U_FAILURE(status)) {
        return std::nullopt;
    }
    if (!matcher_) {
        matcher_.reset(pattern_->matcher(status));
        if (U_SUCCESS(status)) {
            matcher_->setTimeLimit(timeLimit_, status);
        }
        if (U_SUCCESS(status) && !parsed_) {
            parseReplacement(matcher_->groupCount());
            for (Piece& piece : pieces_) {
                if (piece.group < 0) {
                    piece.start8 = literals8_.size();
                    literals_.tempSubString(piece.start, piece.length).toUTF8String(literals8_);
                    piece.length8 = literals8_.size() - piece.start8;
                }
            }
            parsed_ = true;
        }
    }
    setInput(text);
    if (U_SUCCESS(status)) {
        // Also restarts the time limit's count.
        matcher_->reset(input_);
    }
    result_.remove();
    text8_.clear();
    bool matched = false;
    int32_t copied = 0; // input before this offset is in the result already
    while (U_SUCCESS(status) && matcher_->find(status)) {
        matched = true;
        if (expandsWithIcu_) {
            matcher_->appendReplacement(result_, replacement_, status);
            continue;
        }
        if (U_FAILURE(replacementError_)) {
            status = replacementError_;
            break;
        }
        const int32_t start = matcher_->start(status);
        if (U_SUCCESS(status)) {
            appendInput(copied, start);
        }
        appendExpansion(status);
        copied = matcher_->end(status);
    }
    if (U_FAILURE(status)) {
        matcher_.reset();
        return std::nullopt;
    }
    if (!matched) {
        return std::nullopt;
    }
    if (expandsWithIcu_) {
        matcher_->appendTail(result_);
    } else {
        appendInput(copied, input_.length());
    }
    if (asciiText_) {
        return text8_;
    }
    std::string output;
    result_.toUTF8String(output);
    return output;
}

} // namespace morvane
