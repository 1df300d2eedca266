#pragma once

#include "engine/core/ItemDetails.h"
#include "engine/core/RuleContext.h"

#include <optional>
#include <string>
#include <string_view>

namespace morvane {

// The template tokens that stand for what a file holds: {taken:FORMAT} (the
// capture date, as {date:…} writes dates), {camera}, {width} and {height}
// of photos; {artist}, {album}, {title}, {track:00}, {disc}, {year} and
// {genre} of music. A value the file lacks expands to nothing and leaves a
// warning on the item; texts from the file have the characters that cannot
// stand in a name replaced.
namespace MetadataTokens {

// The token keys, in the order the editor's reminder lists them.
inline constexpr std::string_view photoKeys[] = {"taken", "camera", "width", "height"};
inline constexpr std::string_view audioKeys[] = {"artist", "album", "title", "track",
                                                 "disc",   "year",  "genre"};

// What the token with (case-folded) `key` reads; nothing for any other key.
std::optional<ItemDetails> detailsOf(std::string_view key);

// The expansion of the token with (case-folded) `key`; nothing when it is no
// metadata token or its argument does not fit (then the token is copied as
// written). `zone` is the rule's, for the capture date.
std::optional<std::string> expand(std::string_view key, std::optional<std::string_view> argument,
                                  const RuleContext& context, const std::optional<std::string>& zone);

// "“IMG_1.png” has no capture date", or why the file could not be read.
std::string noCaptureDate(const RuleContext& context);

} // namespace MetadataTokens

} // namespace morvane
