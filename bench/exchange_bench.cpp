// The exchange over a real pseudo-terminal with zavsim at the other end.
//
// 1. Exchange rate: a 255-command list sent by the exchange thread, against a minimal
//    raw client (write the command, read until its coded reply) over the same kind of
//    line, side by side in one run, with no emulated line delay. Target: the program
//    reaches at least 0.8 of the raw client's rate.
// 2. Wire efficiency: the same list at an emulated 9600 baud: the measured time over the
//    time its characters need on the wire. Target: within 0.005 of the raw client's over
//    the same line (whose own figure shows the simulator's pacing).
//
// Each figure is the median of several runs.
//
// exchange_bench RUNS raw|program [9600] runs one side alone and prints its median, so
// that a profiler (perf, strace -f -c) sees only that side's threads.

#include <fcntl.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "controller/controller.h"
#include "null_views.h"
#include "simulator_port.h"
#include "state/paths.h"
#include "zavsim.h"

namespace {

using Clock = std::chrono::steady_clock;
constexpr int Commands = 255;
const std::string Command = "BG"; // answered "BG*" + "E10*"

double Median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

std::filesystem::path PortsDir() {
    return std::filesystem::temp_directory_path() / ("zav-bench-" + std::to_string(getpid()));
}

// Seconds for the raw client to send the list.
double RawClient(const zavsim::TSimOptions& options) {
    zavsim::TSimulator sim(options);
    sim.Start();
    const int fd = open(sim.SlavePath().c_str(), O_RDWR | O_NOCTTY);
    termios t{};
    tcgetattr(fd, &t);
    cfmakeraw(&t);
    tcsetattr(fd, TCSANOW, &t);
    const std::string request = Command + "*";
    std::string pending;
    const auto start = Clock::now();
    for (int i = 0; i < Commands; ++i) {
        if (write(fd, request.data(), request.size()) != static_cast<ssize_t>(request.size()))
            return -1;
        // The echo, then the four characters of the coded reply.
        for (;;) {
            const std::size_t echo = pending.find('*');
            if (echo != std::string::npos && pending.size() >= echo + 5 &&
                pending[echo + 4] == '*') {
                pending.erase(0, echo + 5);
                break;
            }
            pollfd p{fd, POLLIN, 0};
            if (poll(&p, 1, 5000) <= 0)
                return -1;
            char buf[256];
            const ssize_t n = read(fd, buf, sizeof buf);
            if (n <= 0)
                return -1;
            pending.append(buf, static_cast<std::size_t>(n));
        }
    }
    const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
    close(fd);
    return seconds;
}

// Seconds for the program's exchange thread to send the list.
double Program(zavsim::TSimOptions options) {
    options.Port = 1;
    options.PortsDir = PortsDir().string();
    zavsim::TSimulator sim(options);
    sim.Start();
    zav::TQueueDispatcher dispatcher;
    zav::test::TNullViews views;
    zav::TController controller(dispatcher, views.Views());
    if (!OpenSimulatorPort(controller, options.PortsDir))
        return -1;
    controller.MemoSend().SetLines(std::vector<std::string>(Commands, Command));

    const auto start = Clock::now();
    controller.btnRunTRClick();
    dispatcher.ProcessUntil([&] { return !controller.ExchangeRunning(); }, 600000);
    const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
    dispatcher.Drain();
    return sim.Requests().size() == Commands ? seconds : -1;
}

} // namespace

int main(int argc, char** argv) {
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 7;
    zav::SetAppDir(PortsDir().string()); // no language files: built-in texts
    if (argc > 2) {
        const bool rawSide = std::string(argv[2]) == "raw";
        zavsim::TSimOptions options;
        options.TimeScale = 0;
        if (argc > 3)
            options.Baud = static_cast<std::uint32_t>(std::atoi(argv[3]));
        std::vector<double> seconds;
        for (int i = 0; i < runs; ++i)
            seconds.push_back(rawSide ? RawClient(options) : Program(options));
        std::filesystem::remove_all(PortsDir());
        if (*std::min_element(seconds.begin(), seconds.end()) < 0)
            return 1;
        std::printf("%s: median %.4f s, %.0f commands/s\n", rawSide ? "raw client" : "program",
                    Median(seconds), Commands / Median(seconds));
        return 0;
    }
    bool ok = true;

    std::vector<double> raw, program;
    zavsim::TSimOptions fast;
    fast.TimeScale = 0;
    for (int i = 0; i < runs; ++i) {
        raw.push_back(RawClient(fast));
        program.push_back(Program(fast));
    }
    if (*std::min_element(raw.begin(), raw.end()) < 0 ||
        *std::min_element(program.begin(), program.end()) < 0) {
        std::fprintf(stderr, "an exchange failed\n");
        return 1;
    }
    const double rawRate = Commands / Median(raw), programRate = Commands / Median(program);
    const double ratio = programRate / rawRate;
    std::printf("exchange rate: program %.0f commands/s, raw client %.0f commands/s, "
                "ratio %.2f (target: at least 0.8) %s\n",
                programRate, rawRate, ratio, ratio >= 0.8 ? "PASS" : "FAIL");
    ok = ok && ratio >= 0.8;

    zavsim::TSimOptions slow = fast;
    slow.Baud = 9600;
    std::vector<double> wire;
    std::vector<double> rawWire;
    for (int i = 0; i < std::max(1, runs / 2); ++i) {
        wire.push_back(Program(slow));
        rawWire.push_back(RawClient(slow));
    }
    // Per command: the request with its "*" out; its echo and the coded reply back.
    const double characters = Commands * ((Command.size() + 1) * 2 + 4.0);
    const double wireSeconds = characters * 11.0 / 9600;
    const double efficiency = Median(wire) / wireSeconds;
    const double rawEfficiency = Median(rawWire) / wireSeconds;
    const bool wireOk = efficiency <= rawEfficiency + 0.005;
    std::printf("wire efficiency at 9600 baud: program %.3f s, raw client %.3f s, %.3f s on "
                "the wire; ratios %.3f and %.3f (target: the program within 0.005 of the raw "
                "client) %s\n",
                Median(wire), Median(rawWire), wireSeconds, efficiency, rawEfficiency,
                wireOk ? "PASS" : "FAIL");
    ok = ok && wireOk;
    std::filesystem::remove_all(PortsDir());
    return ok ? 0 : 1;
}
