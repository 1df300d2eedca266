#include "engine/support/RegexCache.h"

#include <unicode/regex.h>

#include <mutex>
#include <string>
#include <unordered_map>

namespace morvane {
namespace {

struct Store {
    std::mutex lock;
    std::unordered_map<std::string, std::shared_ptr<const icu::RegexPattern>> patterns;
};

Store& store() {
    static Store instance;
    return instance;
}

} // namespace

std::shared_ptr<const icu::RegexPattern> RegexCache::regex(std::string_view pattern, bool ignoreCase) {
    std::string key = ignoreCase ? "i|" : "s|";
    key.append(pattern);

    Store& cache = store();
    // Compiling under the lock means two threads never compile the same key
    // at once; patterns are short, so the wait is short too.
    std::lock_guard guard(cache.lock);
    if (const auto found = cache.patterns.find(key); found != cache.patterns.end()) {
        return found->second;
    }
    UErrorCode status = U_ZERO_ERROR;
    UParseError position{};
    const auto source =
        icu::UnicodeString::fromUTF8(icu::StringPiece(pattern.data(), static_cast<int32_t>(pattern.size())));
    std::shared_ptr<const icu::RegexPattern> compiled(
        icu::RegexPattern::compile(source, ignoreCase ? UREGEX_CASE_INSENSITIVE : 0, position, status));
    if (U_FAILURE(status) || !compiled) {
        throw CompileError(std::string("regular expression: ") +
                           u_errorName(U_FAILURE(status) ? status : U_MEMORY_ALLOCATION_ERROR));
    }
    if (cache.patterns.size() > maxEntries) {
        cache.patterns.clear();
    }
    cache.patterns.emplace(std::move(key), compiled);
    return compiled;
}

std::size_t RegexCache::size() {
    Store& cache = store();
    std::lock_guard guard(cache.lock);
    return cache.patterns.size();
}

} // namespace morvane
