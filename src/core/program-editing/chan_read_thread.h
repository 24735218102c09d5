#pragma once
// The read-back thread: sends the read request ("RD" + coordinate + "*", or "RB*" in
// direct control) and
// waits for reply processing to collect the answer into ReadBuffer. The wait ends at
// "ED*" (ReadDone) or when nothing more has arrived for ReplyTimeout, so a long
// program on a slow line arrives whole. The thread only posts its result.

#include <atomic>
#include <cstdint>
#include <functional>
#include <string>
#include <thread>

namespace zav {

class IDispatcher;
class TComPort;
class TCommonDatas;
class TEvent;

// How a read-back ended.
enum class TReadOutcome {
    Complete,   // the answer holds its end mark "ED*"
    Incomplete, // something arrived, but the line fell silent before the end mark
    NoAnswer,   // nothing at all arrived in time
    PortLost,   // the device went away before the end mark (the port reports that itself)
};

// What a read-back uses of the port side and the shared state.
struct TReadBackLinks {
    TComPort& Port;
    IDispatcher& Dispatcher;
    TCommonDatas& Datas;
    // Set by reply processing at the end mark, and by the receive thread when the device
    // is gone.
    TEvent& ReadDone;
    TEvent& ReplyEvent;
    // Counts the devices found gone by the receive thread.
    const std::atomic<std::uint64_t>& PortLosses;
};

class TChanReadThread {
public:
    // Runs on the main thread, through the dispatcher; never after the thread was
    // terminated.
    using TDone = std::function<void(std::string text, TReadOutcome outcome)>;

    // coordinate: 1..3, whose stored program is read (the buffer in direct control).
    TChanReadThread(TReadBackLinks links, TDone done, int coordinate = 1);
    ~TChanReadThread(); // terminates and joins
    TChanReadThread(const TChanReadThread&) = delete;
    TChanReadThread& operator=(const TChanReadThread&) = delete;

    const std::string& Request() const { return request_; }

private:
    void Execute();

    TReadBackLinks links_;
    TDone done_;
    const std::string request_;
    const std::uint64_t losses_; // PortLosses when the read began
    std::atomic<bool> terminated_{false};
    std::thread thread_;
};

} // namespace zav
