#pragma once
// The simulator of a Windows test run under Wine: zavsim runs on the Linux side, hosted
// by zavsim_remote, whose port ZAV_SIM_SERVER names. Same members as zavsim::TSimulator
// as far as the end-to-end tests use them; COM n reaches its line through the Wine
// prefix's port mapping, set up by tools/wine-tests.

#include <chrono>
#include <cstddef>
#include <string>
#include <vector>

#include "zavsim.h"

namespace zav::test {

class TRemoteSim {
public:
    // The simulator is running once this returns; throws std::runtime_error if not.
    explicit TRemoteSim(const zavsim::TSimOptions& options);
    ~TRemoteSim(); // stops it, which removes its port link
    TRemoteSim(const TRemoteSim&) = delete;
    TRemoteSim& operator=(const TRemoteSim&) = delete;

    void Start() {} // started by the constructor already
    std::vector<std::string> Requests() const;
    bool WaitForRequests(std::size_t count, std::chrono::milliseconds timeout) const;
    zavsim::TRunState RunState(int coordinate) const;
    std::vector<zavsim::TStoredCommand> Program(int coordinate) const;

private:
    // Sends one request line and returns the first line of the answer after "ok".
    std::string Ask(const std::string& request) const;
    std::string ReadLine() const;

    unsigned long long socket_; // a SOCKET, without windows.h in this header
};

} // namespace zav::test
