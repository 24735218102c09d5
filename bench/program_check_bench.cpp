// The program check on long lists: 100,000 commands in recordings of 1,000 lines (with
// labels, buffers and waits), the same lines as one recording that never ends, and
// 100,000 lines of junk. The grid checks the list after every change, so the target is
// well under 1 s for each; the figures should grow in step with the length.

#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "program-check/program_check.h"

namespace {

std::vector<std::string> Recordings(std::size_t count, bool closed) {
    const char* const body[] = {"SD200", "SS10", "AL+20", "LL", "MV1000", "WL1",   "DR",
                                "MV500", "JP5",  "LB",    "HM", "SB3",    "SP100", "MV"};
    std::vector<std::string> lines;
    lines.reserve(count);
    while (lines.size() < count) {
        if (lines.size() % 1000 == 0 && (closed || lines.empty()))
            lines.push_back("LD" + std::to_string(1 + lines.size() / 1000 % 3));
        else if (closed && lines.size() % 1000 == 999)
            lines.push_back("ED");
        else
            lines.push_back(body[lines.size() % std::size(body)]);
    }
    return lines;
}

void Check(benchmark::State& state, const std::vector<std::string>& lines) {
    std::size_t warnings = 0;
    for (auto _ : state) {
        warnings = zav::CheckProgram(lines).size();
        benchmark::DoNotOptimize(warnings);
    }
    state.counters["warnings"] = static_cast<double>(warnings);
    state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(lines.size()));
}

void BM_CheckRecordings(benchmark::State& state) {
    Check(state, Recordings(static_cast<std::size_t>(state.range(0)), true));
}
BENCHMARK(BM_CheckRecordings)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);

void BM_CheckUnendedRecording(benchmark::State& state) {
    Check(state, Recordings(static_cast<std::size_t>(state.range(0)), false));
}
BENCHMARK(BM_CheckUnendedRecording)->Arg(100000)->Unit(benchmark::kMillisecond);

void BM_CheckJunk(benchmark::State& state) {
    std::vector<std::string> lines(static_cast<std::size_t>(state.range(0)));
    for (std::size_t i = 0; i < lines.size(); ++i)
        lines[i] = i % 2 ? std::string(40, '\0') : "X?" + std::to_string(i);
    Check(state, lines);
}
BENCHMARK(BM_CheckJunk)->Arg(100000)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
