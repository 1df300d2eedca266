#include "engine/support/Unicode.h"

#include <unicode/brkiter.h>
#include <unicode/bytestream.h>
#include <unicode/casemap.h>
#include <unicode/normalizer2.h>
#include <unicode/uchar.h>
#include <unicode/utext.h>
#include <unicode/utf8.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <memory>
#include <stdexcept>

namespace morvane::unicode {
namespace {

// The root locale: case mapping must not depend on the user's language.
constexpr const char* kRootCaseLocale = "";

void check(UErrorCode status, const char* what) {
    if (U_FAILURE(status)) {
        throw std::runtime_error(std::string(what) + ": " + u_errorName(status));
    }
}

// Creating a break iterator costs far more than using one, so each thread
// keeps its own (they are not thread-safe).
icu::BreakIterator& characterBreaks() {
    thread_local std::unique_ptr<icu::BreakIterator> iterator = [] {
        UErrorCode status = U_ZERO_ERROR;
        std::unique_ptr<icu::BreakIterator> created(
            icu::BreakIterator::createCharacterInstance(icu::Locale::getRoot(), status));
        check(status, "grapheme iterator");
        return created;
    }();
    return *iterator;
}

const icu::Normalizer2& nfcNormalizer() {
    static const icu::Normalizer2* normalizer = [] {
        UErrorCode status = U_ZERO_ERROR;
        const icu::Normalizer2* instance = icu::Normalizer2::getNFCInstance(status);
        check(status, "NFC normalizer");
        return instance;
    }();
    return *normalizer;
}

char asciiLower(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c + ('a' - 'A')) : c;
}
char asciiUpper(char c) {
    return (c >= 'a' && c <= 'z') ? static_cast<char>(c - ('a' - 'A')) : c;
}

template <typename Map>
std::string asciiMapped(std::string_view text, Map map) {
    std::string result(text);
    for (char& c : result) {
        c = map(c);
    }
    return result;
}

template <typename Mapper>
std::string mapUtf8(std::string_view text, Mapper mapper, const char* what) {
    std::string result;
    result.reserve(text.size() + 8);
    icu::StringByteSink<std::string> sink(&result);
    UErrorCode status = U_ZERO_ERROR;
    mapper(icu::StringPiece(text.data(), static_cast<int32_t>(text.size())), sink, status);
    check(status, what);
    return result;
}

// Both checks read eight bytes at a time: every plan asks them of every name
// several times over.
constexpr std::uint64_t kEveryByte = 0x0101010101010101ULL;
constexpr std::uint64_t kHighBits = 0x8080808080808080ULL;

std::uint64_t eightBytes(const char* bytes) {
    std::uint64_t word = 0;
    std::memcpy(&word, bytes, sizeof word);
    return word;
}

// Nonzero exactly when some byte of `word` is zero.
std::uint64_t zeroByte(std::uint64_t word) {
    return (word - kEveryByte) & ~word & kHighBits;
}

} // namespace

bool isAscii(std::string_view text) {
    std::uint64_t any = 0;
    std::size_t i = 0;
    for (; i + 8 <= text.size(); i += 8) {
        any |= eightBytes(text.data() + i);
    }
    for (; i < text.size(); ++i) {
        any |= static_cast<unsigned char>(text[i]);
    }
    return (any & kHighBits) == 0;
}

bool isSimpleAscii(std::string_view text) {
    constexpr std::uint64_t carriageReturns = kEveryByte * '\r';
    std::uint64_t any = 0;
    std::uint64_t carriageReturn = 0;
    std::size_t i = 0;
    for (; i + 8 <= text.size(); i += 8) {
        const std::uint64_t word = eightBytes(text.data() + i);
        any |= word;
        carriageReturn |= zeroByte(word ^ carriageReturns);
    }
    for (; i < text.size(); ++i) {
        any |= static_cast<unsigned char>(text[i]);
        carriageReturn |= text[i] == '\r';
    }
    return (any & kHighBits) == 0 && carriageReturn == 0;
}

namespace {

struct CloseText {
    void operator()(UText* text) const { utext_close(text); }
};

void appendIcuGraphemes(std::string_view text, std::vector<std::string_view>& out) {
    UErrorCode status = U_ZERO_ERROR;
    UText utext = UTEXT_INITIALIZER;
    // Closed however this ends: the text may hold memory even when a later
    // step fails and throws.
    const std::unique_ptr<UText, CloseText> closing(&utext);
    utext_openUTF8(&utext, text.data(), static_cast<int64_t>(text.size()), &status);
    check(status, "grapheme text");
    icu::BreakIterator& breaks = characterBreaks();
    breaks.setText(&utext, status);
    check(status, "grapheme text");
    int32_t start = breaks.first();
    for (int32_t end = breaks.next(); end != icu::BreakIterator::DONE; start = end, end = breaks.next()) {
        out.push_back(text.substr(static_cast<std::size_t>(start), static_cast<std::size_t>(end - start)));
    }
}

// The grapheme-break classes that matter for deciding a boundary without the
// break iterator.
enum class BreakClass { other, control, cr, lf, complex };

BreakClass breakClass(UChar32 c) {
    if (c < 0x80) {
        if (c == '\r') {
            return BreakClass::cr;
        }
        if (c == '\n') {
            return BreakClass::lf;
        }
        return (c < 0x20 || c == 0x7F) ? BreakClass::control : BreakClass::other;
    }
    switch (u_getIntPropertyValue(c, UCHAR_GRAPHEME_CLUSTER_BREAK)) {
    case U_GCB_OTHER:
        return BreakClass::other;
    case U_GCB_CONTROL:
        return BreakClass::control;
    case U_GCB_CR:
        return BreakClass::cr;
    case U_GCB_LF:
        return BreakClass::lf;
    default:
        return BreakClass::complex;
    }
}

// A boundary that no rule of extended grapheme clusters can remove: between two
// plain characters (every joining rule needs a mark, a joiner, a prefix, a
// Hangul jamo or a regional indicator on one side), and around controls except
// inside CR LF.
bool isCertainBoundary(BreakClass before, BreakClass after) {
    if (before == BreakClass::cr && after == BreakClass::lf) {
        return false;
    }
    if (before == BreakClass::complex || after == BreakClass::complex) {
        return before == BreakClass::control || before == BreakClass::cr || before == BreakClass::lf ||
               after == BreakClass::control || after == BreakClass::cr || after == BreakClass::lf;
    }
    return true;
}

} // namespace

std::vector<std::string_view> graphemes(std::string_view text) {
    std::vector<std::string_view> result;
    result.reserve(text.size());
    if (isSimpleAscii(text)) {
        for (std::size_t i = 0; i < text.size(); ++i) {
            result.push_back(text.substr(i, 1));
        }
        return result;
    }
    // Most names mix plain letters with a few accented ones; only the
    // stretches whose boundaries depend on context go to the break iterator.
    const auto* bytes = reinterpret_cast<const uint8_t*>(text.data());
    const auto length = static_cast<int32_t>(text.size());
    std::size_t segmentStart = 0;
    std::size_t segmentCodePoints = 0;
    auto flush = [&](std::size_t end) {
        const std::string_view segment = text.substr(segmentStart, end - segmentStart);
        if (segmentCodePoints == 1) {
            result.push_back(segment);
        } else if (!segment.empty()) {
            appendIcuGraphemes(segment, result);
        }
        segmentStart = end;
        segmentCodePoints = 0;
    };
    BreakClass previous = BreakClass::other;
    for (int32_t offset = 0; offset < length;) {
        const int32_t start = offset;
        UChar32 c = 0;
        U8_NEXT(bytes, offset, length, c);
        const BreakClass current = c < 0 ? BreakClass::complex : breakClass(c);
        if (start > 0 && isCertainBoundary(previous, current)) {
            flush(static_cast<std::size_t>(start));
        }
        ++segmentCodePoints;
        previous = current;
    }
    flush(text.size());
    return result;
}

std::size_t graphemeCount(std::string_view text) {
    return isSimpleAscii(text) ? text.size() : graphemes(text).size();
}

std::string nfc(std::string_view text) {
    if (isAscii(text)) {
        return std::string(text);
    }
    const icu::Normalizer2& normalizer = nfcNormalizer();
    UErrorCode status = U_ZERO_ERROR;
    const icu::StringPiece piece(text.data(), static_cast<int32_t>(text.size()));
    if (normalizer.isNormalizedUTF8(piece, status) && U_SUCCESS(status)) {
        return std::string(text);
    }
    return mapUtf8(
        text,
        [&](icu::StringPiece source, icu::ByteSink& sink, UErrorCode& code) {
            normalizer.normalizeUTF8(0, source, sink, nullptr, code);
        },
        "NFC");
}

std::string toLower(std::string_view text) {
    if (isAscii(text)) {
        return asciiMapped(text, asciiLower);
    }
    return mapUtf8(
        text,
        [](icu::StringPiece source, icu::ByteSink& sink, UErrorCode& code) {
            icu::CaseMap::utf8ToLower(kRootCaseLocale, 0, source, sink, nullptr, code);
        },
        "lower case");
}

std::string toUpper(std::string_view text) {
    if (isAscii(text)) {
        return asciiMapped(text, asciiUpper);
    }
    return mapUtf8(
        text,
        [](icu::StringPiece source, icu::ByteSink& sink, UErrorCode& code) {
            icu::CaseMap::utf8ToUpper(kRootCaseLocale, 0, source, sink, nullptr, code);
        },
        "upper case");
}

std::string fold(std::string_view text) {
    if (isAscii(text)) {
        return asciiMapped(text, asciiLower);
    }
    return mapUtf8(
        text,
        [](icu::StringPiece source, icu::ByteSink& sink, UErrorCode& code) {
            icu::CaseMap::utf8Fold(U_FOLD_CASE_DEFAULT, source, sink, nullptr, code);
        },
        "case folding");
}

bool canonicallyEqual(std::string_view a, std::string_view b) {
    if (a == b) {
        return true;
    }
    if (isAscii(a) && isAscii(b)) {
        return false;
    }
    // Past their common start and end the texts differ in ASCII only, with
    // ASCII (or nothing) on either side: ASCII characters neither decompose nor
    // combine with anything, so no normalization can make the texts meet. This
    // is what rules mostly do to names that are not ASCII: add or change a
    // prefix, a suffix or a number.
    const std::size_t shorter = std::min(a.size(), b.size());
    std::size_t prefix = 0;
    while (prefix < shorter && a[prefix] == b[prefix]) {
        ++prefix;
    }
    std::size_t suffix = 0;
    while (suffix < shorter - prefix && a[a.size() - 1 - suffix] == b[b.size() - 1 - suffix]) {
        ++suffix;
    }
    const auto isAsciiByte = [](char c) { return static_cast<unsigned char>(c) < 0x80; };
    if ((prefix == 0 || isAsciiByte(a[prefix - 1])) && (suffix == 0 || isAsciiByte(a[a.size() - suffix])) &&
        isAscii(a.substr(prefix, a.size() - prefix - suffix)) &&
        isAscii(b.substr(prefix, b.size() - prefix - suffix))) {
        return false;
    }
    return nfc(a) == nfc(b);
}

char32_t firstCodePoint(std::string_view text) {
    if (text.empty()) {
        return 0;
    }
    int32_t offset = 0;
    UChar32 c = 0;
    U8_NEXT(reinterpret_cast<const uint8_t*>(text.data()), offset, static_cast<int32_t>(text.size()), c);
    return c < 0 ? U'\uFFFD' : static_cast<char32_t>(c);
}

bool isWhiteSpace(char32_t c) {
    return u_isUWhiteSpace(static_cast<UChar32>(c)) != 0;
}

bool isAlphabetic(char32_t c) {
    return u_isUAlphabetic(static_cast<UChar32>(c)) != 0;
}

bool isHorizontalSpace(char32_t c) {
    return c == U'\t' || u_charType(static_cast<UChar32>(c)) == U_SPACE_SEPARATOR;
}

std::string_view trimmedHorizontalSpace(std::string_view text) {
    const auto* bytes = reinterpret_cast<const uint8_t*>(text.data());
    const auto length = static_cast<int32_t>(text.size());
    int32_t begin = 0;
    while (begin < length) {
        int32_t next = begin;
        UChar32 c = 0;
        U8_NEXT(bytes, next, length, c);
        if (c < 0 || !isHorizontalSpace(static_cast<char32_t>(c))) {
            break;
        }
        begin = next;
    }
    int32_t end = length;
    while (end > begin) {
        int32_t previous = end;
        UChar32 c = 0;
        U8_PREV(bytes, begin, previous, c);
        if (c < 0 || !isHorizontalSpace(static_cast<char32_t>(c))) {
            break;
        }
        end = previous;
    }
    return text.substr(static_cast<std::size_t>(begin), static_cast<std::size_t>(end - begin));
}

std::string withUnsafeNameCharactersReplaced(std::string_view text) {
    std::string result;
    result.reserve(text.size());
    if (isAscii(text)) {
        for (const char c : text) {
            const bool unsafe =
                c == '/' || c == ':' || c == '\\' || static_cast<unsigned char>(c) < 0x20 || c == 0x7F;
            result += unsafe ? '-' : c;
        }
        return result;
    }
    for (const char32_t c : codePoints(text)) {
        const auto type = u_charType(static_cast<UChar32>(c));
        const bool unsafe =
            c == U'/' || c == U':' || c == U'\\' || type == U_CONTROL_CHAR || type == U_FORMAT_CHAR;
        appendUtf8(result, unsafe ? U'-' : c);
    }
    return result;
}

std::vector<char32_t> codePoints(std::string_view text) {
    std::vector<char32_t> result;
    result.reserve(text.size());
    const auto* bytes = reinterpret_cast<const uint8_t*>(text.data());
    const auto length = static_cast<int32_t>(text.size());
    for (int32_t offset = 0; offset < length;) {
        UChar32 c = 0;
        U8_NEXT(bytes, offset, length, c);
        result.push_back(c < 0 ? U'\uFFFD' : static_cast<char32_t>(c));
    }
    return result;
}

void appendUtf8(std::string& text, char32_t c) {
    uint8_t buffer[U8_MAX_LENGTH];
    int32_t length = 0;
    UBool failed = false;
    U8_APPEND(buffer, length, U8_MAX_LENGTH, static_cast<UChar32>(c), failed);
    if (failed) {
        appendUtf8(text, U'\uFFFD');
        return;
    }
    text.append(reinterpret_cast<const char*>(buffer), static_cast<std::size_t>(length));
}

bool isValidUtf8(std::string_view text) {
    if (isAscii(text)) {
        return true;
    }
    const auto* bytes = reinterpret_cast<const uint8_t*>(text.data());
    const auto length = static_cast<int32_t>(text.size());
    for (int32_t offset = 0; offset < length;) {
        UChar32 c = 0;
        U8_NEXT(bytes, offset, length, c);
        if (c < 0) {
            return false;
        }
    }
    return true;
}

} // namespace morvane::unicode
