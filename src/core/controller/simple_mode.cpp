#include "controller/simple_mode.h"

#include "controller/controller.h"

namespace zav {

bool TSimpleMode::Add(int index, const std::string& value, TCommandList& list) {
    try {
        return controller_.Commands().AddCommand(index, value, &list, TDirect::Off);
    } catch (const EConvertError&) {
        controller_.ShowMessage(controller_.Lang().Message(msgBadParameter));
        return false;
    }
}

bool TSimpleMode::AppendMotionCommands(const TMotion& motion, TCommandList& list) {
    if (!Add(ciBG, "no", list) || !Add(ciEN, "no", list))
        return false;
    if (!motion.Accelerate) {
        if (!Add(ciAL, "0", list))
            return false;
    } else if (!Add(ciAL, motion.Accel, list) || !Add(ciSS, motion.BeginSpeed, list)) {
        return false;
    }
    return Add(ciSD, motion.Speed, list) && Add(motion.Backward ? ciDR : ciDL, "no", list) &&
           Add(ciMV, motion.Permanent ? "no" : motion.Steps, list);
}

bool TSimpleMode::WriteSelected(const TMotion& motion, TCommandList& list) {
    const TCommonDatas& datas = controller_.CommonDatas();
    for (int n = 1; n <= 3; ++n) {
        if (!datas.CoordSelected(n) || datas.CoordState(n) != 0)
            continue;
        if (!Add(ciLD, std::to_string(n), list) || !AppendMotionCommands(motion, list) ||
            !Add(ciED, "no", list))
            return false;
    }
    return true;
}

void TSimpleMode::StartSelected(TCommandList& list) {
    const TCommonDatas& datas = controller_.CommonDatas();
    int added = 0;
    for (int n = 1; n <= 3; ++n)
        if (datas.CoordSelected(n) && datas.CoordState(n) == 0 &&
            Add(ciST, std::to_string(n), list))
            ++added;
    // All three: one command starts every coordinate.
    if (added == 3) {
        for (int i = 0; i < 3; ++i)
            list.Remove(list.Count() - 1);
        Add(ciST, "no", list);
    }
}

std::array<bool, 3> TSimpleMode::StopSelected(TCommandList& list) {
    TCommonDatas& datas = controller_.CommonDatas();
    std::array<bool, 3> stopped{};
    for (int n = 1; n <= 3; ++n) {
        const auto state = datas.CoordState(n);
        if (!datas.CoordSelected(n) || (state != 1 && state != 3))
            continue;
        if (StopOutstanding(n)) {
            controller_.Log(controller_.Lang().Message(msgStopOutstanding) + std::to_string(n) +
                            controller_.Lang().Message(msgStopOutstandingEnd));
            continue;
        }
        if (Add(ciST, std::to_string(n), list)) {
            datas.SetCoordStarted(n, true);
            stopped[static_cast<std::size_t>(n - 1)] = true;
        }
    }
    return stopped;
}

bool TSimpleMode::Send(const TCommandList& list) {
    controller_.MemoSend().Assign(list.Rows());
    return controller_.btnRunTRClick();
}

void TSimpleMode::SettleStops() {
    if (controller_.ExchangeRunning())
        return;
    for (auto& stop : stops_) {
        std::uint8_t sent = stSent;
        stop.compare_exchange_strong(sent, stNone);
    }
}

bool TSimpleMode::StopOutstanding(int n) const {
    return n >= 1 && n <= 3 && stops_[static_cast<std::size_t>(n - 1)] != stNone;
}

void TSimpleMode::StopEnded(int n) {
    if (n >= 1 && n <= 3)
        stops_[static_cast<std::size_t>(n - 1)] = stNone;
}

bool TSimpleMode::StopAccepted(int n) {
    if (n < 1 || n > 3)
        return false;
    std::uint8_t sent = stSent;
    return stops_[static_cast<std::size_t>(n - 1)].compare_exchange_strong(sent, stAccepted);
}

void TSimpleMode::btnLoadClick(const TMotion& motion) {
    TCommandList list;
    if (WriteSelected(motion, list))
        Send(list);
}

void TSimpleMode::btnStartClick() {
    TCommandList list;
    StartSelected(list);
    Send(list);
}

void TSimpleMode::btnStopClick() {
    SettleStops();
    TCommonDatas& datas = controller_.CommonDatas();
    // The replies that answer a stop (codes 2, 3, 4, 8) wake the exchange while a start
    // is known: StopSelected marks each coordinate it stops as started. Nothing else is
    // marked, so that AnyStarted does not outlive the stops.
    std::array<bool, 3> wasStarted{};
    for (int n = 1; n <= 3; ++n)
        wasStarted[static_cast<std::size_t>(n - 1)] = datas.CoordStarted(n);
    TCommandList list;
    const std::array<bool, 3> stopped = StopSelected(list);
    // Marked before the send: the answer may come before Send returns.
    for (std::size_t i = 0; i < 3; ++i)
        if (stopped[i])
            stops_[i] = stSent;
    if (Send(list))
        return;
    // Not sent (an exchange runs): nothing is outstanding and nothing was started.
    for (std::size_t i = 0; i < 3; ++i) {
        if (!stopped[i])
            continue;
        stops_[i] = stNone;
        datas.SetCoordStarted(static_cast<int>(i + 1), wasStarted[i]);
    }
}

void TSimpleMode::btnPuskClick(const TMotion& motion) {
    // Both steps see the states as they are before anything is sent, so every
    // coordinate that gets a recording also gets its start.
    TCommandList list;
    if (!WriteSelected(motion, list))
        return;
    StartSelected(list);
    Send(list);
}

} // namespace zav
