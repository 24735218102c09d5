#include "serial/rw_thread.h"

#include "controller/controller.h"
#include "state/codepage.h"

namespace zav {

TRWThread::TRWThread(TController& controller)
    : controller_(controller), lines_(controller.MemoSend.Lines()) {
    // The list is copied here, on the main thread: the operator may edit the grid while
    // the exchange runs, and the thread must not read a list that is changing.
    thread_ = std::thread([this] { Execute(); });
}

TRWThread::~TRWThread() {
    if (!finished_)
        Terminate();
    Join();
}

void TRWThread::Terminate() {
    terminated_ = true;
    // Wakes a pending WaitReply so that shutdown need not wait a whole reply time-out.
    controller_.ReplyEvent.Set();
}

void TRWThread::Join() {
    if (thread_.joinable())
        thread_.join();
}

std::string TRWThread::WaitReply() {
    TCommonDatas& datas = controller_.CommonDatas();
    if (!controller_.ReplyEvent.WaitFor(datas.ReplyTimeout.load()))
        return "No answer!";
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
    // Every line is sent, however long the list: the editor sets no limit either.
    for (const std::string& line : lines_) {
        if (terminated_)
            break;
        if (line.empty())
            continue;
        controller_.Port().SendString(Utf8ToCp1251(line) + "*");
        const std::string r = WaitReply();
        if (terminated_)
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
    finished_ = true;
    controller_.PostExchangeEnded();
}

} // namespace zav
