#pragma once
// The exchange thread: sends the lines of the send list one at a time, each followed by
// "*", and waits for reply processing to report the controller's coded reply (through
// ReplyEvent and LastError) within ReplyTimeout. It stops at the end of the list, on a
// missing reply, and on a command or data error when the settings say so.
//
// A reply that lets the list go on is taken on the receive thread, which sends the next
// line at once when the driver takes it without waiting: the exchange thread then sleeps
// until the list ends, a stop, a reply it must act on, or the reply time-out, and the
// round trip of each command costs no thread wake-up beyond the reply's own.

#include <atomic>
#include <chrono>
#include <cstdint>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace zav {

class TComPort;
class TCommonDatas;
class TEvent;
class TExchangeControl;

// How the send of one line ended.
enum class TSendOutcome {
    Accepted,     // its coded reply says done
    CommandError, // code 6: the controller refused the command
    DataError,    // code 9: the controller refused its value
    NoAnswer,     // no coded reply within the reply time
    EchoMismatch, // the controller echoed another command than the line: the list stops
    Stopped,      // the exchange was stopped meanwhile (not by the operator, whose stop
                  // waits for this reply)
};

// The outcome a coded reply ("E" + coordinate + code + "*", as kept in LastError) gives.
TSendOutcome ReplyOutcome(const std::string& code);
// Whether the list stops after a line with this outcome, given the error settings
// (1: stop) for command and data errors.
bool StopsAfter(TSendOutcome outcome, int stopOnCommandError, int stopOnDataError);

// One line's exchange, as the send journal and the link health see it.
struct TExchangeRecord {
    std::chrono::system_clock::time_point SentAt; // when its write ended
    std::size_t Index = 0;                        // in the list the exchange was started on
    std::string Request;                          // the line as sent, without "*"
    std::string Echo;  // what the controller echoed, without "*"; empty when none came
    std::string Reply; // its coded reply; empty without one
    TSendOutcome Outcome = TSendOutcome::Accepted;
    std::chrono::milliseconds Latency{0}; // from the end of its write to its coded reply
};

// What the exchange thread works with. The hooks are called on the exchange thread; the
// ones that reach the window post to it and never wait, since the main thread may itself
// be waiting for the exchange to end.
struct TExchangeLinks {
    TComPort& Port;
    const TCommonDatas& Datas;
    TExchangeControl& Control;
    TEvent& ReplyEvent;
    TEvent& SenderIdleEvent;
    // While on, received text is shown on the exchange thread's tick (FlushShown).
    std::function<void(bool on)> DeferShown;
    std::function<void()> FlushShown;
    // A line got no reply in time.
    std::function<void()> NoReply;
    // A line's coded reply was taken, or its reply time ran out. Called on the receive or
    // the exchange thread, in the order of the lines, under the thread's lock: it must be
    // quick and must not call back into the exchange. May be empty.
    std::function<void(const TExchangeRecord&)> LineDone;
    // The thread is about to leave; Finished() is true.
    std::function<void()> Ended;
};

class TRWThread {
public:
    // Starts at once on lines, the send list as it is now, and sends its lines from first
    // up to end (one past the last; clipped to the list). The lines outside are kept, so
    // that every line keeps its index in the list. Construct on the main thread.
    TRWThread(std::vector<std::string> lines, TExchangeLinks links, std::size_t first = 0,
              std::size_t end = static_cast<std::size_t>(-1));
    ~TRWThread(); // asks the thread to stop and joins it
    TRWThread(const TRWThread&) = delete;
    TRWThread& operator=(const TRWThread&) = delete;

    bool Finished() const { return finished_.load(); }
    // How the last line sent ended; meaningful once Finished.
    TSendOutcome LastOutcome() const { return lastOutcome_.load(); }
    // Makes the thread stop at once, without sending more; a write in progress is ended
    // by closing the port.
    void Terminate();
    void Join();

private:
    using TClock = std::chrono::steady_clock;

    void Execute();
    TSendOutcome WaitReply();
    // The verdict on the coded reply in LastError.
    TSendOutcome ReplyResult() const;
    // Whether the list stops after a line with this outcome.
    bool StopsAfter(TSendOutcome outcome) const;
    // The first line from index on that is not empty; end_ when none is left.
    std::size_t NextLine(std::size_t index) const;
    // When the reply to a line written now is late.
    TClock::time_point ReplyDeadline() const;
    // Exchange thread: writes bytes of line index, waiting as long as the write takes.
    bool Write(std::size_t index, const std::string& bytes);
    // Receive thread (reply processing takes the reply through it).
    bool TakeReplyInThread();
    // Under mutex_: reports the line in flight as done with this outcome.
    void ReportLine(TSendOutcome outcome, const std::string& reply,
                    TClock::time_point repliedAt = TClock::now());

    const std::vector<std::string> lines_; // the send list when the exchange began
    const std::size_t first_;              // the lines sent: first_ up to end_
    const std::size_t end_;
    const TExchangeLinks links_;
    std::vector<std::string> requests_; // each line as sent, with its "*"
    std::atomic<bool> finished_{false};
    std::atomic<TSendOutcome> lastOutcome_{TSendOutcome::Accepted};

    std::mutex mutex_;
    // Guarded by mutex_:
    std::size_t line_ = 0;   // index of the line in flight
    bool awaiting_ = false;  // its reply is still to come
    bool writing_ = false;   // the exchange thread is writing it
    bool ended_ = false;     // the exchange thread has given up waiting
    std::uint64_t sent_ = 0; // lines sent, so that a wait sees the list move on
    TClock::time_point deadline_{};
    TClock::time_point sentAt_{}; // when the write of the line in flight ended
    std::chrono::system_clock::time_point sentWall_{};
    std::string rest_; // what the driver did not take of a line sent on the receive thread
    std::atomic<bool> restPending_{false}; // rest_ waits for the exchange thread

    std::thread thread_;
};

} // namespace zav
