#include "controller/send_progress.h"

#include <algorithm>
#include <cstdio>

#include "controller/controller.h"

namespace zav {

using std::chrono::milliseconds;

int TSendProgressState::Percent() const {
    if (Total == 0)
        return 0;
    const std::size_t done = Line > 0 ? Line - 1 : 0;
    return static_cast<int>(done * 100 / Total);
}

std::optional<milliseconds> EstimateRemaining(std::size_t done, std::size_t total,
                                              milliseconds elapsed) {
    if (done == 0 || done > total)
        return std::nullopt;
    // In floating point: a long list times hours of milliseconds overflows no integer
    // here, but the product could.
    const double perLine = static_cast<double>(elapsed.count()) / static_cast<double>(done);
    return milliseconds(
        static_cast<milliseconds::rep>(perLine * static_cast<double>(total - done)));
}

std::string FormatDuration(milliseconds duration) {
    const long long seconds = std::max<long long>(0, duration.count()) / 1000;
    char text[32];
    if (seconds >= 3600)
        std::snprintf(text, sizeof text, "%lld:%02lld:%02lld", seconds / 3600, seconds / 60 % 60,
                      seconds % 60);
    else
        std::snprintf(text, sizeof text, "%lld:%02lld", seconds / 60, seconds % 60);
    return text;
}

TSendProgressState TSendProgress::State(TClock::time_point now) const {
    const TExchangeControl::TPosition position = controller_.ExchangeControl().Position();
    TSendProgressState state;
    state.Running = position.Running;
    state.Line = position.Line;
    state.Total = position.Total;
    state.Elapsed = std::chrono::duration_cast<milliseconds>(now - started_);
    // The line in flight is not done until its reply comes.
    state.Remaining =
        EstimateRemaining(state.Line > 0 ? state.Line - 1 : 0, state.Total, state.Elapsed);
    return state;
}

std::string TSendProgress::Text(const TSendProgressState& state) const {
    const TLang& lang = controller_.Lang();
    std::string text = lang.Message(msgCtlLine) + std::to_string(state.Line) +
                       lang.Message(msgCtlLineOf) + std::to_string(state.Total) +
                       lang.Message(msgProgressElapsed) + FormatDuration(state.Elapsed);
    if (state.Remaining)
        text += lang.Message(msgProgressRemaining) + FormatDuration(*state.Remaining);
    return text;
}

bool TSendProgress::StopSending() {
    const TExchangeControl::TPosition stopped =
        controller_.ExchangeControl().Stop(TExchangeStop::Operator, false);
    if (!stopped.Running)
        return false;
    const TLang& lang = controller_.Lang();
    controller_.Log(lang.Message(msgSendStoppedAtLine) + std::to_string(stopped.Line) +
                    lang.Message(msgListStoppedOf) + std::to_string(stopped.Total));
    return true;
}

void TSendProgress::Started() {
    started_ = TClock::now();
    if (view_)
        view_->SendStarted();
}

void TSendProgress::Ended() {
    if (view_)
        view_->SendEnded();
}

} // namespace zav
