#include "serial/event.h"

#include <chrono>

namespace zav {

TEvent::TEvent(std::string name, bool initiallySet)
    : name_(std::move(name)), signalled_(initiallySet) {}

void TEvent::Set() {
    {
        std::lock_guard lock(mutex_);
        signalled_ = true;
    }
    changed_.notify_all();
}

void TEvent::Reset() {
    std::lock_guard lock(mutex_);
    signalled_ = false;
}

bool TEvent::WaitFor(int ms) {
    std::unique_lock lock(mutex_);
    if (ms < 0)
        ms = 0;
    return changed_.wait_for(lock, std::chrono::milliseconds(ms), [this] { return signalled_; });
}

bool TEvent::WaitFor(int ms, const std::function<bool()>& stop) {
    std::unique_lock lock(mutex_);
    if (ms < 0)
        ms = 0;
    changed_.wait_for(lock, std::chrono::milliseconds(ms),
                      [this, &stop] { return signalled_ || stop(); });
    return signalled_ && !stop();
}

void TEvent::Notify() {
    // Taking the lock orders the caller's change before the waiter's next look.
    { std::lock_guard lock(mutex_); }
    changed_.notify_all();
}

bool TEvent::IsSet() const {
    std::lock_guard lock(mutex_);
    return signalled_;
}

} // namespace zav
