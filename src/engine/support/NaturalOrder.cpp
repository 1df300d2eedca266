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
// and those digits, so that byte order is compareAscii's order. Appended to `key`.
void appendAsciiKey(std::string& key, std::string_view name) {
    const auto& rank = asciiRanks();
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
}

// ICU's sort key of `name`, appended to `key`.
void appendIcuKey(std::string& key, std::string_view name) {
    const icu::UnicodeString text =
        icu::UnicodeString::fromUTF8(icu::StringPiece(name.data(), static_cast<int32_t>(name.size())));
    icu::Collator& collator = nameCollator();
    const std::size_t start = key.size();
    key.resize(start + 64);
    for (;;) {
        const auto room = static_cast<int32_t>(key.size() - start);
        const int32_t needed =
            collator.getSortKey(text, reinterpret_cast<uint8_t*>(key.data() + start), room);
        key.resize(start + static_cast<std::size_t>(needed));
        if (needed <= room) {
            return;
        }
    }
}

// How names are keyed: all of them by the ASCII shortcut, or all by ICU, since
// keys of the two kinds do not compare with each other.
using KeyMaker = void (*)(std::string&, std::string_view);

KeyMaker keyMakerFor(const std::vector<std::string_view>& names) {
    return std::all_of(names.begin(), names.end(), isPrintableAscii) ? &appendAsciiKey : &appendIcuKey;
}

// One name's key in the block of keys, with its first sixteen bytes as two
// big-endian integers (zero-padded), which decide most comparisons alone.
struct KeyRef {
    std::uint64_t high;
    std::uint64_t low;
    std::uint64_t offset;
    std::uint32_t length;
    std::uint32_t position;
};

std::uint64_t bigEndian(const char* bytes, std::size_t count) {
    std::uint64_t value = 0;
    for (std::size_t i = 0; i < 8; ++i) {
        value = value << 8 | (i < count ? static_cast<unsigned char>(bytes[i]) : 0u);
    }
    return value;
}

} // namespace

std::vector<std::string> NaturalOrder::sortKeys(const std::vector<std::string_view>& names) {
    const KeyMaker append = keyMakerFor(names);
    std::vector<std::string> keys(names.size());
    for (std::size_t i = 0; i < names.size(); ++i) {
        append(keys[i], names[i]);
    }
    return keys;
}

std::vector<std::uint32_t> NaturalOrder::order(const std::vector<std::string_view>& names, bool descending) {
    const KeyMaker append = keyMakerFor(names);
    std::string block;
    std::size_t nameBytes = 0;
    for (const std::string_view name : names) {
        nameBytes += name.size();
    }
    block.reserve(nameBytes + 4 * names.size());
    std::vector<KeyRef> keys;
    keys.reserve(names.size());
    for (std::uint32_t position = 0; position < names.size(); ++position) {
        const std::size_t offset = block.size();
        append(block, names[position]);
        keys.push_back(KeyRef{0, 0, offset, static_cast<std::uint32_t>(block.size() - offset), position});
    }
    for (KeyRef& key : keys) {
        const char* bytes = block.data() + key.offset;
        key.high = bigEndian(bytes, std::min<std::size_t>(key.length, 8));
        key.low = key.length > 8 ? bigEndian(bytes + 8, std::min<std::size_t>(key.length - 8, 8)) : 0;
    }
    // Negative, zero or positive as `a`'s key sorts before, with or after `b`'s.
    const auto compareKeys = [&](const KeyRef& a, const KeyRef& b) {
        if (a.high != b.high) {
            return a.high < b.high ? -1 : 1;
        }
        if (a.low != b.low) {
            return a.low < b.low ? -1 : 1;
        }
        const std::string_view left(block.data() + a.offset, a.length);
        const std::string_view right(block.data() + b.offset, b.length);
        const int order = left.compare(right);
        return (order > 0) - (order < 0);
    };
    const auto before = [&](const KeyRef& a, const KeyRef& b) {
        const int order = compareKeys(a, b);
        if (order != 0) {
            return descending ? order > 0 : order < 0;
        }
        return a.position < b.position; // stable
    };
    // Listings often come sorted already; checking costs one comparison per name.
    if (!std::is_sorted(keys.begin(), keys.end(), before)) {
        std::sort(keys.begin(), keys.end(), before);
    }
    std::vector<std::uint32_t> positions;
    positions.reserve(keys.size());
    for (const KeyRef& key : keys) {
        positions.push_back(key.position);
    }
    return positions;
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
