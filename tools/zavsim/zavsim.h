#pragma once
// The controller simulator: plays a three-coordinate controller at the master side of a
// pseudo-terminal, so that the program (or a test) opens the slave side as its serial
// port. The line is served by one event loop on its own thread; every public member may
// be called from any thread.

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "controller_model.h"

namespace zavsim {

struct TSimOptions {
    // Port link: with Port > 0 the link <PortsDir>/COM<Port> points at the slave side.
    // An empty PortsDir means "ports" beside the running executable.
    int Port = 0;
    std::string PortsDir;
    // Emulated line speed: each character takes 11/Baud s on the wire, both ways; 0 = none.
    std::uint32_t Baud = 0;
    // Multiplies every program duration; 0 = instantaneous.
    double TimeScale = 1.0;
    // Faults.
    std::optional<std::uint64_t> SilentAfter; // no output at all after this many requests
    std::optional<std::uint64_t> E5Every;     // every K-th request gets only "E" n "5*"
    double Garbage = 0;                       // chance of a garbage byte before each reply
    std::optional<std::uint32_t> RandomStart; // of the garbage generator; random when empty
    bool Split = false;                       // one write per reply byte, 1 ms apart
    std::optional<std::uint64_t> HangupAfter; // close the master after this many requests
    // The program memory is read from this file at start and written to it after each
    // request, so that it outlives a hang-up and the simulator itself; empty: not kept.
    std::string MemoryFile;
    // The K-th request is answered only by NoiseBytes bytes without "*" (not acted on).
    std::optional<std::uint64_t> NoiseAt;
    // A stop of a running program is accepted with code 0 and ends this many ms later
    // (code 4); without it the end answers the stop at once.
    std::optional<std::uint64_t> StopMs;
    // The K-th request arrives with one digit changed, still a valid command, as line noise
    // changes it; the simulator echoes and acts on what it received.
    std::optional<std::uint64_t> CorruptAt;
    std::size_t NoiseBytes = 1 << 20;
    bool Verbose = false; // traffic to stderr
    // Requests longer than this are dropped and answered with code 6.
    std::size_t MaxRequest = 64;
};

// Parses the command-line options of the executable into options. Returns an empty
// text on success, else a message naming the faulty option.
std::string ParseSimOptions(const std::vector<std::string>& args, TSimOptions& options);
std::string SimUsage();
// The command-line options that ParseSimOptions reads back as options (all but the
// sizes that have no option).
std::vector<std::string> SimOptionArgs(const TSimOptions& options);

class TSimulator {
public:
    // Opens the pseudo-terminal and makes the port link; throws std::runtime_error when
    // either fails.
    explicit TSimulator(TSimOptions options = {});
    ~TSimulator(); // stops the loop, closes the terminal, removes the link
    TSimulator(const TSimulator&) = delete;
    TSimulator& operator=(const TSimulator&) = delete;

    std::string SlavePath() const;
    std::string PortLinkPath() const; // empty without a port link

    void Start(); // starts the loop thread (once)
    void Stop();  // ends it; idempotent

    // Inspection.
    std::vector<std::string> Requests() const; // complete requests received, without "*"
    std::vector<TStoredCommand> Program(int coordinate) const;
    std::vector<TStoredCommand> Buffer() const;
    TRunState RunState(int coordinate) const;
    long long Position(int coordinate) const;
    bool HungUp() const;
    std::uint64_t WriteCalls() const; // write() calls that put reply bytes on the line
    // Waits until count requests in all have been received and answered (or left
    // unanswered by a fault); false when timeout passed first.
    bool WaitForRequests(std::size_t count, std::chrono::milliseconds timeout) const;

private:
    struct TImpl;
    std::unique_ptr<TImpl> impl_;
};

} // namespace zavsim
