#pragma once

#include <unicode/uversion.h>

#include <cstddef>
#include <memory>
#include <stdexcept>
#include <string_view>

U_NAMESPACE_BEGIN
class RegexPattern;
U_NAMESPACE_END

namespace morvane {

// The process-wide store of compiled regular expressions. Plans run on a
// background thread while the editor compiles patterns on the main thread, and
// a rule applied to thousands of names must not recompile its patterns per
// name. A compiled pattern is immutable and safe to share between threads;
// matchers are not, so each thread keeps its own (see RegexReplacer).
class RegexCache {
public:
    // Above this many entries the next insertion empties the cache first, which
    // keeps memory flat while a pattern is typed one character at a time.
    static constexpr std::size_t maxEntries = 256;

    // Thrown when a pattern does not compile; failures are never cached.
    class CompileError : public std::runtime_error {
    public:
        using std::runtime_error::runtime_error;
    };

    // The compiled form of `pattern` (ICU syntax, UTF-8), case-insensitive when
    // asked and with no other option.
    static std::shared_ptr<const icu::RegexPattern> regex(std::string_view pattern, bool ignoreCase);

    static std::size_t size();
};

} // namespace morvane
