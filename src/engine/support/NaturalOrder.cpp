#include "engine/support/NaturalOrder.h"

#include <unicode/coll.h>

#include <memory>
#include <stdexcept>

namespace morvane {
namespace {

void check(UErrorCode status) {
    if (U_FAILURE(status)) {
        throw std::runtime_error(std::string("collator: ") + u_errorName(status));
    }
}

// The root collation (no language's rules) at secondary strength, so letter
// case does not count but accents still do, with digit runs read as numbers.
// Collators are not to be shared between threads, hence one per thread.
icu::Collator& nameCollator() {
    thread_local std::unique_ptr<icu::Collator> collator = [] {
        UErrorCode status = U_ZERO_ERROR;
        std::unique_ptr<icu::Collator> created(icu::Collator::createInstance(icu::Locale::getRoot(), status));
        check(status);
        created->setStrength(icu::Collator::SECONDARY);
        created->setAttribute(UCOL_NUMERIC_COLLATION, UCOL_ON, status);
        check(status);
        return created;
    }();
    return *collator;
}

} // namespace

// Sort keys turn each comparison into a byte comparison, which keeps sorting a
// large folder cheap next to listing it.
std::string NaturalOrder::sortKey(std::string_view name) {
    const icu::UnicodeString text =
        icu::UnicodeString::fromUTF8(icu::StringPiece(name.data(), static_cast<int32_t>(name.size())));
    icu::Collator& collator = nameCollator();
    std::string key(64, '\0');
    for (;;) {
        const int32_t needed =
            collator.getSortKey(text, reinterpret_cast<uint8_t*>(key.data()), static_cast<int32_t>(key.size()));
        if (needed <= static_cast<int32_t>(key.size())) {
            key.resize(static_cast<std::size_t>(needed));
            return key;
        }
        key.resize(static_cast<std::size_t>(needed));
    }
}

} // namespace morvane
