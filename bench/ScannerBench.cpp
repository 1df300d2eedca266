#include "BenchFolders.h"
#include "engine/filesystem/FolderScanner.h"
#include "engine/filesystem/LocalFileSystem.h"

#include <benchmark/benchmark.h>

namespace morvane::bench {
namespace {

// The listing alone: one readdir pass and one statx per entry.
void scanEntriesOnly(benchmark::State& state) {
    const std::string folder = photoFolder(static_cast<std::size_t>(state.range(0)));
    const LocalFileSystem fileSystem;
    for (auto _ : state) {
        benchmark::DoNotOptimize(fileSystem.entries(folder));
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}

// What opening a folder costs: the listing, the natural name order and the items.
void scanFolder(benchmark::State& state) {
    const std::string folder = photoFolder(static_cast<std::size_t>(state.range(0)));
    const FolderScanner scanner(std::make_shared<LocalFileSystem>());
    for (auto _ : state) {
        benchmark::DoNotOptimize(scanner.scan(folder, ScanOptions{}));
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(scanEntriesOnly)->Arg(10'000)->Arg(100'000)->Unit(benchmark::kMillisecond);
BENCHMARK(scanFolder)->Arg(10'000)->Arg(100'000)->Unit(benchmark::kMillisecond);

} // namespace
} // namespace morvane::bench
