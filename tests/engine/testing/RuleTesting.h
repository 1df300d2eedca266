#pragma once

#include "engine/core/FileItem.h"
#include "engine/core/RenameRule.h"
#include "engine/core/RuleError.h"
#include "engine/metadata/FileMetadata.h"
#include "engine/support/Localization.h"
#include "engine/testing/LanguageScope.h"

#include <chrono>
#include <limits>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

namespace morvane::testing {

// The full name `rule` makes of `name` for the item at `index` of a run.
inline std::string applied(const RenameRule& rule, std::string_view name, std::int64_t index = 0,
                           const FileItem& item = {}) {
    FileName fileName = FileName::parsing(name);
    const std::int64_t total = index == std::numeric_limits<std::int64_t>::max() ? index : index + 1;
    rule.apply(fileName, RuleContext{item, index, total});
    return fileName.full();
}

// The same with `metadata` as what was read of the item's file, and the
// rule's warnings about the item in `warnings`.
inline std::string appliedWith(const RenameRule& rule, std::string_view name, const FileMetadata* metadata,
                               const FileItem& item = {}, std::vector<std::string>* warnings = nullptr) {
    FileName fileName = FileName::parsing(name);
    rule.apply(fileName, RuleContext{item, 0, 1, 0, metadata, warnings});
    return fileName.full();
}

// The message of the RuleError that applying `rule` raises, or "(no failure)".
inline std::string failure(const RenameRule& rule, std::string_view name, std::int64_t index = 0) {
    try {
        applied(rule, name, index);
    } catch (const RuleError& error) {
        return error.message();
    }
    return "(no failure)";
}

inline Date utc(int year, unsigned month, unsigned day, int hour = 0, int minute = 0) {
    using namespace std::chrono;
    return sys_days{std::chrono::year{year} / month / day} + hours{hour} + minutes{minute};
}

// Runs `job(thread number)` on `count` threads at once and waits for them.
template <typename Job>
void inParallel(int count, Job job) {
    std::vector<std::thread> threads;
    for (int t = 0; t < count; ++t) {
        threads.emplace_back(job, t);
    }
    for (auto& thread : threads) {
        thread.join();
    }
}

} // namespace morvane::testing
