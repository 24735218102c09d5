#pragma once
// The read-back thread: sends the read request ("RD1*", or "RB*" in direct control) and
// waits for reply processing to collect the answer into ReadBuffer. The wait ends at
// "ED*" (ReadDoneEvent) or when nothing more has arrived for ReplyTimeout, so a long
// program on a slow line arrives whole. The thread only posts its result.

#include <atomic>
#include <cstdint>
#include <functional>
#include <string>
#include <thread>

namespace zav {

class TController;

class TChanReadThread {
public:
    // answered: false when nothing at all arrived in time; lost: the device went away
    // meanwhile (which the port reports itself). Runs on the main thread, through the
    // dispatcher; never after the thread was terminated.
    using TDone = std::function<void(std::string text, bool answered, bool lost)>;

    TChanReadThread(TController& controller, TDone done);
    ~TChanReadThread(); // terminates and joins
    TChanReadThread(const TChanReadThread&) = delete;
    TChanReadThread& operator=(const TChanReadThread&) = delete;

    const std::string& Request() const { return request_; }

private:
    void Execute();

    TController& controller_;
    TDone done_;
    const std::string request_;
    const std::uint64_t losses_; // PortLosses when the read began
    std::atomic<bool> terminated_{false};
    std::thread thread_;
};

} // namespace zav
