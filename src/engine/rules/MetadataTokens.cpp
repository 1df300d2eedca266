#include "engine/rules/MetadataTokens.h"

#include "engine/metadata/FileMetadata.h"
#include "engine/rules/CounterRule.h"
#include "engine/support/DateFormatting.h"
#include "engine/support/Localization.h"
#include "engine/support/Unicode.h"

#include <algorithm>
#include <cstdint>

namespace morvane::MetadataTokens {
namespace {

constexpr std::string_view kDefaultDateFormat = "yyyy-MM-dd";

bool isIn(std::string_view key, const auto& keys) {
    return std::find(std::begin(keys), std::end(keys), key) != std::end(keys);
}

bool onlyZeros(std::string_view text) {
    return !text.empty() && std::all_of(text.begin(), text.end(), [](char c) { return c == '0'; });
}

// Why the file could not be read for `key`'s family, when it could not.
const std::string* problemFor(std::string_view key, const FileMetadata* metadata) {
    if (metadata == nullptr) {
        return nullptr;
    }
    const std::string& problem = isIn(key, photoKeys) ? metadata->photoProblem : metadata->audioProblem;
    return problem.empty() ? nullptr : &problem;
}

std::string missing(std::string_view key, const RuleContext& context) {
    if (const std::string* problem = problemFor(key, context.metadata)) {
        return localized("\u201C%@\u201D could not be read: %@", context.item.name, *problem);
    }
    return localized("\u201C%@\u201D has no value for {%@}", context.item.name, key);
}

const std::string& textOf(std::string_view key, const FileMetadata& metadata) {
    if (key == "artist") {
        return metadata.artist;
    }
    if (key == "album") {
        return metadata.album;
    }
    if (key == "title") {
        return metadata.title;
    }
    return metadata.genre;
}

std::optional<std::int64_t> numberOf(std::string_view key, const FileMetadata& metadata) {
    if (key == "width") {
        return metadata.width;
    }
    if (key == "height") {
        return metadata.height;
    }
    if (key == "track") {
        return metadata.track;
    }
    if (key == "disc") {
        return metadata.disc;
    }
    return metadata.year;
}

} // namespace

std::optional<ItemDetails> detailsOf(std::string_view key) {
    if (isIn(key, photoKeys)) {
        return ItemDetails{false, true, false};
    }
    if (isIn(key, audioKeys)) {
        return ItemDetails{false, false, true};
    }
    return std::nullopt;
}

std::optional<std::string> expand(std::string_view key, std::optional<std::string_view> argument,
                                  const RuleContext& context, const std::optional<std::string>& zone) {
    if (!detailsOf(key)) {
        return std::nullopt;
    }
    const FileMetadata* metadata = context.metadata;
    if (key == "taken") {
        if (argument && argument->empty()) {
            return std::nullopt;
        }
        if (metadata == nullptr || !metadata->taken) {
            context.warn(missing(key, context));
            return std::string();
        }
        return DateFormatting::string(metadata->taken->instant(zone), argument.value_or(kDefaultDateFormat),
                                      zone);
    }
    const bool padded = key == "track" || key == "disc";
    if (argument && !(padded && onlyZeros(*argument))) {
        return std::nullopt;
    }
    if (key == "camera" || key == "artist" || key == "album" || key == "title" || key == "genre") {
        const std::string value = metadata == nullptr ? std::string()
                                  : key == "camera"   ? metadata->camera()
                                                      : textOf(key, *metadata);
        if (value.empty()) {
            context.warn(missing(key, context));
        }
        return unicode::withUnsafeNameCharactersReplaced(value);
    }
    const std::optional<std::int64_t> value = metadata == nullptr ? std::nullopt : numberOf(key, *metadata);
    if (!value) {
        context.warn(missing(key, context));
        return std::string();
    }
    return CounterRule::pad(*value, argument ? static_cast<std::int64_t>(argument->size()) : 0);
}

std::string noCaptureDate(const RuleContext& context) {
    if (const std::string* problem = problemFor("taken", context.metadata)) {
        return localized("\u201C%@\u201D could not be read: %@", context.item.name, *problem);
    }
    return localized("\u201C%@\u201D has no capture date", context.item.name);
}

} // namespace morvane::MetadataTokens
