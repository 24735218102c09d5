#pragma once
// What the threads around one exchange of the send list share: which line is in flight,
// and whether the exchange must stop early. Reply processing stops it on a data transfer
// error and the receive thread when the device goes away, both on the receive thread;
// shutdown and the operator stop it from the main thread. Once Stop has returned (and,
// when asked, the write in progress has finished) the exchange sends nothing more.

#include <condition_variable>
#include <cstddef>
#include <functional>
#include <mutex>

#include "serial/echo_check.h"
#include "serial/event.h"

namespace zav {

// Operator: the reply to the line in flight is still awaited, then nothing more is sent.
// The others end the wait for it at once.
enum class TExchangeStop { None, Operator, TransferError, EchoMismatch, PortLost, Shutdown };

class TExchangeControl {
public:
    // replyEvent is the event the exchange waits on for each reply; a stop wakes it.
    explicit TExchangeControl(TEvent& replyEvent) : replyEvent_(replyEvent) {}
    TExchangeControl(const TExchangeControl&) = delete;
    TExchangeControl& operator=(const TExchangeControl&) = delete;

    // Main thread, before the exchange thread starts: a list of total lines.
    void Begin(std::size_t total);
    // Exchange thread: runs write for line (1-based) unless the exchange was stopped.
    bool Send(std::size_t line, const std::function<void()>& write);
    // Receive thread: runs a write that never blocks, unless the exchange was stopped; the
    // line counts as sent only when write returns true (the driver took some of it).
    bool TrySend(std::size_t line, const std::function<bool()>& write);
    // Exchange thread: waits up to ms for the reply event; false on time-out, a stop
    // that ends the wait, or (checked on each Notify of the event) wake() true.
    bool WaitReply(int ms, const std::function<bool()>& wake = {});
    // Exchange thread, when it leaves.
    void End();

    // The exchange, while it runs: takes a reply on the receive thread (and may send its
    // next line from there), sparing the wake-up of the exchange thread; false when that
    // thread must be woken to take it. Set to nothing before the taker goes away.
    void SetReplyTaker(std::function<bool()> taker);
    // Receive thread, for each coded reply that answers a command, after its state is set.
    bool TakeReply();

    struct TPosition {
        bool Running = false; // an exchange runs (for Stop: it ran and is stopped now)
        std::size_t Line = 0; // the line last sent (0: none yet)
        std::size_t Total = 0;
    };
    // Any thread. With waitForWrite the call returns only once a write in progress has
    // finished; shutdown does not wait, since closing the port is what ends a blocked one.
    // A fault or shutdown still stops an exchange the operator has stopped: its wait for
    // the last reply must not hold them up.
    TPosition Stop(TExchangeStop why, bool waitForWrite = true);
    TPosition Position() const;
    TExchangeStop StopReason() const;
    bool Running() const;
    // True once no exchange runs, or false after ms.
    bool WaitEnded(int ms);
    // The echo of the line in flight: the exchange thread expects it, reply processing
    // hands it in and takes the verdict with the line's coded reply.
    TEchoCheck& Echo() { return echo_; }

private:
    TEvent& replyEvent_;
    TEchoCheck echo_;
    // Held while the taker runs, so that clearing it waits for a call in progress.
    std::mutex takerMutex_;
    std::function<bool()> taker_; // guarded by takerMutex_
    mutable std::mutex mutex_;
    std::condition_variable changed_;
    // Guarded by mutex_:
    bool running_ = false;
    bool writing_ = false;
    TExchangeStop stop_ = TExchangeStop::None;
    std::size_t line_ = 0;
    std::size_t total_ = 0;
};

} // namespace zav
