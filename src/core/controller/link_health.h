#pragma once
// The health of the line to the controller in this run of the program, from the record
// of every line sent (replies in time, echoes that differ or never come, time-outs, the
// reply times), the data transfer errors that reply processing reports and the losses of
// the port's device.
//
// Green while nothing went wrong; amber after any fault; red while RedFaults or more of
// the last Window commands (or transfer errors) were faults.

#include <chrono>
#include <cstddef>
#include <deque>
#include <functional>
#include <mutex>

#include "serial/exchange_observer.h"

namespace zav {

enum class TLinkColour { Green, Amber, Red };

struct TLinkCounts {
    std::size_t InTime = 0;         // lines answered by a coded reply within the reply time
    std::size_t EchoMismatches = 0; // echoes that differ from the line sent
    std::size_t EchoesMissing = 0;  // coded replies without an echo before them
    std::size_t TransferErrors = 0;
    std::size_t TimeOuts = 0;
    std::size_t PortLosses = 0; // the device went away
    // Over the answered lines among the last Window: none while there is none.
    bool HasTimes = false;
    std::chrono::milliseconds Median{0};
    std::chrono::milliseconds Slowest{0};
    TLinkColour Colour = TLinkColour::Green;
    bool operator==(const TLinkCounts&) const = default;
};

class TLinkHealth : public IExchangeObserver {
public:
    static constexpr std::size_t Window = 100;
    static constexpr std::size_t RedFaults = 3;

    // Any thread: a data transfer error was received; the port's device went away.
    void TransferError();
    void PortLost();
    TLinkCounts Counts() const;
    // Called, from any thread and under the class's lock, when the counts change and
    // Counts has been read since the last call: it must only post. Empty: none.
    void SetChanged(std::function<void()> changed);

    // IExchangeObserver
    void ExchangeStarted(const std::vector<std::string>&) override {}
    void LineDone(const TExchangeRecord& record) override;
    void ExchangeEnded(TSendOutcome) override {}

private:
    struct TEntry {
        bool Replied = false;
        std::chrono::milliseconds Latency{0};
        bool Fault = false;
    };
    // Under mutex_.
    void Add(TEntry entry);

    mutable std::mutex mutex_;
    // Guarded by mutex_:
    TLinkCounts counts_;
    std::deque<TEntry> recent_; // the last Window
    std::function<void()> changed_;
    mutable bool notified_ = false; // a change was told and Counts not read since
};

} // namespace zav
