#include "BenchItems.h"
#include "engine/core/RenamePipeline.h"
#include "engine/rules/AffixRule.h"
#include "engine/rules/CaseRule.h"
#include "engine/rules/CounterRule.h"
#include "engine/rules/DateRule.h"
#include "engine/rules/FolderRule.h"
#include "engine/rules/NameRule.h"
#include "engine/rules/RegexRule.h"
#include "engine/rules/RemoveRule.h"
#include "engine/rules/ReplaceRule.h"
#include "engine/rules/SegmentRule.h"
#include "engine/rules/TemplateRule.h"

#include <benchmark/benchmark.h>

namespace morvane::bench {
namespace {

RenamePipeline replaceAndCase() {
    return RenamePipeline({makeStep(ReplaceRule("IMG_", "Trip ", false)),
                           makeStep(CaseRule(CaseRule::Mode::title, CaseRule::ExtensionMode::lower))});
}

// The substitution the whole-process comparison runs (bench/compare).
RenamePipeline photoRegex() {
    return RenamePipeline({makeStep(RegexRule("^IMG_(\\d+)", "photo-$1", false))});
}

// What a photographer does most: number the shots and date them.
RenamePipeline regexCounterDate() {
    return RenamePipeline({makeStep(RegexRule("^IMG_(\\d+)", "photo-$1", false)),
                           makeStep(CounterRule(CounterRule::Position::prefix, 1, 1, 6, "_")),
                           makeStep(DateRule(DateRule::Source::modified, "yyyyMMdd",
                                             DateRule::Position::after, "-", "Europe/Madrid"))});
}

// Every kind once, each one changing the name, so none of them is skipped by
// a shortcut for "nothing to do".
RenamePipeline allElevenKinds() {
    using Selection = SegmentRule::Selection;
    using Action = SegmentRule::Action;
    return RenamePipeline({
        makeStep(ReplaceRule("IMG_", "Img ", false)),
        makeStep(RegexRule("(\\d+)$", "n$1", false)),
        makeStep(CaseRule(CaseRule::Mode::title, CaseRule::ExtensionMode::lower)),
        makeStep(NameRule(NameRule::Mode::reverse, "")),
        makeStep(AffixRule("x-", "~", 3, "-y")),
        makeStep(RemoveRule(1, 0, "~", true)),
        makeStep(SegmentRule(Selection::firstCount, "_", 2, 1, 4, 2, Action::moveToEnd)),
        makeStep(CounterRule(CounterRule::Position::suffix, 1, 1, 5, "-")),
        makeStep(DateRule(DateRule::Source::modified, "yyyy-MM-dd", DateRule::Position::before, "_", "UTC")),
        makeStep(FolderRule(FolderRule::Position::after, " ")),
        makeStep(TemplateRule("{name} {counter:000}", "UTC")),
    });
}

void runPlan(benchmark::State& state, const RenamePipeline& pipeline) {
    const auto items = cameraItems(static_cast<std::size_t>(state.range(0)));
    for (auto _ : state) {
        benchmark::DoNotOptimize(pipeline.plan(items));
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}

void planReplaceAndCase(benchmark::State& state) {
    runPlan(state, replaceAndCase());
}
void planPhotoRegex(benchmark::State& state) {
    runPlan(state, photoRegex());
}
void planRegexCounterDate(benchmark::State& state) {
    runPlan(state, regexCounterDate());
}
void planAllElevenKinds(benchmark::State& state) {
    runPlan(state, allElevenKinds());
}
BENCHMARK(planReplaceAndCase)->Arg(10'000)->Arg(100'000)->Unit(benchmark::kMillisecond);
BENCHMARK(planPhotoRegex)->Arg(10'000)->Arg(100'000)->Unit(benchmark::kMillisecond);
BENCHMARK(planRegexCounterDate)->Arg(10'000)->Arg(100'000)->Unit(benchmark::kMillisecond);
BENCHMARK(planAllElevenKinds)->Arg(10'000)->Arg(100'000)->Unit(benchmark::kMillisecond);

} // namespace
} // namespace morvane::bench
