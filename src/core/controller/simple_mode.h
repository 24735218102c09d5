#pragma once
// Simple control mode: one motion, written as a small program into each selected
// coordinate that is in standby, started, and stopped. Each button builds its command
// lines and sends them at once. A motion value that is refused stops the whole action
// (a recording without its speed or distance must never reach a controller), and
// direct control does not apply here: the buttons always send their whole sequence.

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
    void StopSelected(TCommandList& list);

    void btnLoadClick(const TMotion& motion);
    void btnStartClick();
    void btnStopClick();
    void btnPuskClick(const TMotion& motion);

private:
    bool Add(int index, const std::string& value, TCommandList& list);
    void Send(const TCommandList& list);

    TController& controller_;
};

} // namespace zav
