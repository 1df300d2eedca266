#include "engine/support/RegexReplacer.h"

#include "engine/support/RegexCache.h"
#include "engine/support/Unicode.h"

#include <unicode/regex.h>
#include <unicode/uchar.h>
#include <unicode/unistr.h>
#include <unicode/utf16.h>

#include <algorithm>
#include <array>
#include <vector>

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

class RegexReplacer::Matching {
public:
    Matching(std::shared_ptr<const icu::RegexPattern> pattern, std::string_view patternText, bool ignoreCase,
             std::string_view replacement, std::int32_t timeLimit);
    Matching(const Matching&) = delete;
    Matching& operator=(const Matching&) = delete;
    ~Matching();

    bool isFor(std::string_view pattern, bool ignoreCase, std::string_view replacement,
               std::int32_t timeLimit) const;
    std::optional<std::string> replaceAll(std::string_view text, UErrorCode& status);

private:
    // A run of literal text (`group` < 0), in UTF-16 and in UTF-8, or the text
    // of one capture group.
    struct Piece {
        std::int32_t group;
        std::int32_t start;
        std::int32_t length;
        std::size_t start8;
        std::size_t length8;
    };

    void parseReplacement(std::int32_t groupCount);
    void appendInput(std::int32_t start, std::int32_t end);
    void appendExpansion(UErrorCode& status);
    void setInput(std::string_view text);

    std::shared_ptr<const icu::RegexPattern> pattern_;
    std::string patternText_;
    bool ignoreCase_;
    std::string replacementText_;
    std::int32_t timeLimit_;

    icu::UnicodeString replacement_;
    bool parsed_ = false; // once the first matcher tells the number of groups
    // Replacements with "\u" escapes are left to ICU's own expansion.
    bool expandsWithIcu_ = false;
    UErrorCode replacementError_ = U_ZERO_ERROR;
    icu::UnicodeString literals_;
    std::string literals8_;
    std::vector<Piece> pieces_;

    std::unique_ptr<icu::RegexMatcher> matcher_; // dropped after any failure
    icu::UnicodeString input_;                   // what the matcher reads
    std::string_view source_;                    // the text input_ was made from
    bool asciiText_ = false;                     // results go to text8_, else to result_
    icu::UnicodeString result_;
    std::string text8_;
};

RegexReplacer& RegexReplacer::forThread(std::string_view pattern, bool ignoreCase,
                                        std::string_view replacement, std::int32_t timeLimit) {
    thread_local ThreadReplacers replacers;
    for (const auto& slot : replacers.slots) {
        if (slot && slot->matching_->isFor(pattern, ignoreCase, replacement, timeLimit)) {
            return *slot;
        }
    }
    auto compiled = RegexCache::regex(pattern, ignoreCase);
    auto& slot = replacers.slots[replacers.next];
    replacers.next = (replacers.next + 1) % kReplacersPerThread;
    slot.reset(new RegexReplacer(
        std::make_unique<Matching>(std::move(compiled), pattern, ignoreCase, replacement, timeLimit)));
    return *slot;
}

RegexReplacer::RegexReplacer(std::unique_ptr<Matching> matching) : matching_(std::move(matching)) {}

RegexReplacer::~RegexReplacer() = default;

std::optional<std::string> RegexReplacer::replaceAll(std::string_view text, Failure& failure) {
    UErrorCode status = U_ZERO_ERROR;
    auto result = matching_->replaceAll(text, status);
    switch (status) {
    case U_ZERO_ERROR:
        failure = Failure::none;
        break;
    case U_REGEX_TIME_OUT:
    case U_REGEX_STACK_OVERFLOW:
        failure = Failure::tooSlow;
        break;
    case U_INDEX_OUTOFBOUNDS_ERROR:
    case U_REGEX_INVALID_CAPTURE_GROUP_NAME:
        failure = Failure::missingGroup;
        break;
    default:
        failure = U_FAILURE(status) ? Failure::other : Failure::none;
        break;
    }
    return result;
}

RegexReplacer::Matching::Matching(std::shared_ptr<const icu::RegexPattern> pattern,
                                  std::string_view patternText, bool ignoreCase, std::string_view replacement,
                                  std::int32_t timeLimit)
    : pattern_(std::move(pattern)), patternText_(patternText), ignoreCase_(ignoreCase),
      replacementText_(replacement), timeLimit_(timeLimit),
      replacement_(icu::UnicodeString::fromUTF8(
          icu::StringPiece(replacement.data(), static_cast<int32_t>(replacement.size())))) {}

// The matcher goes before the input it points into.
RegexReplacer::Matching::~Matching() {
    matcher_.reset();
}

bool RegexReplacer::Matching::isFor(std::string_view pattern, bool ignoreCase, std::string_view replacement,
                                    std::int32_t timeLimit) const {
    return ignoreCase == ignoreCase_ && timeLimit == timeLimit_ && pattern == patternText_ &&
           replacement == replacementText_;
}

// The same reading as ICU's expansion at every match, done once: a backslash
// copies the next character, "$" takes as many digits as still name a group of
// the pattern, or a name in braces; anything else is copied. A malformed
// reference is remembered and reported at the first match.
void RegexReplacer::Matching::parseReplacement(int32_t groupCount) {
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

void RegexReplacer::Matching::appendInput(int32_t start, int32_t end) {
    if (end <= start) {
        return;
    }
    if (asciiText_) {
        text8_.append(source_.substr(static_cast<std::size_t>(start), static_cast<std::size_t>(end - start)));
    } else {
        result_.append(input_, start, end - start);
    }
}

void RegexReplacer::Matching::appendExpansion(UErrorCode& status) {
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
void RegexReplacer::Matching::setInput(std::string_view text) {
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

std::optional<std::string> RegexReplacer::Matching::replaceAll(std::string_view text, UErrorCode& status) {
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
