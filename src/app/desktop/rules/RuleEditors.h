#pragma once

#include "engine/support/Uuid.h"

namespace morvane::app {

class AppModel;
class RuleEditor;

// The editor of each rule kind (one class per kind, each in the file of its name).
RuleEditor* makeNameEditor(AppModel& model, const Uuid& id);
RuleEditor* makeSegmentEditor(AppModel& model, const Uuid& id);
RuleEditor* makeReplaceEditor(AppModel& model, const Uuid& id, bool listMode);
RuleEditor* makeRegexEditor(AppModel& model, const Uuid& id, bool listMode);
RuleEditor* makeCaseEditor(AppModel& model, const Uuid& id);
RuleEditor* makeRemoveEditor(AppModel& model, const Uuid& id);
RuleEditor* makeAddEditor(AppModel& model, const Uuid& id);
RuleEditor* makeCounterEditor(AppModel& model, const Uuid& id);
RuleEditor* makeDateEditor(AppModel& model, const Uuid& id);
RuleEditor* makeFolderEditor(AppModel& model, const Uuid& id);
RuleEditor* makeTemplateEditor(AppModel& model, const Uuid& id);

} // namespace morvane::app
