#pragma once
// What the operator sees of a running send: the line in flight, the time it has taken and
// an estimate of the time left, and the operator's stop, which lets the command in
// flight have its reply and sends nothing after it. Direct control and simple mode send
// through the same exchange, so they show the same progress.

#include <chrono>
#include <cstddef>
#include <optional>
#include <string>

namespace zav {

class TController;

struct TSendProgressState {
    bool Running = false;
    std::size_t Line = 0; // the line in flight, from 1 (0: none sent yet)
    std::size_t Total = 0;
    std::chrono::milliseconds Elapsed{0};
    // From the pace of the lines done so far; none before the first is done.
    std::optional<std::chrono::milliseconds> Remaining;
    int Percent() const; // of the lines done
};

// The estimate from the pace so far: done of total lines took elapsed.
std::optional<std::chrono::milliseconds> EstimateRemaining(std::size_t done, std::size_t total,
                                                           std::chrono::milliseconds elapsed);
// "m:ss", or "h:mm:ss" from an hour on.
std::string FormatDuration(std::chrono::milliseconds duration);

// The window's side: told on the main thread when a send begins and when it has ended,
// it reads State() in between as often as it redraws.
class ISendProgressView {
public:
    virtual ~ISendProgressView() = default;
    virtual void SendStarted() = 0;
    virtual void SendEnded() = 0;
};

class TSendProgress {
public:
    using TClock = std::chrono::steady_clock;

    explicit TSendProgress(TController& controller) : controller_(controller) {}
    void AttachView(ISendProgressView* view) { view_ = view; }

    TSendProgressState State(TClock::time_point now = TClock::now()) const;
    // "line n of m, elapsed 0:12, remaining about 1:03", in the operator's language.
    std::string Text(const TSendProgressState& state) const;

    // The "Stop sending" action. Returns whether a send was running; the operation log
    // then says at which line it stopped.
    bool StopSending();

    // The controller's, on the main thread.
    void Started();
    void Ended();

private:
    TController& controller_;
    ISendProgressView* view_ = nullptr;
    TClock::time_point started_{};
};

} // namespace zav
