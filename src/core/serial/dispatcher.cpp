#include "serial/dispatcher.h"

#include <chrono>
#include <future>

namespace zav {

TQueueDispatcher::TQueueDispatcher() : mainThread_(std::this_thread::get_id()) {}

void TQueueDispatcher::AdoptCurrentThread() {
    mainThread_ = std::this_thread::get_id();
}

void TQueueDispatcher::RunAndWait(std::function<void()> fn) {
    if (std::this_thread::get_id() == mainThread_) {
        fn();
        return;
    }
    std::promise<void> done;
    auto finished = done.get_future();
    Post([&fn, &done] {
        fn();
        done.set_value();
    });
    finished.wait();
}

void TQueueDispatcher::Post(std::function<void()> fn) {
    {
        std::lock_guard lock(mutex_);
        queue_.push_back(std::move(fn));
    }
    queued_.notify_all();
}

bool TQueueDispatcher::RunOne(std::unique_lock<std::mutex>& lock) {
    if (queue_.empty())
        return false;
    auto fn = std::move(queue_.front());
    queue_.pop_front();
    lock.unlock();
    fn();
    lock.lock();
    return true;
}

void TQueueDispatcher::Drain() {
    std::unique_lock lock(mutex_);
    while (RunOne(lock)) {
    }
}

bool TQueueDispatcher::ProcessUntil(const std::function<bool()>& pred, int ms) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
    std::unique_lock lock(mutex_);
    for (;;) {
        while (RunOne(lock)) {
            lock.unlock();
            const bool met = pred();
            lock.lock();
            if (met)
                return true;
        }
        lock.unlock();
        if (pred())
            return true;
        lock.lock();
        if (!queued_.wait_until(lock, deadline, [this] { return !queue_.empty(); }))
            break;
    }
    lock.unlock();
    return pred();
}

} // namespace zav
