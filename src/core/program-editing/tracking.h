#pragma once
// The tracking group: start speed, speed, acceleration and movement scale of continuous
// motion, each sent at once on its own, or all four with Apply. Like simple mode it
// builds its own list and sends it, whatever the Direct Control switch says.

#include <functional>
#include <string>

#include "program-editing/editing_context.h"

namespace zav {

struct TTrackingValues {
    std::string StartSpeed = "200"; // EditTrackStSpeed
    std::string Speed = "200";      // EditTrackSpeed
    std::string Accel = "0";        // EditTrackAccel
    std::string Scale = "1";        // EditTrackScale
};

class TTracking {
public:
    // send: the Send action, for the list the group has just put in the send list.
    TTracking(TEditingContext context, std::function<void()> send)
        : context_(context), send_(std::move(send)) {}

    void btnTrackSTSpeedClick(const std::string& value);
    void btnTrackSpeedClick(const std::string& value);
    void btnTrackAccelClick(const std::string& value);
    void btnTrackScaleClick(const std::string& value);
    // Each value on its own: a refused one shows its message and is left out.
    void btnTrackApplyClick(const TTrackingValues& values);

private:
    bool Add(int index, const std::string& value, TCommandList& list);
    // The movement scale is sent as given, so it is checked against the controller's
    // own range, whatever the units scale.
    bool AddScale(const std::string& value, TCommandList& list);
    void SendOne(int index, const std::string& value);
    void Send(const TCommandList& list);

    TEditingContext context_;
    std::function<void()> send_;
};

} // namespace zav
