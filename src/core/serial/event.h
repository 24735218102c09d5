#pragma once
// A named manual-reset event: once Set, every waiter wakes and it stays signalled
// until Reset.

#include <condition_variable>
#include <functional>
#include <mutex>
#include <string>

namespace zav {

class TEvent {
public:
    explicit TEvent(std::string name, bool initiallySet = false);
    TEvent(const TEvent&) = delete;
    TEvent& operator=(const TEvent&) = delete;

    void Set();
    void Reset();
    // True if the event is (or becomes) signalled within ms milliseconds.
    bool WaitFor(int ms);
    // As WaitFor, but also returns (false) as soon as stop() is true; whoever makes it
    // true calls Notify afterwards so that the waiter looks again.
    bool WaitFor(int ms, const std::function<bool()>& stop);
    void Notify();
    bool IsSet() const;
    const std::string& Name() const { return name_; }

private:
    const std::string name_;
    mutable std::mutex mutex_;
    std::condition_variable changed_;
    bool signalled_; // guarded by mutex_
};

} // namespace zav
