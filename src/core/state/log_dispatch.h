#pragma once
// The operation log and the message boxes as the classes below the controller reach
// them: from any thread, without knowing who shows them. TLogDispatch is the one
// implementation; it runs view work on the main thread, through a post function the
// owner supplies, and drops what is still queued once it is gone.

#include <functional>
#include <memory>
#include <string>
#include <thread>

#include "state/views.h"

namespace zav {

class ILog {
public:
    virtual ~ILog() = default;
    // Adds a line to the operation log, in red if asked.
    virtual void Log(const std::string& line, bool red = false) = 0;
    virtual void ShowMessage(const std::string& text) = 0;
};

class TLogDispatch : public ILog {
public:
    // Queues a function for the main thread and returns at once.
    using TPost = std::function<void(std::function<void()>)>;

    // Constructed on the main thread. log and messageBox may be null.
    TLogDispatch(TPost post, IOperationLog* log, IMessageBox* messageBox);
    TLogDispatch(const TLogDispatch&) = delete;
    TLogDispatch& operator=(const TLogDispatch&) = delete;

    // From another thread than the main one these post and return at once.
    void Log(const std::string& line, bool red = false) override;
    // From the receive thread it is posted: a box waiting for the operator holds up
    // neither the replies behind it nor the exchange.
    void ShowMessage(const std::string& text) override;

    // Runs fn now on the main thread, else posts it there.
    void OnMain(std::function<void()> fn);
    // Runs fn on the main thread later, unless this dispatch is gone by then.
    void Post(std::function<void()> fn);
    bool OnMainThread() const { return std::this_thread::get_id() == mainThread_; }

private:
    TPost post_;
    IOperationLog* log_;
    IMessageBox* messageBox_;
    const std::thread::id mainThread_ = std::this_thread::get_id();
    std::shared_ptr<int> alive_ = std::make_shared<int>(0);
};

} // namespace zav
