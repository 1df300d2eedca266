#include "engine/presets/FactoryPresets.h"

#include "engine/rules/CaseRule.h"
#include "engine/rules/CounterRule.h"
#include "engine/rules/DateRule.h"
#include "engine/rules/NameRule.h"
#include "engine/rules/RegexRule.h"
#include "engine/rules/RemoveRule.h"
#include "engine/rules/ReplaceRule.h"
#include "engine/rules/SegmentRule.h"
#include "engine/rules/TemplateRule.h"

#include <string>

namespace morvane {
namespace {

// Every built-in rule stores itself, so a failure here is a fault in the
// program, not in anything the user did: noexcept turns it into a stop rather
// than an error some caller might swallow.
Preset preset(std::string name, std::vector<PipelineStep> steps, bool favorite) noexcept {
    return Preset::fromPipeline(std::move(name), RenamePipeline(std::move(steps)), favorite);
}

DateRule dateBeforeName(DateRule::Source source) {
    return DateRule(source, "yyyy-MM-dd", DateRule::Position::before, "_", std::nullopt);
}

} // namespace

std::vector<Preset> FactoryPresets::all() {
    return {photoDatePlusSlug(), cleanFilenames(),  cameraImport(),       sequenceOnly(),
            templateArchive(),   placeFromExport(), photosByCaptureDate()};
}

Preset FactoryPresets::photoDatePlusSlug() {
    return preset("Photo date + slug",
                  {makeStep(ReplaceRule("IMG_", "santa-cruz-", false)),
                   makeStep(dateBeforeName(DateRule::Source::modified))},
                  true);
}

Preset FactoryPresets::cleanFilenames() {
    return preset("Clean filenames",
                  {makeStep(RemoveRule(0, 0, "", true)),
                   makeStep(ReplaceRule({{" ", "-", true}, {"_", "-", true}}, false)),
                   makeStep(CaseRule(CaseRule::Mode::lower, CaseRule::ExtensionMode::lower))},
                  true);
}

Preset FactoryPresets::cameraImport() {
    return preset("Camera import",
                  {makeStep(RegexRule("^(?:IMG|DSCN?|P)[_-]?(\\d+)$", "photo-$1", true)),
                   makeStep(dateBeforeName(DateRule::Source::created)),
                   makeStep(CaseRule(CaseRule::Mode::same, CaseRule::ExtensionMode::lower))},
                  false);
}

Preset FactoryPresets::sequenceOnly() {
    return preset("Sequence only", {makeStep(CounterRule(CounterRule::Position::replace, 1, 1, 3, "-"))},
                  false);
}

Preset FactoryPresets::templateArchive() {
    return preset("Template archive",
                  {makeStep(TemplateRule("{date:yyyyMMdd}_{parent}_{counter:000}", std::nullopt))}, false);
}

Preset FactoryPresets::placeFromExport() {
    return preset("Place from export",
                  {makeStep(SegmentRule(SegmentRule::Selection::delimited, "_", 2, 1, 4, 4,
                                        SegmentRule::Action::keepOnly))},
                  false);
}

// The name becomes the moment the photo was taken; photos of one second
// would then share it, so a counter follows. Rules see one item at a time,
// so it numbers every photo of the batch rather than only those that share a
// second.
Preset FactoryPresets::photosByCaptureDate() {
    return preset("Photos by capture date",
                  {makeStep(NameRule(NameRule::Mode::remove, "santa-cruz")),
                   makeStep(DateRule(DateRule::Source::taken, "yyyy-MM-dd_HH-mm-ss",
                                     DateRule::Position::before, "", std::nullopt)),
                   makeStep(CounterRule(CounterRule::Position::suffix, 1, 1, 3, "-"))},
                  false);
}

} // namespace morvane
