// A 100,000-command list: saving the file pair, loading it, and a scale change of the
// whole list. Run from build/bin; the peak memory is reported as a counter (MB).

#include <benchmark/benchmark.h>
#include <sys/resource.h>

#include <filesystem>

#include "controller/controller.h"
#include "null_views.h"
#include "program-editing/command_files.h"
#include "program-editing/scale_conversion.h"
#include "state/paths.h"

namespace {

constexpr int Commands = 100000;

std::vector<zav::TCommandRow> BigList() {
    std::vector<zav::TCommandRow> rows;
    rows.reserve(Commands);
    for (int i = 0; i < Commands; ++i)
        rows.push_back(i % 2 ? zav::TCommandRow{"MV" + std::to_string(1000 + i),
                                                "Move  " + std::to_string(1000 + i) + " steps "}
                             : zav::TCommandRow{"SD200", "Maximum speed 200 steps/s"});
    return rows;
}

double PeakMegabytes() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return static_cast<double>(usage.ru_maxrss) / 1024.0;
}

std::string BenchFile() {
    return (std::filesystem::temp_directory_path() / "zav-bench-list.zav").string();
}

void BM_SaveCommandFiles(benchmark::State& state) {
    const auto rows = BigList();
    for (auto _ : state)
        zav::SaveCommandFiles(BenchFile(), rows);
    state.counters["peak_MB"] = PeakMegabytes();
}
BENCHMARK(BM_SaveCommandFiles)->Unit(benchmark::kMillisecond);

void BM_LoadCommandFiles(benchmark::State& state) {
    zav::SaveCommandFiles(BenchFile(), BigList());
    for (auto _ : state)
        benchmark::DoNotOptimize(zav::LoadCommandFiles(BenchFile()));
    state.counters["peak_MB"] = PeakMegabytes();
}
BENCHMARK(BM_LoadCommandFiles)->Unit(benchmark::kMillisecond);

void BM_ScaleChange(benchmark::State& state) {
    zav::TQueueDispatcher dispatcher;
    zav::test::TNullViews views;
    zav::SetAppDir((std::filesystem::temp_directory_path() / "zav-bench").string());
    zav::TController controller(dispatcher, views.Views());
    for (auto _ : state) {
        state.PauseTiming();
        controller.MemoSend().Assign(BigList());
        state.ResumeTiming();
        zav::TScaleConversion::Convert(controller.MemoSend(), 2.5, 1, controller.CommonDatas());
    }
    state.counters["peak_MB"] = PeakMegabytes();
}
BENCHMARK(BM_ScaleChange)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
