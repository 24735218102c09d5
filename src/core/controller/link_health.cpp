#include "controller/link_health.h"

#include <algorithm>
#include <vector>

#include "serial/echo_check.h"

namespace zav {

void TLinkHealth::SetChanged(std::function<void()> changed) {
    std::lock_guard lock(mutex_);
    changed_ = std::move(changed);
    notified_ = false;
}

void TLinkHealth::TransferError() {
    std::lock_guard lock(mutex_);
    ++counts_.TransferErrors;
    Add({false, {}, true});
}

void TLinkHealth::PortLost() {
    std::lock_guard lock(mutex_);
    ++counts_.PortLosses;
    Add({false, {}, true});
}

void TLinkHealth::LineDone(const TExchangeRecord& record) {
    std::lock_guard lock(mutex_);
    if (record.Outcome == TSendOutcome::Stopped)
        return; // the stop's cause counts, not the line it cut short
    if (record.Outcome == TSendOutcome::NoAnswer || record.Reply.empty()) {
        ++counts_.TimeOuts;
        Add({false, {}, true});
        return;
    }
    ++counts_.InTime;
    bool fault = false;
    if (record.Echo.empty()) {
        ++counts_.EchoesMissing;
        fault = true;
    } else if (!TEchoCheck::Matches(record.Request, record.Echo)) {
        ++counts_.EchoMismatches;
        fault = true;
    }
    Add({true, record.Latency, fault});
}

void TLinkHealth::Add(TEntry entry) {
    recent_.push_back(entry);
    if (recent_.size() > Window)
        recent_.pop_front();
    std::vector<std::chrono::milliseconds> times;
    std::size_t faults = 0;
    for (const TEntry& e : recent_) {
        if (e.Replied)
            times.push_back(e.Latency);
        faults += e.Fault ? 1 : 0;
    }
    counts_.HasTimes = !times.empty();
    if (counts_.HasTimes) {
        std::sort(times.begin(), times.end());
        const std::size_t mid = times.size() / 2;
        counts_.Median = times.size() % 2 ? times[mid] : (times[mid - 1] + times[mid]) / 2;
        counts_.Slowest = times.back();
    }
    const bool anyFault = counts_.EchoMismatches + counts_.EchoesMissing + counts_.TransferErrors +
                              counts_.TimeOuts + counts_.PortLosses >
                          0;
    counts_.Colour = faults >= RedFaults ? TLinkColour::Red
                     : anyFault          ? TLinkColour::Amber
                                         : TLinkColour::Green;
    if (changed_ && !notified_) {
        notified_ = true;
        changed_();
    }
}

TLinkCounts TLinkHealth::Counts() const {
    std::lock_guard lock(mutex_);
    notified_ = false;
    return counts_;
}

} // namespace zav
