#include "program-editing/chan_read_thread.h"

#include "controller/controller.h"

namespace zav {

TChanReadThread::TChanReadThread(TController& controller, TDone done)
    : controller_(controller), done_(std::move(done)),
      request_(controller.CommonDatas().DirectControl ? "RB*" : "RD1*"),
      losses_(controller.PortLosses.load()) {
    TCommonDatas& datas = controller_.CommonDatas();
    // A capture or an end mark left over from an earlier read that timed out would end
    // this one at once.
    datas.ReadCapture = false;
    datas.ReadBuffer = "";
    controller_.ReadDoneEvent.Reset();
    thread_ = std::thread([this] { Execute(); });
}

TChanReadThread::~TChanReadThread() {
    terminated_ = true;
    controller_.ReadDoneEvent.Set(); // wakes the wait; the result is dropped
    if (thread_.joinable())
        thread_.join();
}

void TChanReadThread::Execute() {
    TCommonDatas& datas = controller_.CommonDatas();
    // The receive thread sets ReadDoneEvent when it finds the device gone, which ends the
    // wait at once.
    const auto lost = [this] { return controller_.PortLosses.load() != losses_; };
    controller_.Port().SendString(request_);
    // The time-out counts from the last growth of the answer, not from the request.
    std::size_t seen = 0;
    for (;;) {
        if (controller_.ReadDoneEvent.WaitFor(datas.ReplyTimeout.load()))
            break;
        const std::size_t size = datas.ReadBuffer.Get().size();
        if (size == seen)
            break;
        seen = size;
    }
    if (terminated_)
        return;
    std::string text = datas.ReadBuffer.Get();
    const bool answered = !text.empty();
    // A read that ended with its end mark stands, whatever happened to the line after.
    const bool gone = lost() && text.find("ED*") == std::string::npos;
    controller_.Dispatcher().Post([done = done_, text = std::move(text), answered, gone]() mutable {
        done(std::move(text), answered, gone);
    });
}

} // namespace zav
