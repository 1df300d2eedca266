#include "BenchItems.h"
#include "engine/transactions/MovePlanner.h"
#include "engine/transactions/RenameExecutor.h"

#include <benchmark/benchmark.h>

namespace morvane::bench {
namespace {

const std::string folder = "/home/user/Pictures/Trip 2024";

// IMG_00000 -> IMG_00001 -> … -> IMG_<count>, listed from the blocked end:
// only the last rename can go first, and each one placed frees the one before
// it, so a planner that searches the list from the start is quadratic here.
std::vector<PlannedRename> chainInWorstOrder(std::size_t count) {
    std::vector<PlannedRename> renames;
    renames.reserve(count);
    for (std::size_t i = 0; i < count; ++i) {
        renames.push_back({folder, numberedName("IMG_", i), numberedName("IMG_", i + 1)});
    }
    return renames;
}

// Neighbours swap names: every pair is a cycle that needs a temporary name.
std::vector<PlannedRename> twoCycles(std::size_t count) {
    std::vector<PlannedRename> renames;
    renames.reserve(count);
    for (std::size_t i = 0; i + 1 < count; i += 2) {
        renames.push_back({folder, numberedName("IMG_", i), numberedName("IMG_", i + 1)});
        renames.push_back({folder, numberedName("IMG_", i + 1), numberedName("IMG_", i)});
    }
    return renames;
}

// IMG_00000 -> photo-00000 and so on: nothing waits for anything, the common
// case of a batch.
std::vector<PlannedRename> independent(std::size_t count) {
    std::vector<PlannedRename> renames;
    renames.reserve(count);
    for (std::size_t i = 0; i < count; ++i) {
        renames.push_back({folder, numberedName("IMG_", i), numberedName("photo-", i)});
    }
    return renames;
}

// range(0): renames; range(1): 1 for a case-sensitive folder (ext4), 0 for a
// case-insensitive one (FAT, casefolded ext4), where every name is folded.
void runPlanner(benchmark::State& state, const std::vector<PlannedRename>& renames) {
    const bool caseSensitive = state.range(1) != 0;
    // The executor's own temporary names: their random UUIDs are part of the cost.
    const MovePlanner planner{[caseSensitive](const std::string&) { return caseSensitive; },
                              &RenameExecutor::randomTemporaryName};
    for (auto _ : state) {
        benchmark::DoNotOptimize(planner.plan(renames));
    }
    state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(renames.size()));
}

void plannerIndependent(benchmark::State& state) {
    runPlanner(state, independent(static_cast<std::size_t>(state.range(0))));
}
void plannerChainWorstOrder(benchmark::State& state) {
    runPlanner(state, chainInWorstOrder(static_cast<std::size_t>(state.range(0))));
}
void plannerTwoCycles(benchmark::State& state) {
    runPlanner(state, twoCycles(static_cast<std::size_t>(state.range(0))));
}
BENCHMARK(plannerIndependent)
    ->ArgsProduct({{10'000, 100'000}, {1, 0}})
    ->ArgNames({"renames", "caseSensitive"})
    ->Unit(benchmark::kMillisecond);
BENCHMARK(plannerChainWorstOrder)
    ->ArgsProduct({{10'000, 100'000}, {1, 0}})
    ->ArgNames({"renames", "caseSensitive"})
    ->Unit(benchmark::kMillisecond);
BENCHMARK(plannerTwoCycles)
    ->ArgsProduct({{10'000, 100'000}, {1, 0}})
    ->ArgNames({"renames", "caseSensitive"})
    ->Unit(benchmark::kMillisecond);

} // namespace
} // namespace morvane::bench
