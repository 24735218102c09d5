// Editing a long command list in the core: 100,000 commands built with the tool
// buttons (range check, conversion, description), 1,000 rows dragged from the top to
// the bottom, 1,000 rows removed from the top, then "Clear all". The target is under
// 1 s in all.

#include <benchmark/benchmark.h>

#include <filesystem>

#include "controller/controller.h"
#include "null_views.h"
#include "state/paths.h"

namespace {

void BM_EditLongList(benchmark::State& state) {
    zav::SetAppDir((std::filesystem::temp_directory_path() / "zav-bench").string());
    zav::TQueueDispatcher dispatcher;
    zav::test::TNullViews views;
    zav::TController controller(dispatcher, views.Views());
    zav::TCommandEditor& editor = controller.Editor();
    const int commands = static_cast<int>(state.range(0));
    for (auto _ : state) {
        for (int i = 0; i < commands; ++i)
            editor.AddToolCommand(i % 2 ? zav::ciMV : zav::ciSD, std::to_string(1 + i % 5000));
        for (int i = 0; i < 1000; ++i)
            editor.StringGridSendRowMoved(1, commands);
        for (int i = 0; i < 1000; ++i)
            editor.btnDelRawClick(1);
        benchmark::DoNotOptimize(controller.MemoSend().Count());
        editor.btnAllClearClick();
    }
}
BENCHMARK(BM_EditLongList)->Arg(100000)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
