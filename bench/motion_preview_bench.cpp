// The motion preview of bad and large lists: 100,000 commands, loops of 255 x 250 in
// each coordinate, a recording that never ends among unknown commands, a file of zeros.
// Each builds the model and its SVG; the target is under 1 s each. Counters: the points
// drawn, whether the list was cut, and the SVG's size.

#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "motion/motion_model.h"
#include "motion/preview_svg.h"

namespace {

constexpr int Commands = 100000;

std::vector<std::string> LongList() {
    std::vector<std::string> lines;
    for (int c = 1; c <= 3; ++c) {
        lines.push_back("LD" + std::to_string(c));
        for (int i = 0; i < Commands / 3 - 2; ++i) {
            static const char* cycle[] = {"SD500", "AL+20", "MV1500", "SP10", "DR", "MV700", "DL"};
            lines.push_back(cycle[i % 7]);
        }
        lines.push_back("ED");
    }
    return lines;
}

std::vector<std::string> Loops() {
    std::vector<std::string> lines;
    for (int c = 1; c <= 3; ++c)
        for (const char* line :
             {"LD", "SD1000", "AL+5", "LB", "LL", "MV100", "SP1", "RS", "JP255", "SB250", "ED"})
            lines.push_back(line == std::string("LD") ? "LD" + std::to_string(c) : line);
    return lines;
}

std::vector<std::string> Unended() {
    std::vector<std::string> lines{"LD2"};
    for (int i = 0; i < Commands; ++i)
        lines.push_back(i % 3 ? "XQ" + std::to_string(i) : "MV" + std::to_string(i % 1000 + 1));
    return lines;
}

std::vector<std::string> Zeros() {
    return std::vector<std::string>(Commands, std::string(8, '\0'));
}

void Run(benchmark::State& state, const std::vector<std::string>& lines) {
    std::size_t points = 0, svgBytes = 0;
    bool cut = false;
    for (auto _ : state) {
        const zav::TMotionPreview preview = zav::BuildMotionPreview(lines);
        const std::string svg = zav::PreviewSvg(preview);
        points = preview.PointsMade;
        cut = preview.Cut;
        svgBytes = svg.size();
        benchmark::DoNotOptimize(svg.data());
    }
    state.counters["points"] = static_cast<double>(points);
    state.counters["cut"] = cut ? 1 : 0;
    state.counters["svg_kB"] = static_cast<double>(svgBytes) / 1024.0;
}

void BM_LongList(benchmark::State& state) {
    Run(state, LongList());
}
BENCHMARK(BM_LongList)->Unit(benchmark::kMillisecond);

void BM_Loops255x250(benchmark::State& state) {
    Run(state, Loops());
}
BENCHMARK(BM_Loops255x250)->Unit(benchmark::kMillisecond);

void BM_UnendedRecording(benchmark::State& state) {
    Run(state, Unended());
}
BENCHMARK(BM_UnendedRecording)->Unit(benchmark::kMillisecond);

void BM_FileOfZeros(benchmark::State& state) {
    Run(state, Zeros());
}
BENCHMARK(BM_FileOfZeros)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
