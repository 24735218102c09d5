// Soak: streams 1,000,000 commands (or the count given) through the program's exchange
// to zavsim at --time-scale 0, in lists of 1,000, and prints the resident memory at the
// start, after 100,000 commands and at the end. Target: growth under 50 MB.

#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "controller/controller.h"
#include "null_views.h"
#include "simulator_port.h"
#include "state/paths.h"
#include "zavsim.h"

namespace {

double ResidentMB() {
    std::ifstream statm("/proc/self/statm");
    long pages = 0, resident = 0;
    statm >> pages >> resident;
    return static_cast<double>(resident) * static_cast<double>(sysconf(_SC_PAGESIZE)) / 1e6;
}

} // namespace

int main(int argc, char** argv) {
    const long total = argc > 1 ? std::max(1000L, std::atol(argv[1])) : 1000000L;
    constexpr long ListLines = 1000; // a recording holds at most 1024 commands
    const auto dir =
        std::filesystem::temp_directory_path() / ("zav-soak-" + std::to_string(getpid()));
    std::filesystem::create_directories(dir / "ports");
    zav::SetAppDir(dir.string()); // no language files: built-in texts

    zavsim::TSimOptions options;
    options.TimeScale = 0;
    options.Port = 1;
    options.PortsDir = (dir / "ports").string();
    zavsim::TSimulator sim(options);
    sim.Start();
    zav::TQueueDispatcher dispatcher;
    zav::test::TNullViews views;
    zav::TController controller(dispatcher, views.Views());
    if (!OpenSimulatorPort(controller, options.PortsDir)) {
        std::fprintf(stderr, "cannot open the simulator's port\n");
        return 1;
    }
    // A recording of each list, so that every reply also reaches the "Loading:" memo.
    std::vector<std::string> list(ListLines, "SD200");
    list.front() = "LD1";
    list.back() = "ED";

    const double start = ResidentMB();
    double at100k = start;
    std::printf("resident memory at the start: %.1f MB\n", start);
    const auto began = std::chrono::steady_clock::now();
    for (long sent = 0; sent < total; sent += ListLines) {
        controller.MemoSend().SetLines(list);
        controller.btnRunTRClick();
        if (!dispatcher.ProcessUntil([&] { return !controller.ExchangeRunning(); }, 600000)) {
            std::fprintf(stderr, "the exchange did not end\n");
            return 1;
        }
        dispatcher.Drain();
        if (sent + ListLines == 100000) {
            at100k = ResidentMB();
            std::printf("after 100,000 commands: %.1f MB\n", at100k);
        }
    }
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - began).count();
    const double end = ResidentMB();
    const std::size_t answered = sim.Requests().size();
    std::printf("after %ld commands: %.1f MB (%.0f commands/s; the simulator keeps the last %zu "
                "requests)\n",
                total, end, static_cast<double>(total) / seconds, answered);
    const double growth = end - start;
    std::printf("growth %.1f MB (target: under 50 MB) %s\n", growth, growth < 50 ? "PASS" : "FAIL");
    std::filesystem::remove_all(dir);
    return growth < 50 ? 0 : 1;
}
