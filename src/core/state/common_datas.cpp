#include "state/common_datas.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "state/number_format.h"

namespace zav {

TCommonDatas::TCommonDatas(ICommonDatasView* view, IOperationLog* log) : view_(view), log_(log) {
    StateColors[0] = {0, 128, 0};
    StateColors[1] = {255, 0, 0};
    StateColors[2] = {255, 255, 0};
    StateColors[3] = {0, 0, 0};
    AnyStarted = false;
    for (int n = 1; n <= 3; ++n)
        SetCoordStarted(n, false);
    SetScale(1);
    SetRounding(0);
    SetSelectedCoords(true, false, false);
    SetCoordStates(0, 0, 0);
}

void TCommonDatas::AttachView(ICommonDatasView* view, IOperationLog* log) {
    view_ = view;
    log_ = log;
}

void TCommonDatas::SetScale(double value) {
    Scale = value == 0 ? 1 : value;
    ShowScale();
}

void TCommonDatas::ShowScale() {
    if (catalogue_)
        catalogue_->ScaleChanged();
    ShowScaleCaptions();
}

void TCommonDatas::ShowComposedCaptions() {
    ShowScaleCaptions();
    SetRounding(Rounding);
    ShowSelectedCoords();
}

void TCommonDatas::ShowScaleCaptions() {
    const std::string s = FormatGeneral(Scale);
    if (view_) {
        view_->ShowScale(s, TextScale + ":  1 " + UnitsName + " = " + s + " " + TextSteps,
                         "1 " + UnitsName + " =");
    }
}

void TCommonDatas::SetRounding(std::uint8_t mode) {
    Rounding = mode;
    if (!view_ || mode > 2)
        return;
    const std::string* names[3] = {&TextDecreasing, &TextIncreasing, &TextMathematic};
    view_->SetRoundingCaption(*names[mode]);
}

std::int32_t TCommonDatas::RoundSteps(double value, double factor) {
    const auto x = static_cast<double>(static_cast<long double>(value) * factor);
    // A product beyond 32 bits saturates instead of wrapping to a wrong step count.
    constexpr double lo = std::numeric_limits<std::int32_t>::min();
    constexpr double hi = std::numeric_limits<std::int32_t>::max();
    const double truncated = std::isnan(x) ? 0 : std::trunc(std::clamp(x, lo, hi));
    const auto t = static_cast<std::int32_t>(truncated);
    const double f = x - t;
    const bool canStep = t < std::numeric_limits<std::int32_t>::max();
    switch (Rounding) {
    case 0:
        return t;
    case 1:
        return f > 0 && canStep ? t + 1 : t;
    case 2:
        return f >= 0.5 && canStep ? t + 1 : t;
    default:
        SetRounding(0);
        return t;
    }
}

std::optional<std::int64_t> TCommonDatas::RoundStepsExact(double value, double multiplier,
                                                          double divisor) {
    // Multiplied before it is divided: 3000 x 1 / 3 is 1000, where 3000 x (1 / 3) may
    // fall short of it and be cut to 999.
    const auto x = static_cast<double>(static_cast<long double>(value) * multiplier / divisor);
    // Beyond 2^53 a double no longer holds every whole number.
    if (!(std::fabs(x) < 9007199254740992.0))
        return std::nullopt;
    const auto t = static_cast<std::int64_t>(std::trunc(x));
    const double f = x - static_cast<double>(t);
    if (Rounding > 2)
        SetRounding(0);
    switch (Rounding) {
    case 1:
        return f > 0 ? t + 1 : t;
    case 2:
        return f >= 0.5 ? t + 1 : t;
    default:
        return t;
    }
}

bool TCommonDatas::ScaleAccepted(double scale) {
    if (!std::isfinite(scale) || scale <= 0)
        return false;
    // The catalogue divides each step range by the scale and writes its ends as text:
    // both must stay finite normal numbers, or the range collapses to nothing.
    for (const double steps : {1.0, 2147483647.0})
        if (!std::isnormal(steps / scale))
            return false;
    return true;
}

bool TCommonDatas::CoordSelected(int n) const {
    return n == 1 ? Coord1Selected : n == 2 ? Coord2Selected : n == 3 ? Coord3Selected : false;
}

void TCommonDatas::SetCoordSelected(int n, bool selected) {
    if (n == 1)
        Coord1Selected = selected;
    else if (n == 2)
        Coord2Selected = selected;
    else if (n == 3)
        Coord3Selected = selected;
    else
        return;
    ShowSelectedCoords();
}

void TCommonDatas::SetSelectedCoords(bool c1, bool c2, bool c3) {
    SetCoordSelected(1, c1);
    SetCoordSelected(2, c2);
    SetCoordSelected(3, c3);
    ShowSelectedCoords();
}

void TCommonDatas::ShowSelectedCoords() {
    if (!view_)
        return;
    std::string caption = TextCoordinates;
    for (int n = 1; n <= 3; ++n)
        if (CoordSelected(n))
            caption += std::to_string(n) + "  ";
    view_->SetCoordinatesCaption(caption);
    // A box that changes fires the window's click handler, which reads all three boxes
    // back through SetSelectedCoords; each box therefore takes its flag as it is now.
    for (int n = 1; n <= 3; ++n)
        view_->SetCoordCheckBox(n, CoordSelected(n));
}

std::atomic<std::uint8_t>* TCommonDatas::StateOf(int n) {
    return n == 1 ? &Coord1State : n == 2 ? &Coord2State : n == 3 ? &Coord3State : nullptr;
}

std::atomic<bool>* TCommonDatas::StartedOf(int n) {
    return n == 1 ? &Coord1Started : n == 2 ? &Coord2Started : n == 3 ? &Coord3Started : nullptr;
}

void TCommonDatas::RunView(std::function<void()> fn) {
    if (viewRunner_)
        viewRunner_(std::move(fn));
    else
        fn();
}

std::uint8_t TCommonDatas::CoordState(int n) const {
    return n == 1   ? Coord1State.load()
           : n == 2 ? Coord2State.load()
           : n == 3 ? Coord3State.load()
                    : 0;
}

void TCommonDatas::SetCoordState(int n, std::uint8_t state) {
    std::atomic<std::uint8_t>* field = StateOf(n);
    if (!field)
        return;
    std::uint64_t version = 0;
    std::uint8_t states[3];
    {
        std::lock_guard lock(setMutex_);
        *field = state;
        Recording = state == 2;
        version = ++stateVersion_;
        states[0] = Coord1State;
        states[1] = Coord2State;
        states[2] = Coord3State;
    }
    RunView([this, n, state, version, states] {
        if (state == 1 && log_)
            log_->AddLine(TextCoord + " " + std::to_string(n) + ": " + TextProgramExecuting);
        // Shown in turn, so that a short state is seen too; but not over a later change
        // that is already shown.
        if (version < shownVersion_)
            return;
        shownVersion_ = version;
        if (state == 2)
            EnableProgramButtons(false, false, false, false);
        else if (view_ && view_->ControlMode() == 0)
            EnableProgramButtons(true, true, true, true);
        ShowCoordStates(states);
    });
}

void TCommonDatas::SetCoordStates(std::uint8_t s1, std::uint8_t s2, std::uint8_t s3) {
    SetCoordState(1, s1);
    SetCoordState(2, s2);
    SetCoordState(3, s3);
}

void TCommonDatas::ShowCoordStates() {
    const std::uint8_t states[3] = {Coord1State, Coord2State, Coord3State};
    ShowCoordStates(states);
}

void TCommonDatas::ShowCoordStates(const std::uint8_t (&states)[3]) {
    if (!view_)
        return;
    for (std::uint8_t state = 0; state <= 3; ++state)
        for (int n = 1; n <= 3; ++n)
            if (states[n - 1] == state)
                view_->SetIndicatorColor(n, StateColors[state]);
}

void TCommonDatas::EnableProgramButtons(bool writeAndStart, bool stop, bool write, bool start) {
    if (view_)
        view_->EnableProgramButtons(writeAndStart, stop, write, start);
}

bool TCommonDatas::CoordStarted(int n) const {
    return n == 1   ? Coord1Started.load()
           : n == 2 ? Coord2Started.load()
           : n == 3 ? Coord3Started.load()
                    : false;
}

void TCommonDatas::SetCoordStarted(int n, bool started) {
    std::atomic<bool>* field = StartedOf(n);
    if (!field)
        return;
    std::lock_guard lock(setMutex_);
    *field = started;
    AnyStarted = Coord1Started || Coord2Started || Coord3Started;
}

} // namespace zav
