#pragma once
// Runs core work on the GUI thread through Qt's queued calls.

#include <QObject>
#include <atomic>
#include <condition_variable>
#include <mutex>

#include "serial/dispatcher.h"

namespace zav {

class TQtDispatcher : public IDispatcher {
public:
    TQtDispatcher(); // on the GUI thread
    ~TQtDispatcher() override;
    void RunAndWait(std::function<void()> fn) override;
    void Post(std::function<void()> fn) override;
    // From now on queued work is dropped and workers waiting in RunAndWait return, so
    // that the window can end those workers without waiting on its own event loop.
    void Stop();

private:
    QObject* context_; // lives on the GUI thread
    std::mutex mutex_;
    std::condition_variable finished_; // a call ran, or Stop
    std::atomic<bool> stopped_{false};
};

} // namespace zav
