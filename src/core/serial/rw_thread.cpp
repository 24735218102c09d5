#include "serial/rw_thread.h"

#include <algorithm>

#include "controller/controller.h"
#include "state/codepage.h"

namespace zav {

namespace {
bool EndsAtOnce(TExchangeStop stop) {
    return stop != TExchangeStop::None && stop != TExchangeStop::Operator;
}

std::string Request(const std::string& line) {
    return Utf8ToCp1251(line) + "*";
}

// How often the thread shows the received text that replies taken on the receive thread
// have left waiting.
constexpr long long ShowTickMs = 50;
} // namespace

TRWThread::TRWThread(TController& controller)
    : controller_(controller), lines_(controller.MemoSend.Lines()) {
    // The list is copied here, on the main thread: the operator may edit the grid while
    // the exchange runs, and the thread must not read a list that is changing.
    controller_.ExchangeControl.Begin(lines_.size());
    controller_.ExchangeControl.SetReplyTaker([this] { return TakeReplyInThread(); });
    controller_.DeferShown(true);
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

std::string TRWThread::ReplyResult() const {
    const std::string code = controller_.CommonDatas().LastError.Get();
    if (code == "E16*" || code == "E26*" || code == "E36*")
        return "Er6";
    if (code == "E19*" || code == "E29*" || code == "E39*")
        return "Er9";
    return " ";
}

bool TRWThread::StopsAfter(const std::string& result) const {
    const TCommonDatas& datas = controller_.CommonDatas();
    return (result.back() == '6' && datas.StopOnCommandError.load() == 1) ||
           (result.back() == '9' && datas.StopOnDataError.load() == 1);
}

std::size_t TRWThread::NextLine(std::size_t index) const {
    // Every line is sent, however long the list: the editor sets no limit either.
    while (index < lines_.size() && lines_[index].empty())
        ++index;
    return index;
}

TRWThread::TClock::time_point TRWThread::ReplyDeadline() const {
    return TClock::now() + std::chrono::milliseconds(controller_.CommonDatas().ReplyTimeout);
}

bool TRWThread::Write(std::size_t index, const std::string& bytes) {
    {
        std::lock_guard lock(mutex_);
        line_ = index;
        awaiting_ = true;
        writing_ = true;
    }
    const bool ok =
        controller_.ExchangeControl.Send(index + 1, [&] { controller_.Port().SendString(bytes); });
    std::lock_guard lock(mutex_);
    writing_ = false;
    ++sent_;
    deadline_ = ReplyDeadline();
    return ok;
}

std::string TRWThread::WaitReply() {
    TExchangeControl& control = controller_.ExchangeControl;
    for (;;) {
        std::uint64_t sent = 0;
        long long ms = 0;
        std::string rest;
        std::size_t line = 0;
        {
            std::lock_guard lock(mutex_);
            if (restPending_) {
                rest.swap(rest_);
                restPending_ = false;
                writing_ = true;
                line = line_;
            }
            sent = sent_;
            ms = std::chrono::ceil<std::chrono::milliseconds>(deadline_ - TClock::now()).count();
        }
        if (!rest.empty()) {
            const bool wrote = control.Send(line + 1, [&] { controller_.Port().SendString(rest); });
            std::lock_guard lock(mutex_);
            writing_ = false;
            deadline_ = ReplyDeadline();
            if (!wrote) {
                awaiting_ = false; // half a line has no reply to wait for
                return "Stopped";
            }
            continue;
        }
        controller_.FlushShown();
        if (control.WaitReply(static_cast<int>(std::clamp(ms, 0LL, ShowTickMs)),
                              [this] { return restPending_.load(); })) {
            const std::string result = ReplyResult();
            std::lock_guard lock(mutex_);
            awaiting_ = false;
            controller_.ReplyEvent.Reset();
            return result;
        }
        if (EndsAtOnce(control.StopReason()))
            return "Stopped";
        std::lock_guard lock(mutex_);
        // The receive thread may have sent further lines meanwhile: their time counts.
        if (restPending_ || sent_ != sent || TClock::now() < deadline_)
            continue;
        awaiting_ = false;
        return "No answer!";
    }
}

bool TRWThread::TakeReplyInThread() {
    TExchangeControl& control = controller_.ExchangeControl;
    bool wakeForRest = false;
    {
        std::lock_guard lock(mutex_);
        // Anything but a plain step to the next line is left to the exchange thread, as is
        // a line the driver cannot take at once.
        if (!awaiting_ || writing_ || ended_ || restPending_ || controller_.ReplyEvent.IsSet() ||
            control.StopReason() != TExchangeStop::None || StopsAfter(ReplyResult()))
            return false;
        const std::size_t next = NextLine(line_ + 1);
        if (next == lines_.size())
            return false;
        const std::string request = Request(lines_[next]);
        std::size_t written = 0;
        if (!control.TrySend(next + 1, [&] {
                written = controller_.Port().TryWrite(request.data(), request.size());
                return written > 0;
            }))
            return false;
        line_ = next;
        ++sent_;
        deadline_ = ReplyDeadline();
        if (written < request.size()) {
            rest_ = request.substr(written);
            restPending_ = true;
            wakeForRest = true;
        }
    }
    if (wakeForRest)
        controller_.ReplyEvent.Notify();
    return true;
}

void TRWThread::Execute() {
    TExchangeControl& control = controller_.ExchangeControl;
    std::size_t next = NextLine(0);
    while (next < lines_.size()) {
        if (!Write(next, Request(lines_[next])))
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
        if (StopsAfter(r))
            break;
        std::lock_guard lock(mutex_);
        next = NextLine(line_ + 1);
    }
    {
        std::lock_guard lock(mutex_);
        ended_ = true;
    }
    control.SetReplyTaker(nullptr);
    controller_.DeferShown(false);
    controller_.SenderIdleEvent.Set();
    control.End();
    finished_ = true;
    controller_.PostExchangeEnded();
}

} // namespace zav
