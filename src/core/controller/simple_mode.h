#pragma once
// Simple control mode: one motion, written as a small program into each selected
// coordinate that is in standby, started, and stopped. Each button builds its command
// lines and sends them at once. A motion value that is refused stops the whole action
// (a recording without its speed or distance must never reach a controller), and
// direct control does not apply here: the buttons always send their whole sequence.
//
// ST n toggles a coordinate: a stop that reaches an idle coordinate starts it. So a stop
// is remembered until the controller has answered it, and no second one goes out before.

#include <array>
#include <atomic>
#include <cstdint>
#include <string>

namespace zav {

class TController;
class TCommandList;

// What the panel's controls hold when a button is pressed.
struct TMotion {
    std::string Steps = "200"; // EditStepsNum
    bool Permanent = false;    // chbStepsConst
    std::string Speed = "200"; // EditSpeed
    std::string BeginSpeed = "200";
    bool Accelerate = false; // rbtnAccel, else rbtnNonAccel
    std::string Accel = "0";
    bool Backward = false; // rgrDirect item 1
};

class TSimpleMode {
public:
    explicit TSimpleMode(TController& controller) : controller_(controller) {}

    // Each returns false, having shown the refused value's message, when a value is
    // refused; list then holds what was built before it.
    bool AppendMotionCommands(const TMotion& motion, TCommandList& list);
    bool WriteSelected(const TMotion& motion, TCommandList& list);
    void StartSelected(TCommandList& list);
    // Leaves out, and logs, a coordinate whose earlier stop is still unanswered. Returns
    // the coordinates it appended a stop for.
    std::array<bool, 3> StopSelected(TCommandList& list);

    void btnLoadClick(const TMotion& motion);
    void btnStartClick();
    void btnStopClick();
    void btnPuskClick(const TMotion& motion);

    // Coordinate n's stop is over: reply processing (receive thread) got its code 2, 3,
    // 4 or 8, or the operator set its state by hand.
    void StopEnded(int n);
    // Reply processing, for code 0 after coordinate n's ST echo: true when it accepts
    // a stop of ours (the end code is still to come) rather than a start.
    bool StopAccepted(int n);
    bool StopOutstanding(int n) const;

private:
    enum TStop : std::uint8_t { stNone, stSent, stAccepted };

    bool Add(int index, const std::string& value, TCommandList& list);
    bool Send(const TCommandList& list);
    // Once the exchange that carried a stop has ended, a stop neither accepted nor
    // answered got an error or no reply: it may be sent again.
    void SettleStops();

    TController& controller_;
    // Per coordinate; written by the main thread when sending and by reply processing.
    std::array<std::atomic<std::uint8_t>, 3> stops_{};
};

} // namespace zav
