#include "engine/core/NameDiff.h"

#include <benchmark/benchmark.h>

#include <utility>

namespace morvane::bench {
namespace {

// The preview diffs every visible row whenever the plan changes.
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
