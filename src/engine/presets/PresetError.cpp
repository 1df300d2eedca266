#include "engine/presets/PresetError.h"

#include "engine/support/Localization.h"

namespace morvane {

PresetError::PresetError(Kind kind, std::int64_t format)
    : kind_(kind), format_(format),
      message_(localized("This preset was made by a newer version of Morvane (format %lld)", format)) {}

} // namespace morvane
