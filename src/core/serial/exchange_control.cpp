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

bool TExchangeControl::WaitReply(int ms) {
    return replyEvent_.WaitFor(ms, [this] { return StopReason() != TExchangeStop::None; });
}

void TExchangeControl::End() {
    {
        std::lock_guard lock(mutex_);
        running_ = false;
    }
    changed_.notify_all();
}

TExchangeControl::TStopped TExchangeControl::Stop(TExchangeStop why, bool waitForWrite) {
    TStopped result;
    {
        std::unique_lock lock(mutex_);
        if (!running_ || stop_ != TExchangeStop::None)
            return result;
        stop_ = why;
        result = {true, line_, total_};
        if (waitForWrite)
            changed_.wait(lock, [this] { return !writing_; });
    }
    replyEvent_.Notify();
    return result;
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
