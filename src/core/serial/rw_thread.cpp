#include "serial/rw_thread.h"

#include <algorithm>

#include "serial/com_port.h"
#include "serial/event.h"
#include "serial/exchange_control.h"
#include "state/codepage.h"
#include "state/common_datas.h"

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

TSendOutcome ReplyOutcome(const std::string& code) {
    if (code == "E16*" || code == "E26*" || code == "E36*")
        return TSendOutcome::CommandError;
    if (code == "E19*" || code == "E29*" || code == "E39*")
        return TSendOutcome::DataError;
    return TSendOutcome::Accepted;
}

bool StopsAfter(TSendOutcome outcome, int stopOnCommandError, int stopOnDataError) {
    return (outcome == TSendOutcome::CommandError && stopOnCommandError == 1) ||
           (outcome == TSendOutcome::DataError && stopOnDataError == 1);
}

TRWThread::TRWThread(std::vector<std::string> lines, TExchangeLinks links, std::size_t first,
                     std::size_t end)
    : lines_(std::move(lines)), first_(std::min(first, lines_.size())),
      end_(std::clamp(end, first_, lines_.size())), links_(std::move(links)) {
    // The list is a copy taken on the main thread: the operator may edit the grid while
    // the exchange runs, and the thread must not read a list that is changing.
    links_.Control.Begin(lines_.size());
    links_.Control.SetReplyTaker([this] { return TakeReplyInThread(); });
    links_.DeferShown(true);
    thread_ = std::thread([this] { Execute(); });
}

TRWThread::~TRWThread() {
    if (!finished_)
        Terminate();
    Join();
}

void TRWThread::Terminate() {
    links_.Control.Stop(TExchangeStop::Shutdown, false);
}

void TRWThread::Join() {
    if (thread_.joinable())
        thread_.join();
}

TSendOutcome TRWThread::ReplyResult() const {
    return ReplyOutcome(links_.Datas.LastError.Get());
}

bool TRWThread::StopsAfter(TSendOutcome outcome) const {
    return zav::StopsAfter(outcome, links_.Datas.StopOnCommandError.load(),
                           links_.Datas.StopOnDataError.load());
}

std::size_t TRWThread::NextLine(std::size_t index) const {
    // Every line is sent, however long the list: the editor sets no limit either.
    while (index < end_ && lines_[index].empty())
        ++index;
    return index;
}

TRWThread::TClock::time_point TRWThread::ReplyDeadline() const {
    return TClock::now() + std::chrono::milliseconds(links_.Datas.ReplyTimeout);
}

bool TRWThread::Write(std::size_t index, const std::string& bytes) {
    {
        std::lock_guard lock(mutex_);
        line_ = index;
        awaiting_ = true;
        writing_ = true;
    }
    // Before the write: the receive thread may take the echo before the write returns.
    links_.Control.Echo().Expect(lines_[index]);
    const bool ok = links_.Control.Send(index + 1, [&] { links_.Port.SendString(bytes); });
    std::lock_guard lock(mutex_);
    writing_ = false;
    ++sent_;
    deadline_ = ReplyDeadline();
    sentAt_ = TClock::now();
    sentWall_ = std::chrono::system_clock::now();
    return ok;
}

TSendOutcome TRWThread::WaitReply() {
    TExchangeControl& control = links_.Control;
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
            const bool wrote = control.Send(line + 1, [&] { links_.Port.SendString(rest); });
            std::lock_guard lock(mutex_);
            writing_ = false;
            deadline_ = ReplyDeadline();
            sentAt_ = TClock::now();
            sentWall_ = std::chrono::system_clock::now();
            if (!wrote) {
                awaiting_ = false; // half a line has no reply to wait for
                return TSendOutcome::Stopped;
            }
            continue;
        }
        links_.FlushShown();
        if (control.WaitReply(static_cast<int>(std::clamp(ms, 0LL, ShowTickMs)),
                              [this] { return restPending_.load(); })) {
            const TSendOutcome result = ReplyResult();
            std::lock_guard lock(mutex_);
            awaiting_ = false;
            ReportLine(result, links_.Datas.LastError.Get());
            links_.ReplyEvent.Reset();
            return result;
        }
        if (const TExchangeStop stop = control.StopReason(); EndsAtOnce(stop)) {
            if (stop != TExchangeStop::EchoMismatch)
                return TSendOutcome::Stopped;
            // Reply processing stopped the list on this line's echo, with its coded reply.
            std::lock_guard lock(mutex_);
            awaiting_ = false;
            ReportLine(TSendOutcome::EchoMismatch, links_.Datas.LastError.Get());
            return TSendOutcome::EchoMismatch;
        }
        std::lock_guard lock(mutex_);
        // The receive thread may have sent further lines meanwhile: their time counts.
        if (restPending_ || sent_ != sent || TClock::now() < deadline_)
            continue;
        awaiting_ = false;
        ReportLine(TSendOutcome::NoAnswer, {});
        return TSendOutcome::NoAnswer;
    }
}

bool TRWThread::TakeReplyInThread() {
    TExchangeControl& control = links_.Control;
    bool wakeForRest = false;
    {
        std::lock_guard lock(mutex_);
        // Anything but a plain step to the next line is left to the exchange thread, as is
        // a line the driver cannot take at once.
        if (!awaiting_ || writing_ || ended_ || restPending_ || links_.ReplyEvent.IsSet() ||
            control.StopReason() != TExchangeStop::None || StopsAfter(ReplyResult()))
            return false;
        const std::size_t next = NextLine(line_ + 1);
        if (next == end_)
            return false;
        const std::string request = Request(lines_[next]);
        const std::string reply = links_.Datas.LastError.Get();
        const TClock::time_point repliedAt = TClock::now();
        std::size_t written = 0;
        if (!control.TrySend(next + 1, [&] {
                written = links_.Port.TryWrite(request.data(), request.size());
                return written > 0;
            }))
            return false;
        ReportLine(TSendOutcome::Accepted, reply, repliedAt);
        // After the write is fine here: the echo is taken on this thread, once it returns.
        control.Echo().Expect(lines_[next]);
        line_ = next;
        ++sent_;
        deadline_ = ReplyDeadline();
        sentAt_ = TClock::now();
        sentWall_ = std::chrono::system_clock::now();
        if (written < request.size()) {
            rest_ = request.substr(written);
            restPending_ = true;
            wakeForRest = true;
        }
    }
    if (wakeForRest)
        links_.ReplyEvent.Notify();
    return true;
}

void TRWThread::ReportLine(TSendOutcome outcome, const std::string& reply,
                           TClock::time_point repliedAt) {
    if (!links_.LineDone)
        return;
    TExchangeRecord record;
    record.SentAt = sentWall_;
    record.Index = line_;
    record.Request = lines_[line_];
    record.Reply = reply;
    // Reply processing took the verdict with the coded reply; without one, what came.
    record.Echo = (outcome == TSendOutcome::NoAnswer ? links_.Control.Echo().Take()
                                                     : links_.Control.Echo().LastResult())
                      .Echo;
    record.Outcome = outcome;
    record.Latency = std::chrono::duration_cast<std::chrono::milliseconds>(repliedAt - sentAt_);
    links_.LineDone(record);
}

void TRWThread::Execute() {
    TExchangeControl& control = links_.Control;
    std::size_t next = NextLine(first_);
    while (next < end_) {
        if (!Write(next, Request(lines_[next])))
            break;
        const TSendOutcome r = WaitReply();
        lastOutcome_ = r;
        // Whoever stopped the exchange has told the operator why. The operator's stop
        // lets the last reply be taken as usual; Send then refuses the next line.
        if (EndsAtOnce(control.StopReason()))
            break;
        if (r == TSendOutcome::NoAnswer) {
            links_.NoReply();
            links_.SenderIdleEvent.Set();
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
    links_.DeferShown(false);
    links_.SenderIdleEvent.Set();
    control.End();
    finished_ = true;
    links_.Ended();
}

} // namespace zav
