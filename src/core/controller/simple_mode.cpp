#include "controller/simple_mode.h"

#include "controller/controller.h"

namespace zav {

bool TSimpleMode::Add(int index, const std::string& value, TCommandList& list) {
    try {
        return controller_.Commands().AddCommand(index, value, &list, TDirect::Off);
    } catch (const EConvertError&) {
        controller_.ShowMessage(controller_.Lang().Message(14));
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

void TSimpleMode::StopSelected(TCommandList& list) {
    TCommonDatas& datas = controller_.CommonDatas();
    for (int n = 1; n <= 3; ++n) {
        const auto state = datas.CoordState(n);
        if (datas.CoordSelected(n) && (state == 1 || state == 3) &&
            Add(ciST, std::to_string(n), list))
            datas.SetCoordStarted(n, true);
    }
}

void TSimpleMode::Send(const TCommandList& list) {
    controller_.MemoSend.Assign(list.Rows());
    controller_.btnRunTRClick();
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
    // The replies that answer a stop (codes 2, 3, 4, 8) wake the exchange only while
    // a start is known.
    controller_.CommonDatas().AnyStarted = true;
    TCommandList list;
    StopSelected(list);
    Send(list);
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
