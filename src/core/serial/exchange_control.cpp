#include "serial/exchange_control.h"

#include <chrono>

namespace zav {

void TExchangeControl::Begin(std::size_t total) {
    std::lock_guard lock(mutex_);
    running_ = true;
    writing_ = false;
    stop_ = TExchangeStop::None;
    line_ = 0;
    total_ = total;
    echo_.Reset();
}

bool TExchangeControl::Send(std::size_t line, const std::function<void()>& write) {
    {
        std::lock_guard lock(mutex_);
        if (stop_ != TExchangeStop::None)
            return false;
        writing_ = true;
        line_ = line;
    }
    // Not under the lock: a write that blocks must not block a Stop for shutdown.
    struct TDone {
        TExchangeControl& c;
        ~TDone() {
            {
                std::lock_guard lock(c.mutex_);
                c.writing_ = false;
            }
            c.changed_.notify_all();
        }
    } done{*this};
    write();
    return true;
}

bool TExchangeControl::TrySend(std::size_t line, const std::function<bool()>& write) {
    // Under the lock: the write does not block, and a stop must not report a line that
    // the driver refused as the one in flight.
    std::lock_guard lock(mutex_);
    if (stop_ != TExchangeStop::None || !write())
        return false;
    line_ = line;
    return true;
}

bool TExchangeControl::WaitReply(int ms, const std::function<bool()>& wake) {
    return replyEvent_.WaitFor(ms, [this, &wake] {
        const TExchangeStop stop = StopReason();
        return (stop != TExchangeStop::None && stop != TExchangeStop::Operator) || (wake && wake());
    });
}

void TExchangeControl::SetReplyTaker(std::function<bool()> taker) {
    std::lock_guard lock(takerMutex_);
    taker_ = std::move(taker);
}

bool TExchangeControl::TakeReply() {
    std::lock_guard lock(takerMutex_);
    return taker_ && taker_();
}

void TExchangeControl::End() {
    echo_.Reset();
    {
        std::lock_guard lock(mutex_);
        running_ = false;
    }
    changed_.notify_all();
}

TExchangeControl::TPosition TExchangeControl::Stop(TExchangeStop why, bool waitForWrite) {
    TPosition result;
    {
        std::unique_lock lock(mutex_);
        const bool escalates = stop_ == TExchangeStop::Operator && why != TExchangeStop::Operator;
        if (!running_ || (stop_ != TExchangeStop::None && !escalates))
            return result;
        stop_ = why;
        result = {true, line_, total_};
        if (waitForWrite)
            changed_.wait(lock, [this] { return !writing_; });
    }
    replyEvent_.Notify();
    return result;
}

TExchangeControl::TPosition TExchangeControl::Position() const {
    std::lock_guard lock(mutex_);
    return {running_, line_, total_};
}

TExchangeStop TExchangeControl::StopReason() const {
    std::lock_guard lock(mutex_);
    return stop_;
}

bool TExchangeControl::Running() const {
    std::lock_guard lock(mutex_);
    return running_;
}

bool TExchangeControl::WaitEnded(int ms) {
    std::unique_lock lock(mutex_);
    return changed_.wait_for(lock, std::chrono::milliseconds(ms), [this] { return !running_; });
}

} // namespace zav
