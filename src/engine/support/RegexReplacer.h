#pragma once

#include <unicode/regex.h>
#include <unicode/unistr.h>
#include <unicode/utypes.h>

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace morvane {

// Substitution of every match of one pattern by one replacement template
// ("$1", "${name}", backslash escapes, as ICU expands them), made cheap for a
// run over thousands of names: each thread keeps a few replacers, each with its
// own matcher (ICU matchers must not be shared between threads) that is reset
// for every name instead of being built anew, and with the replacement parsed
// once instead of on every match.
class RegexReplacer {
public:
    // The calling thread's replacer for these arguments, made on first use; it
    // stays valid until the thread asks for another one. `timeLimit` bounds the
    // matching of one text, in ICU's time units. Throws
    // RegexCache::CompileError when the pattern does not compile.
    static RegexReplacer& forThread(std::string_view pattern, bool ignoreCase, std::string_view replacement,
                                    std::int32_t timeLimit);

    // `text` (UTF-8; ill-formed bytes read as U+FFFD) with every match
    // replaced, or nothing when nothing matches or on failure, which `status`
    // then tells: a timeout, a stack overflow, or a replacement naming a group
    // the pattern lacks (reported at the first match, as ICU does).
    std::optional<std::string> replaceAll(std::string_view text, UErrorCode& status);

    RegexReplacer(const RegexReplacer&) = delete;
    RegexReplacer& operator=(const RegexReplacer&) = delete;
    ~RegexReplacer();

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

    RegexReplacer(std::shared_ptr<const icu::RegexPattern> pattern, std::string_view patternText,
                  bool ignoreCase, std::string_view replacement, std::int32_t timeLimit);

    bool isFor(std::string_view pattern, bool ignoreCase, std::string_view replacement,
               std::int32_t timeLimit) const;
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

} // namespace morvane
