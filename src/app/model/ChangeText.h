#pragma once

#include "engine/core/NameDiff.h"

#include <string>
#include <string_view>

namespace morvane::app {

// How a run of a name is written where its change is marked. A space that
// was removed or replaced, drawn struck through on a tint, cannot be told
// from "-", and one that was added is a tinted gap: inside a changed run,
// spaces are drawn as "␣" (a no-break space as "⍽"), so old and new names
// never look alike when they differ. Unchanged runs are written as they are.
namespace ChangeText {

std::string shown(std::string_view text, NameDiff::Kind kind);

} // namespace ChangeText
} // namespace morvane::app
