#pragma once
// Runs work on the main thread. Worker threads hand their results to the main thread
// through it; the GUI implements it with queued calls, tests with TQueueDispatcher.

#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>
#include <thread>

namespace zav {

class IDispatcher {
public:
    virtual ~IDispatcher() = default;
    // Runs fn on the main thread and returns when it has run. Called from the main
    // thread itself, it runs fn at once.
    virtual void RunAndWait(std::function<void()> fn) = 0;
    // Queues fn for the main thread and returns at once.
    virtual void Post(std::function<void()> fn) = 0;
};

// A dispatcher whose "main thread" is whichever thread calls Drain / ProcessFor (the
// test thread, or the simulator's loop).
class TQueueDispatcher : public IDispatcher {
public:
    TQueueDispatcher();
    void RunAndWait(std::function<void()> fn) override;
    void Post(std::function<void()> fn) override;

    // Runs every queued function, including those queued while draining.
    void Drain();
    // Runs queued functions as they come until pred() is true or ms have passed;
    // returns pred(). pred is checked on the calling thread after each function.
    bool ProcessUntil(const std::function<bool()>& pred, int ms);
    // Makes the calling thread the main thread.
    void AdoptCurrentThread();

private:
    bool RunOne(std::unique_lock<std::mutex>& lock);

    std::mutex mutex_;
    std::condition_variable queued_;
    std::deque<std::function<void()>> queue_; // guarded by mutex_
    std::thread::id mainThread_;              // written only before workers start
};

} // namespace zav
