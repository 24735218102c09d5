#pragma once
// The exchange thread: sends the lines of the send list one at a time, each followed by
// "*", and waits for reply processing to report the controller's coded reply (through
// ReplyEvent and LastError) within ReplyTimeout. It stops at the end of the list, on a
// missing reply, and on a command or data error when the settings say so.

#include <atomic>
#include <string>
#include <thread>
#include <vector>

namespace zav {

class TController;

class TRWThread {
public:
    // Takes the send list as it is now and starts at once. Construct on the main thread.
    explicit TRWThread(TController& controller);
    ~TRWThread(); // asks the thread to stop and joins it
    TRWThread(const TRWThread&) = delete;
    TRWThread& operator=(const TRWThread&) = delete;

    // " " accepted, "No answer!" no reply in time, "Er6" command error, "Er9" data error,
    // "Stopped" when the exchange was stopped meanwhile (not by the operator, whose stop
    // waits for this reply).
    std::string WaitReply();
    bool Finished() const { return finished_.load(); }
    // Makes the thread stop at once, without sending more; a write in progress is ended
    // by closing the port.
    void Terminate();
    void Join();

private:
    void Execute();

    TController& controller_;
    const std::vector<std::string> lines_; // the send list when the exchange began
    std::atomic<bool> finished_{false};
    std::thread thread_;
};

} // namespace zav
