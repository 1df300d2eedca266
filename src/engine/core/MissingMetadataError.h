#pragma once

#include "engine/core/RuleError.h"

namespace morvane {

// Thrown by a rule that reads something the item's file does not hold (a
// photo without a capture date). Nothing is wrong with the rule's settings,
// so planning bypasses the rule for that item alone and notes the message on
// the item instead of marking the rule as failed.
class MissingMetadataError : public RuleError {
public:
    using RuleError::RuleError;
};

} // namespace morvane
