#include "app/desktop/rules/PairsEditor.h"
#include "app/desktop/rules/RuleEditors.h"

namespace morvane::app {
namespace {

// Regular-expression substitutions, pair after pair, with the reason a
// pattern does not compile shown under the patterns before any preview runs.
class RegexEditor final : public PairsEditor {
public:
    RegexEditor(WindowRules& model, const Uuid& id, bool listMode)
        : PairsEditor(
              model, id, listMode,
              {"Use a list of patterns", "Pattern", "^IMG_(\\d+)", "Replace", "photo-$1", "Ignore case"}) {}

private:
    bool caseFlag(const AnyRule& rule) const override { return std::get<RegexRule>(rule).ignoreCase; }
    void setCaseFlag(bool on) override {
        model_.editRule(id_, [&](RuleEntry& entry) {
            if (auto* rule = std::get_if<RegexRule>(&entry.rule)) {
                rule->ignoreCase = on;
            }
        });
    }
    std::optional<std::string> problem(const AnyRule& rule) const override {
        return std::get<RegexRule>(rule).validationError();
    }
};

} // namespace

RuleEditor* makeRegexEditor(WindowRules& model, const Uuid& id, bool listMode) {
    return new RegexEditor(model, id, listMode);
}

} // namespace morvane::app
