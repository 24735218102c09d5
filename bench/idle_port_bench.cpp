// CPU time used by an open, receiving, idle port: the receive thread must sleep in its
// wait, not poll. Opens a pseudo-terminal as COM 1, lets it sit for 10 s, and prints
// the process CPU time used meanwhile. Target: under 10 ms.

#include <time.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <thread>

#include "pty_peer.h"
#include "serial/com_port.h"

namespace {
double CpuSeconds() {
    timespec ts{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &ts);
    return static_cast<double>(ts.tv_sec) + static_cast<double>(ts.tv_nsec) * 1e-9;
}
} // namespace

int main(int argc, char** argv) {
    const int seconds = argc > 1 ? std::atoi(argv[1]) : 10;
    const auto dir = std::filesystem::temp_directory_path() / "zav-idle-bench";
    zav::test::TPtyPeer peer;
    peer.Link(dir / "ports", 1);

    zav::TQueueDispatcher dispatcher;
    zav::TComPort port(dispatcher);
    port.SetPortsDir((dir / "ports").string());
    port.SetPortNumber(1);
    port.Open();
    if (!port.Connected()) {
        std::fprintf(stderr, "cannot open the pseudo-terminal as COM 1\n");
        return 1;
    }
    port.SetReceiving(true);

    const double before = CpuSeconds();
    std::this_thread::sleep_for(std::chrono::seconds(seconds)); // idle is what is measured
    const double used = CpuSeconds() - before;
    port.Close();
    std::filesystem::remove_all(dir);

    std::printf("idle open port: %.3f ms CPU over %d s (target: under 10 ms) %s\n", used * 1e3,
                seconds, used < 0.010 ? "PASS" : "FAIL");
    return used < 0.010 ? 0 : 1;
}
