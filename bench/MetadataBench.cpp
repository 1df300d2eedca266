// Reading what rules use of files' contents: the capture dates of a folder
// of JPEGs and the tags of a folder of MP3s, into a fresh cache each time,
// with the files warm in the page cache, on one and two threads. The goal:
// 10,000 capture dates in at most 1 s on two cores. processor_ms is what all
// threads spent, which a busy machine does not inflate.
#include "BenchMedia.h"
#include "engine/filesystem/FolderScanner.h"
#include "engine/filesystem/LocalFileSystem.h"
#include "engine/metadata/LibraryMetadataReader.h"
#include "engine/metadata/MetadataCache.h"

#include <benchmark/benchmark.h>

#include <sys/resource.h>

namespace morvane::bench {
namespace {

std::vector<FileItem> warmItems(const std::string& folder) {
    auto items = FolderScanner(std::make_shared<LocalFileSystem>()).scan(folder, ScanOptions{});
    for (const FileItem& item : items) {
        benchmark::DoNotOptimize(fileBytes(folder + "/" + item.name).size());
    }
    return items;
}

// The process's processor time so far, all threads: on a busy machine the
// wall clock counts the time the reading threads wait for a core.
double processMilliseconds() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    const auto ms = [](const timeval& time) {
        return static_cast<double>(time.tv_sec) * 1e3 + static_cast<double>(time.tv_usec) / 1e3;
    };
    return ms(usage.ru_utime) + ms(usage.ru_stime);
}

void read(benchmark::State& state, const std::string& folder, const ItemDetails& wanted) {
    const auto items = warmItems(folder);
    const auto reader = std::make_shared<LibraryMetadataReader>();
    double processor = 0;
    for (auto _ : state) {
        const double before = processMilliseconds();
        MetadataCache cache(reader, static_cast<unsigned>(state.range(0)));
        cache.read(items, wanted);
        benchmark::DoNotOptimize(cache.size());
        processor += processMilliseconds() - before;
    }
    state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(items.size()));
    state.counters["processor_ms"] = processor / static_cast<double>(state.iterations());
}

// The argument is the number of reading threads.
void captureDatesOf10kJpegs(benchmark::State& state) {
    read(state, jpegFolder(10'000), ItemDetails{false, true, false});
}

void tagsOf10kMp3s(benchmark::State& state) {
    read(state, songFolder(10'000), ItemDetails{false, false, true});
}

BENCHMARK(captureDatesOf10kJpegs)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(tagsOf10kMp3s)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace
} // namespace morvane::bench
