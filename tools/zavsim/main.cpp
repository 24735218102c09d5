// zavsim: the controller simulator as a program. Serves the line until SIGINT or SIGTERM.

#include <signal.h>

#include <cstdio>
#include <exception>
#include <string>
#include <vector>

#include "zavsim.h"

int main(int argc, char** argv) {
    const std::vector<std::string> args(argv + 1, argv + argc);
    for (const std::string& arg : args) {
        if (arg == "--help" || arg == "-h") {
            std::fputs(zavsim::SimUsage().c_str(), stdout);
            return 0;
        }
    }
    zavsim::TSimOptions options;
    const std::string error = zavsim::ParseSimOptions(args, options);
    if (!error.empty()) {
        std::fprintf(stderr, "zavsim: %s\n%s", error.c_str(), zavsim::SimUsage().c_str());
        return 2;
    }

    // The signals are taken by sigwait below; blocked before the loop thread starts so
    // that it inherits the mask and never sees them.
    sigset_t stopSignals;
    sigemptyset(&stopSignals);
    sigaddset(&stopSignals, SIGINT);
    sigaddset(&stopSignals, SIGTERM);
    pthread_sigmask(SIG_BLOCK, &stopSignals, nullptr);

    try {
        zavsim::TSimulator simulator(options);
        std::printf("zavsim: terminal %s\n", simulator.SlavePath().c_str());
        if (!simulator.PortLinkPath().empty()) {
            std::printf("zavsim: port COM%d -> %s\n", options.Port,
                        simulator.PortLinkPath().c_str());
        }
        std::fflush(stdout);
        simulator.Start();
        int signal = 0;
        sigwait(&stopSignals, &signal);
        std::fprintf(stderr, "zavsim: stopping on signal %d\n", signal);
        simulator.Stop();
    } catch (const std::exception& e) {
        std::fprintf(stderr, "zavsim: %s\n", e.what());
        return 1;
    }
    return 0;
}
