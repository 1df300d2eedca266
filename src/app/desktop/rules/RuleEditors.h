#pragma once

#include "engine/support/Uuid.h"

namespace morvane::app {

class WindowRules;
class RuleEditor;

// The editor of each rule kind (one class per kind, each in the file of its name).
RuleEditor* makeNameEditor(WindowRules& model, const Uuid& id);
RuleEditor* makeSegmentEditor(WindowRules& model, const Uuid& id);
RuleEditor* makeReplaceEditor(WindowRules& model, const Uuid& id, bool listMode);
RuleEditor* makeRegexEditor(WindowRules& model, const Uuid& id, bool listMode);
RuleEditor* makeCaseEditor(WindowRules& model, const Uuid& id);
RuleEditor* makeRemoveEditor(WindowRules& model, const Uuid& id);
RuleEditor* makeAddEditor(WindowRules& model, const Uuid& id);
RuleEditor* makeCounterEditor(WindowRules& model, const Uuid& id);
RuleEditor* makeDateEditor(WindowRules& model, const Uuid& id);
RuleEditor* makeFolderEditor(WindowRules& model, const Uuid& id);
RuleEditor* makeTemplateEditor(WindowRules& model, const Uuid& id);

} // namespace morvane::app
