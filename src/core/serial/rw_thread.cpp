#include "serial/rw_thread.h"

#include "controller/controller.h"
#include "state/codepage.h"

namespace zav {

namespace {
bool EndsAtOnce(TExchangeStop stop) {
    return stop != TExchangeStop::None && stop != TExchangeStop::Operator;
}
} // namespace

TRWThread::TRWThread(TController& controller)
    : controller_(controller), lines_(controller.MemoSend.Lines()) {
    // The list is copied here, on the main thread: the operator may edit the grid while
    // the exchange runs, and the thread must not read a list that is changing.
    controller_.ExchangeControl.Begin(lines_.size());
    thread_ = std::thread([this] { Execute(); });
}

TRWThread::~TRWThread() {
    if (!finished_)
        Terminate();
    Join();
}

void TRWThread::Terminate() {
    controller_.ExchangeControl.Stop(TExchangeStop::Shutdown, false);
}

void TRWThread::Join() {
    if (thread_.joinable())
        thread_.join();
}

std::string TRWThread::WaitReply() {
    TCommonDatas& datas = controller_.CommonDatas();
    if (!controller_.ExchangeControl.WaitReply(datas.ReplyTimeout.load()))
        return EndsAtOnce(controller_.ExchangeControl.StopReason()) ? "Stopped" : "No answer!";
    std::string result = " ";
    const std::string code = datas.LastError.Get();
    if (code == "E16*" || code == "E26*" || code == "E36*")
        result = "Er6";
    if (code == "E19*" || code == "E29*" || code == "E39*")
        result = "Er9";
    controller_.ReplyEvent.Reset();
    return result;
}

void TRWThread::Execute() {
    TCommonDatas& datas = controller_.CommonDatas();
    TExchangeControl& control = controller_.ExchangeControl;
    // Every line is sent, however long the list: the editor sets no limit either.
    for (std::size_t i = 0; i < lines_.size(); ++i) {
        const std::string& line = lines_[i];
        if (line.empty())
            continue;
        const std::string request = Utf8ToCp1251(line) + "*";
        if (!control.Send(i + 1, [&] { controller_.Port().SendString(request); }))
            break;
        const std::string r = WaitReply();
        // Whoever stopped the exchange has told the operator why. The operator's stop
        // lets the last reply be taken as usual; Send then refuses the next line.
        if (EndsAtOnce(control.StopReason()))
            break;
        if (r.back() == '!') {
            controller_.PostNoReply();
            controller_.SenderIdleEvent.Set();
            break;
        }
        if (r.back() == '6' && datas.StopOnCommandError.load() == 1)
            break;
        if (r.back() == '9' && datas.StopOnDataError.load() == 1)
            break;
    }
    controller_.SenderIdleEvent.Set();
    control.End();
    finished_ = true;
    controller_.PostExchangeEnded();
}

} // namespace zav
