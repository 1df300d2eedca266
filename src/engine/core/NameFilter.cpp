#include "engine/core/NameFilter.h"

#include "engine/support/Paths.h"
#include "engine/support/Unicode.h"

#include <unicode/normalizer2.h>
#include <unicode/uchar.h>
#include <unicode/unistr.h>

#include <stdexcept>

namespace morvane {
namespace {

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
    const std::string_view wanted = unicode::trimmedHorizontalSpace(query);
    if (wanted.empty()) {
        return true;
    }
    return searchKey(name).find(searchKey(wanted)) != std::string::npos;
}

std::vector<FileItem> NameFilter::apply(std::string_view query, std::vector<FileItem> items,
                                        std::optional<std::string_view> root) {
    const std::string_view wanted = unicode::trimmedHorizontalSpace(query);
    if (wanted.empty()) {
        return items;
    }
    const std::string key = searchKey(wanted);
    // Items come folder by folder: each folder is looked at once.
    std::string_view lastFolder;
    bool lastFolderMatches = false;
    bool anyFolder = false;
    for (FileItem& item : items) {
        if (!item.isIncluded) {
            continue;
        }
        bool matches = searchKey(item.name).find(key) != std::string::npos;
        if (!matches && root) {
            const std::string_view folder = item.directory;
            if (!anyFolder || folder != lastFolder) {
                const auto relative = Paths::relative(*root, folder);
                lastFolderMatches = relative && searchKey(*relative).find(key) != std::string::npos;
                lastFolder = folder;
                anyFolder = true;
            }
            matches = lastFolderMatches;
        }
        item.isIncluded = matches;
    }
    return items;
}

} // namespace morvane
