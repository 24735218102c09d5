#include "controller/closing.h"

#include <algorithm>
#include <utility>
#include <vector>

#include "controller/controller.h"

namespace zav {

std::string TClosing::Question() const {
    const TLang& lang = controller_.Lang();
    if (controller_.ExchangeRunning()) {
        const TExchangeControl::TPosition at = controller_.ExchangeControl().Position();
        return lang.Message(msgCloseSending) + std::to_string(std::max<std::size_t>(at.Line, 1)) +
               lang.Message(msgListStoppedOf) + std::to_string(at.Total) +
               lang.Message(msgCloseSendingEnd);
    }
    if (controller_.ChanRead().Reading())
        return lang.Message(msgCloseReading);
    return {};
}

bool TClosing::Begin(std::function<void()> close) {
    if (Pending())
        return false; // the first request closes the window when the controller is done
    if (!controller_.ExchangeRunning())
        return true;
    close_ = std::move(close);
    step_ = TStep::StopSending;
    controller_.SendProgress().StopSending();
    return false;
}

void TClosing::ExchangeEnded() {
    if (step_ == TStep::StopSending) {
        // The stop waited for the last reply, so the states are the controller's: a
        // coordinate still recording was cut short by it.
        TCommonDatas& datas = controller_.CommonDatas();
        std::vector<int> recording;
        for (int n = 1; n <= 3; ++n)
            if (datas.CoordState(n) == 2)
                recording.push_back(n);
        if (!recording.empty() && controller_.Port().Connected()) {
            const TLang& lang = controller_.Lang();
            for (int n : recording)
                controller_.Log(lang.Message(msgCloseRecordingCut) + std::to_string(n) +
                                    lang.Message(msgCloseRecordingCutEnd),
                                true);
            step_ = TStep::EndRecording;
            controller_.MemoSend().SetLines({"ED"});
            if (controller_.btnRunTRClick())
                return;
        }
    }
    if (Pending())
        Finish();
}

void TClosing::Finish() {
    step_ = TStep::Idle;
    if (auto close = std::exchange(close_, nullptr))
        close();
}

} // namespace zav
