#include "app/model/RuleEntry.h"

#include "engine/presets/RuleCatalog.h"

namespace morvane::app {

RuleEntry RuleEntry::make(AnyRule rule, bool isEnabled, bool isExpanded) {
    return RuleEntry{Uuid::random(), std::move(rule), isEnabled, isExpanded};
}

AnyRule RuleEntry::defaultRule(RuleKind kind) {
    // The catalog makes a default for every kind, and every kind is an AnyRule case.
    return *anyRule(*RuleCatalog::makeDefault(kind));
}

} // namespace morvane::app
