// Reply processing throughput: a stream of typical controller traffic (echoes and coded
// replies, a read-back now and then), handed over in blocks of 1000 bytes as the
// receive thread does, with views that do nothing. Reports bytes per second for a 1 MB
// and a 10 MB stream; equal rates mean the cost is linear in the length.

#include <benchmark/benchmark.h>

#include <filesystem>

#include "controller/controller.h"
#include "null_views.h"
#include "state/paths.h"

namespace {

std::string Traffic(std::size_t bytes) {
    const std::string cycle = "LD1*E10*BG*E10*EN*E10*AL+50*E10*SD200*E10*DL*E10*MV200*E10*ED*E10*"
                              "ST1*E10*E14*RD1*BG*EN*AL50*SD200*DL*MV200*ED*E10*";
    std::string s;
    s.reserve(bytes + cycle.size());
    while (s.size() < bytes)
        s += cycle;
    s.resize(bytes);
    return s;
}

void BM_ProcessReplies(benchmark::State& state) {
    zav::SetAppDir((std::filesystem::temp_directory_path() / "zav-bench").string());
    const std::string stream = Traffic(static_cast<std::size_t>(state.range(0)));
    zav::TQueueDispatcher dispatcher;
    zav::test::TNullViews views;
    for (auto _ : state) {
        state.PauseTiming();
        auto controller = std::make_unique<zav::TController>(dispatcher, views.Views());
        state.ResumeTiming();
        const auto* bytes = reinterpret_cast<const std::uint8_t*>(stream.data());
        for (std::size_t i = 0; i < stream.size(); i += 1000) {
            const auto n =
                static_cast<std::uint32_t>(std::min<std::size_t>(1000, stream.size() - i));
            controller->HandleReceived(bytes + i, n, 0);
        }
        benchmark::DoNotOptimize(controller->Replies().ReceiveBuffer());
        state.PauseTiming();
        controller.reset();
        state.ResumeTiming();
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * state.range(0));
}
BENCHMARK(BM_ProcessReplies)->Arg(1 << 20)->Arg(10 << 20)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
