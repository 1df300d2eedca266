#include "engine/filesystem/NameFilter.h"

#include "engine/support/Unicode.h"

#include <unicode/normalizer2.h>
#include <unicode/uchar.h>
#include <unicode/unistr.h>
#include <unicode/utf8.h>

#include <stdexcept>

namespace morvane {
namespace {

// Trims tab and space separators (not line breaks) from both ends.
std::string_view trimmed(std::string_view text) {
    const auto* bytes = reinterpret_cast<const uint8_t*>(text.data());
    const auto length = static_cast<int32_t>(text.size());
    int32_t begin = 0;
    while (begin < length) {
        int32_t next = begin;
        UChar32 c = 0;
        U8_NEXT(bytes, next, length, c);
        if (c < 0 || !unicode::isHorizontalSpace(static_cast<char32_t>(c))) {
            break;
        }
        begin = next;
    }
    int32_t end = length;
    while (end > begin) {
        int32_t previous = end;
        UChar32 c = 0;
        U8_PREV(bytes, begin, previous, c);
        if (c < 0 || !unicode::isHorizontalSpace(static_cast<char32_t>(c))) {
            break;
        }
        end = previous;
    }
    return text.substr(static_cast<std::size_t>(begin), static_cast<std::size_t>(end - begin));
}

const icu::Normalizer2& nfd() {
    static const icu::Normalizer2* normalizer = [] {
        UErrorCode status = U_ZERO_ERROR;
        const icu::Normalizer2* instance = icu::Normalizer2::getNFDInstance(status);
        if (U_FAILURE(status)) {
            throw std::runtime_error(std::string("NFD normalizer: ") + u_errorName(status));
        }
        return instance;
    }();
    return *normalizer;
}

} // namespace

std::string NameFilter::searchKey(std::string_view text) {
    if (unicode::isAscii(text)) {
        return unicode::fold(text);
    }
    UErrorCode status = U_ZERO_ERROR;
    const icu::UnicodeString decomposed = nfd().normalize(
        icu::UnicodeString::fromUTF8(icu::StringPiece(text.data(), static_cast<int32_t>(text.size()))),
        status);
    if (U_FAILURE(status)) {
        return unicode::fold(text);
    }
    icu::UnicodeString bare;
    for (int32_t i = 0; i < decomposed.length();) {
        const UChar32 c = decomposed.char32At(i);
        if (u_charType(c) != U_NON_SPACING_MARK) {
            bare.append(c);
        }
        i += U16_LENGTH(c);
    }
    std::string result;
    bare.toUTF8String(result);
    return unicode::fold(unicode::nfc(result));
}

bool NameFilter::matches(std::string_view name, std::string_view query) {
    const std::string_view wanted = trimmed(query);
    if (wanted.empty()) {
        return true;
    }
    return searchKey(name).find(searchKey(wanted)) != std::string::npos;
}

std::vector<FileItem> NameFilter::apply(std::string_view query, std::vector<FileItem> items) {
    const std::string_view wanted = trimmed(query);
    if (wanted.empty()) {
        return items;
    }
    const std::string key = searchKey(wanted);
    for (FileItem& item : items) {
        item.isIncluded = item.isIncluded && searchKey(item.name).find(key) != std::string::npos;
    }
    return items;
}

} // namespace morvane
