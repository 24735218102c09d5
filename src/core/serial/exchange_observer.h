#pragma once
// What watches the exchanges of lists: the send journal and the link health.

#include <cstddef>
#include <string>
#include <vector>

#include "serial/rw_thread.h"

namespace zav {

class IExchangeObserver {
public:
    virtual ~IExchangeObserver() = default;
    // Main thread, just before ExchangeStarted: the lines first up to end (one past the
    // last) are the ones to be sent; the others are outside this send.
    virtual void ExchangeRange(std::size_t /*first*/, std::size_t /*end*/) {}
    // Main thread: an exchange starts on these lines (the send list as it is now).
    virtual void ExchangeStarted(const std::vector<std::string>& lines) = 0;
    // Receive or exchange thread, in the order of the lines: see TExchangeLinks::LineDone.
    virtual void LineDone(const TExchangeRecord& record) = 0;
    // Main thread: the exchange has ended and its end was taken back; outcome is that of
    // its last line.
    virtual void ExchangeEnded(TSendOutcome outcome) = 0;
};

} // namespace zav
