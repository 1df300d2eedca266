#include "BenchItems.h"
#include "engine/core/NameDiff.h"
#include "engine/core/RenamePipeline.h"
#include "engine/rules/CaseRule.h"
#include "engine/rules/ReplaceRule.h"

#include <benchmark/benchmark.h>

namespace morvane::bench {
namespace {

RenamePipeline replaceAndCase() {
    return RenamePipeline({makeStep(ReplaceRule("IMG_", "Trip ", false)),
                           makeStep(CaseRule(CaseRule::Mode::title, CaseRule::ExtensionMode::lower))});
}

void planReplaceAndCase(benchmark::State& state) {
    const auto items = cameraItems(static_cast<std::size_t>(state.range(0)));
    const auto pipeline = replaceAndCase();
    for (auto _ : state) {
        benchmark::DoNotOptimize(pipeline.plan(items));
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(planReplaceAndCase)->Arg(10'000)->Arg(100'000)->Unit(benchmark::kMillisecond);

void nameDiff(benchmark::State& state) {
    const std::pair<const char*, const char*> names[] = {
        {"IMG_00042.JPG", "Trip 00042.jpg"},
        {"Caf\u00e9 IMG_00042.JPG", "2024-05-01_caf\u00e9-00042.jpg"},
        {"the quick brown fox.txt", "The Quick Brown Fox.txt"},
    };
    for (auto _ : state) {
        for (const auto& [from, to] : names) {
            benchmark::DoNotOptimize(NameDiff(from, to));
        }
    }
    state.SetItemsProcessed(state.iterations() * 3);
}
BENCHMARK(nameDiff);

} // namespace
} // namespace morvane::bench
