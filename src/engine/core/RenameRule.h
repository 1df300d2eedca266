#pragma once

#include "engine/core/FileName.h"
#include "engine/core/ItemDetails.h"
#include "engine/core/RuleContext.h"
#include "engine/core/RuleKind.h"

#include <string>
#include <typeinfo>

namespace morvane {

// The contract of every renaming rule. A rule is an immutable value holding
// only its settings: the same value is applied to every item, possibly on a
// background thread, so the result depends only on the settings, the name and
// the context.
class RenameRule {
public:
    virtual ~RenameRule() = default;

    virtual RuleKind kind() const = 0;
    // One line describing the settings, in the engine's current language.
    virtual std::string summary() const = 0;
    // Changes the stem and/or extension in place; throws RuleError when the
    // settings cannot be applied, or MissingMetadataError when the item's file
    // lacks what the rule reads. The caller restores the name on a throw.
    virtual void apply(FileName& name, const RuleContext& context) const = 0;
    // What `apply` reads of the item besides its name: dates and size, or
    // the file's own metadata. Each costs something per file to find out,
    // while names and kinds come with a folder's listing, so front ends
    // fetch them only for rule lists that need them.
    virtual ItemDetails needsDetails() const = 0;

    // Only the rule types' own (defaulted) comparisons use this, to compare
    // their base part; it cannot tell settings apart, so compare rules as their
    // concrete types or as AnyRule values.
    bool operator==(const RenameRule& other) const { return typeid(*this) == typeid(other); }

protected:
    RenameRule() = default;
    RenameRule(const RenameRule&) = default;
    RenameRule& operator=(const RenameRule&) = default;
};

} // namespace morvane
