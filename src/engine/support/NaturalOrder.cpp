#include "engine/support/NaturalOrder.h"

#include <unicode/coll.h>
#include <unicode/sortkey.h>

#include <array>
#include <map>
#include <memory>
#include <stdexcept>

namespace morvane {
namespace {

void check(UErrorCode status) {
    if (U_FAILURE(status)) {
        throw std::runtime_error(std::string("collator: ") + u_errorName(status));
    }
}

std::unique_ptr<icu::Collator> makeCollator() {
    UErrorCode status = U_ZERO_ERROR;
    std::unique_ptr<icu::Collator> created(icu::Collator::createInstance(icu::Locale::getRoot(), status));
    check(status);
    created->setStrength(icu::Collator::SECONDARY);
    created->setAttribute(UCOL_NUMERIC_COLLATION, UCOL_ON, status);
    check(status);
    return created;
}

// Collators are not to be shared between threads, hence one per thread.
icu::Collator& nameCollator() {
    thread_local std::unique_ptr<icu::Collator> collator = makeCollator();
    return *collator;
}

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}
bool isPrintableAscii(std::string_view text) {
    return std::all_of(text.begin(), text.end(), [](char c) { return c >= 0x20 && c <= 0x7E; });
}

// The primary weight rank of every printable ASCII character under the
// collator, read from ICU: characters equal at secondary strength (a letter
// and its capital) share a rank. ASCII has no accents, contractions or
// ignorable printable characters, so comparing names of it comes down to
// these ranks, with digit runs compared by value where ICU reads numbers.
const std::array<int, 128>& asciiRanks() {
    static const std::array<int, 128> ranks = [] {
        auto collator = makeCollator();
        // Ranks must fit in one key byte and never be 0.
        std::map<std::string, std::vector<char>> byKey;
        for (char c = 0x20; c <= 0x7E; ++c) {
            icu::CollationKey key;
            UErrorCode status = U_ZERO_ERROR;
            collator->getCollationKey(icu::UnicodeString(static_cast<char16_t>(c)), key, status);
            check(status);
            int32_t length = 0;
            const uint8_t* bytes = key.getByteArray(length);
            byKey[std::string(reinterpret_cast<const char*>(bytes), static_cast<std::size_t>(length))]
                .push_back(c);
        }
        std::array<int, 128> result{};
        int rank = 0;
        for (const auto& [key, characters] : byKey) {
            ++rank;
            for (const char c : characters) {
                result[static_cast<std::size_t>(c)] = rank;
            }
        }
        return result;
    }();
    return ranks;
}

// Compares two runs of digits by value; leading zeros do not count.
int compareNumbers(std::string_view a, std::string_view b) {
    a.remove_prefix(std::min(a.find_first_not_of('0'), a.size()));
    b.remove_prefix(std::min(b.find_first_not_of('0'), b.size()));
    if (a.size() != b.size()) {
        return a.size() < b.size() ? -1 : 1;
    }
    const int order = a.compare(b);
    return order < 0 ? -1 : (order > 0 ? 1 : 0);
}

int compareAscii(std::string_view a, std::string_view b) {
    const auto& rank = asciiRanks();
    std::size_t i = 0, j = 0;
    while (i < a.size() && j < b.size()) {
        if (isDigit(a[i]) && isDigit(b[j])) {
            const std::size_t endA = std::find_if_not(a.begin() + i, a.end(), isDigit) - a.begin();
            const std::size_t endB = std::find_if_not(b.begin() + j, b.end(), isDigit) - b.begin();
            if (const int order = compareNumbers(a.substr(i, endA - i), b.substr(j, endB - j))) {
                return order;
            }
            i = endA;
            j = endB;
            continue;
        }
        const int left = rank[static_cast<std::size_t>(a[i])];
        const int right = rank[static_cast<std::size_t>(b[j])];
        if (left != right) {
            return left < right ? -1 : 1;
        }
        ++i;
        ++j;
    }
    if (i < a.size() || j < b.size()) {
        return i < a.size() ? 1 : -1;
    }
    return 0;
}

// The key of a printable ASCII name: one rank byte per character, and for a
// run of digits the digits' rank, the count of significant digits (two bytes)
// and those digits, so that byte order is compareAscii's order.
std::string asciiKey(std::string_view name) {
    const auto& rank = asciiRanks();
    std::string key; // short names' keys stay in the string's own buffer
    for (std::size_t i = 0; i < name.size();) {
        if (!isDigit(name[i])) {
            key += static_cast<char>(rank[static_cast<std::size_t>(name[i])]);
            ++i;
            continue;
        }
        const std::size_t end = std::find_if_not(name.begin() + i, name.end(), isDigit) - name.begin();
        std::string_view digits = name.substr(i, end - i);
        digits.remove_prefix(std::min(digits.find_first_not_of('0'), digits.size()));
        key += static_cast<char>(rank[static_cast<std::size_t>('0')]);
        key += static_cast<char>((digits.size() >> 8) & 0xFF);
        key += static_cast<char>(digits.size() & 0xFF);
        key.append(digits);
        i = end;
    }
    return key;
}

std::string icuKey(std::string_view name) {
    const icu::UnicodeString text =
        icu::UnicodeString::fromUTF8(icu::StringPiece(name.data(), static_cast<int32_t>(name.size())));
    icu::Collator& collator = nameCollator();
    std::string key(64, '\0');
    for (;;) {
        const int32_t needed = collator.getSortKey(text, reinterpret_cast<uint8_t*>(key.data()),
                                                   static_cast<int32_t>(key.size()));
        if (needed <= static_cast<int32_t>(key.size())) {
            key.resize(static_cast<std::size_t>(needed));
            return key;
        }
        key.resize(static_cast<std::size_t>(needed));
    }
}

} // namespace

std::vector<std::string> NaturalOrder::sortKeys(const std::vector<std::string_view>& names) {
    const bool ascii = std::all_of(names.begin(), names.end(), isPrintableAscii);
    std::vector<std::string> keys;
    keys.reserve(names.size());
    for (const std::string_view name : names) {
        keys.push_back(ascii ? asciiKey(name) : icuKey(name));
    }
    return keys;
}

int NaturalOrder::compare(std::string_view a, std::string_view b) {
    if (isPrintableAscii(a) && isPrintableAscii(b)) {
        return compareAscii(a, b);
    }
    UErrorCode status = U_ZERO_ERROR;
    const auto order =
        nameCollator().compareUTF8(icu::StringPiece(a.data(), static_cast<int32_t>(a.size())),
                                   icu::StringPiece(b.data(), static_cast<int32_t>(b.size())), status);
    check(status);
    return order == UCOL_LESS ? -1 : (order == UCOL_GREATER ? 1 : 0);
}

} // namespace morvane
