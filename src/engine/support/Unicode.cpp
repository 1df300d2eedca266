#include "engine/support/Unicode.h"

#include <unicode/brkiter.h>
#include <unicode/bytestream.h>
#include <unicode/casemap.h>
#include <unicode/normalizer2.h>
#include <unicode/uchar.h>
#include <unicode/utext.h>
#include <unicode/utf8.h>

#include <algorithm>
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

std::string asciiMapped(std::string_view text, char (*map)(char)) {
    std::string result(text);
    std::transform(result.begin(), result.end(), result.begin(), map);
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

} // namespace

bool isAscii(std::string_view text) {
    return std::all_of(text.begin(), text.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

bool isSimpleAscii(std::string_view text) {
    return std::all_of(text.begin(), text.end(),
                       [](char c) { return static_cast<unsigned char>(c) < 0x80 && c != '\r'; });
}

std::vector<std::string_view> graphemes(std::string_view text) {
    std::vector<std::string_view> result;
    if (isSimpleAscii(text)) {
        result.reserve(text.size());
        for (std::size_t i = 0; i < text.size(); ++i) {
            result.push_back(text.substr(i, 1));
        }
        return result;
    }
    UErrorCode status = U_ZERO_ERROR;
    UText utext = UTEXT_INITIALIZER;
    utext_openUTF8(&utext, text.data(), static_cast<int64_t>(text.size()), &status);
    check(status, "grapheme text");
    icu::BreakIterator& breaks = characterBreaks();
    breaks.setText(&utext, status);
    check(status, "grapheme text");
    int32_t start = breaks.first();
    for (int32_t end = breaks.next(); end != icu::BreakIterator::DONE; start = end, end = breaks.next()) {
        result.push_back(text.substr(static_cast<std::size_t>(start), static_cast<std::size_t>(end - start)));
    }
    utext_close(&utext);
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

std::string lowerNfc(std::string_view text) {
    if (isAscii(text)) {
        return asciiMapped(text, asciiLower);
    }
    return toLower(nfc(text));
}

bool canonicallyEqual(std::string_view a, std::string_view b) {
    if (a == b) {
        return true;
    }
    if (isAscii(a) && isAscii(b)) {
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
