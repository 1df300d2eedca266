#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace morvane {

// Substitution of every match of one pattern by one replacement template
// ("$1", "${name}", backslash escapes, as ICU expands them), made cheap for a
// run over thousands of names: each thread keeps a few replacers, each with its
// own matcher (ICU matchers must not be shared between threads) that is reset
// for every name instead of being built anew, and with the replacement parsed
// once instead of on every match.
class RegexReplacer {
public:
    // Why a replacement gave no text.
    enum class Failure {
        none,
        tooSlow,      // the time limit ran out, or the matcher's stack did
        missingGroup, // the replacement names a group the pattern lacks
        other,
    };

    // The calling thread's replacer for these arguments, made on first use; it
    // stays valid until the thread asks for another one. `timeLimit` bounds the
    // matching of one text, in ICU's time units. Throws
    // RegexCache::CompileError when the pattern does not compile.
    static RegexReplacer& forThread(std::string_view pattern, bool ignoreCase, std::string_view replacement,
                                    std::int32_t timeLimit);

    // `text` (UTF-8; ill-formed bytes read as U+FFFD) with every match
    // replaced, or nothing when nothing matches or on failure, which `failure`
    // then tells (a missing group is reported at the first match, as ICU does).
    std::optional<std::string> replaceAll(std::string_view text, Failure& failure);

    RegexReplacer(const RegexReplacer&) = delete;
    RegexReplacer& operator=(const RegexReplacer&) = delete;
    ~RegexReplacer();

private:
    class Matching; // the matcher and the parsed replacement, in ICU's terms

    explicit RegexReplacer(std::unique_ptr<Matching> matching);

    std::unique_ptr<Matching> matching_;
};

} // namespace morvane
