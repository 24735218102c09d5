#include "program-editing/chan_read_thread.h"

#include "serial/com_port.h"
#include "serial/dispatcher.h"
#include "serial/event.h"
#include "state/common_datas.h"

namespace zav {

TChanReadThread::TChanReadThread(TReadBackLinks links, TDone done, int coordinate)
    : links_(links), done_(std::move(done)),
      request_(links.Datas.DirectControl ? "RB*" : "RD" + std::to_string(coordinate) + "*"),
      losses_(links.PortLosses.load()) {
    TCommonDatas& datas = links_.Datas;
    // A capture or an end mark left over from an earlier read that timed out would end
    // this one at once.
    datas.ReadCapture = false;
    datas.ReadBuffer = "";
    links_.ReadDone.Reset();
    thread_ = std::thread([this] { Execute(); });
}

TChanReadThread::~TChanReadThread() {
    terminated_ = true;
    links_.ReadDone.Set(); // wakes the wait; the result is dropped
    if (thread_.joinable())
        thread_.join();
}

void TChanReadThread::Execute() {
    TCommonDatas& datas = links_.Datas;
    // The receive thread sets ReadDone when it finds the device gone, which ends the
    // wait at once.
    const auto lost = [this] { return links_.PortLosses.load() != losses_; };
    links_.Port.SendString(request_);
    // The time-out counts from the last growth of the answer, not from the request.
    std::size_t seen = 0;
    for (;;) {
        if (links_.ReadDone.WaitFor(datas.ReplyTimeout.load()))
            break;
        const std::size_t size = datas.ReadBuffer.Get().size();
        if (size == seen)
            break;
        seen = size;
    }
    if (terminated_)
        return;
    std::string text = datas.ReadBuffer.Get();
    // A read that ended with its end mark stands, whatever happened to the line after.
    const bool ended = text.find("ED*") != std::string::npos;
    TReadOutcome outcome = TReadOutcome::Complete;
    if (!ended && lost())
        outcome = TReadOutcome::PortLost;
    else if (text.empty())
        outcome = TReadOutcome::NoAnswer;
    else if (!ended)
        outcome = TReadOutcome::Incomplete;
    links_.Dispatcher.Post([done = done_, text = std::move(text), outcome]() mutable {
        done(std::move(text), outcome);
    });
}

} // namespace zav
