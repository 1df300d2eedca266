#pragma once

#include "engine/core/RenamePipeline.h"
#include "engine/core/RenameRule.h"
#include "engine/core/RuleError.h"

#include <functional>
#include <map>
#include <stdexcept>
#include <string>

namespace morvane::testing {

// A rule whose effect is a function, so tests can script exactly what happens.
class ScriptedRule final : public RenameRule {
public:
    using Effect = std::function<void(FileName&, const RuleContext&)>;
    explicit ScriptedRule(Effect effect) : effect_(std::move(effect)) {}

    RuleKind kind() const override { return RuleKind::name; }
    std::string summary() const override { return "scripted"; }
    void apply(FileName& name, const RuleContext& context) const override { effect_(name, context); }
    ItemDetails needsDetails() const override { return {}; }

private:
    Effect effect_;
};

// Appends `suffix` to every stem, but throws for the item named `failFor`
// after it has already mangled the name (the pipeline must undo that).
inline ScriptedRule appendOrFail(std::string suffix, std::string failFor, std::string message) {
    return ScriptedRule([=](FileName& name, const RuleContext& context) {
        name.stem += suffix;
        if (context.item.name == failFor) {
            name.stem = "MANGLED";
            throw RuleError(message);
        }
    });
}

// Renames by a table of whole names; other names stay.
inline RenamePipeline renaming(std::map<std::string, std::string> table) {
    return RenamePipeline(
        {makeStep(ScriptedRule([table = std::move(table)](FileName& name, const RuleContext&) {
            if (const auto found = table.find(name.full()); found != table.end()) {
                name = FileName::parsing(found->second);
            }
        }))});
}

} // namespace morvane::testing
