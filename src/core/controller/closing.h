#pragma once
// Closing the window while the controller is being talked to. The operator is asked
// first; a send is then stopped as "Stop sending" stops it (the command in flight gets
// its reply, nothing after it is sent), a recording that the stop cut short is ended
// with ED and reported as incomplete, and only then does the window close. A read-back
// sends nothing more once asked: the shutdown ends it.

#include <functional>
#include <string>

namespace zav {

class TController;

class TClosing {
public:
    explicit TClosing(TController& controller) : controller_(controller) {}

    // What to ask the operator before closing now; empty when nothing runs.
    std::string Question() const;
    // Starts closing. True when the window may close at once; otherwise close is called
    // on the main thread once the send has stopped and any recording it cut is ended.
    bool Begin(std::function<void()> close);
    // Closing has begun and waits for the controller.
    bool Pending() const { return step_ != TStep::Idle; }
    // The controller's, on the main thread, whenever an exchange has ended.
    void ExchangeEnded();

private:
    enum class TStep { Idle, StopSending, EndRecording };
    void Finish();

    TController& controller_;
    TStep step_ = TStep::Idle;
    std::function<void()> close_;
};

} // namespace zav
