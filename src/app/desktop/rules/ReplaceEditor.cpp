#include "app/desktop/rules/PairsEditor.h"
#include "app/desktop/rules/RuleEditors.h"

namespace morvane::app {
namespace {

// Literal text replaced, pair after pair.
class ReplaceEditor final : public PairsEditor {
public:
    ReplaceEditor(WindowRules& model, const Uuid& id, bool listMode)
        : PairsEditor(model, id, listMode,
                      {"Use a list of replacements", "Find", "IMG_", "Replace with", "santa-cruz-",
                       "Case sensitive"}) {}

private:
    bool caseFlag(const AnyRule& rule) const override { return std::get<ReplaceRule>(rule).isCaseSensitive; }
    void setCaseFlag(bool on) override {
        model_.editRule(id_, [&](RuleEntry& entry) {
            if (auto* rule = std::get_if<ReplaceRule>(&entry.rule)) {
                rule->isCaseSensitive = on;
            }
        });
    }
};

} // namespace

RuleEditor* makeReplaceEditor(WindowRules& model, const Uuid& id, bool listMode) {
    return new ReplaceEditor(model, id, listMode);
}

} // namespace morvane::app
