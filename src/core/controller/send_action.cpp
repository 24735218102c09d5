#include "controller/send_action.h"

#include <algorithm>

namespace zav {

TSendAction::TSendAction(TParts parts, std::function<void()> ended)
    : parts_(parts), ended_(std::move(ended)) {}

TSendAction::~TSendAction() = default;

bool TSendAction::Running() const {
    return thread_ && !thread_->Finished();
}

void TSendAction::Terminate() {
    if (thread_)
        thread_->Terminate();
}

bool TSendAction::Run(TSendRange range) {
    return Start(std::nullopt, range);
}

bool TSendAction::RunLines(std::vector<std::string> lines, TSendRange range) {
    return Start(std::move(lines), range);
}

bool TSendAction::Start(std::optional<std::vector<std::string>> given, TSendRange range) {
    const TLang& lang = parts_.Lang;
    // Without an open port every command would end in a false "no reply": say which port
    // is closed, send nothing and keep the list.
    if (!parts_.Port.Connected()) {
        parts_.Log.Log(lang.Message(msgPortClosedNotSent) +
                           std::to_string(parts_.Port.PortNumber()) +
                           lang.Message(msgPortClosedNotSentEnd),
                       true);
        return false;
    }
    if (Running()) {
        // The reply event belongs to the running exchange: clearing it could lose a
        // reply that has arrived, and that exchange would stop with a false time-out.
        if (!parts_.MemoSend.Empty())
            parts_.Log.Log(lang.Message(msgListNotSent), true);
        return false;
    }
    // One writer on the port: a read-back takes every reply until its end mark.
    if (parts_.ChanRead.Reading()) {
        parts_.Log.Log(lang.Message(msgExchangeDuringRead), true);
        return false;
    }
    // No value outside its command's range reaches the controller.
    if (parts_.Editor.RefuseOutOfRange())
        return false;
    parts_.ReplyEvent.Reset();
    thread_.reset(); // one that has ended but whose end is not yet processed
    parts_.Replies.ExchangeStarting();
    parts_.MemoRead.Clear();
    std::vector<std::string> lines = given ? std::move(*given) : parts_.MemoSend.Lines();
    range.First = std::min(range.First, lines.size());
    range.End = std::clamp(range.End, range.First, lines.size());
    for (IExchangeObserver* observer : observers_) {
        observer->ExchangeRange(range.First, range.End);
        observer->ExchangeStarted(lines);
    }
    thread_ = std::make_unique<TRWThread>(std::move(lines), Links(), range.First, range.End);
    parts_.Progress.Started();
    return true;
}

TExchangeLinks TSendAction::Links() {
    // The exchange thread only posts to the main thread, never waits for it: the main
    // thread may itself be waiting for the exchange to end. What is posted is dropped if
    // the log dispatch, which goes last, is gone by then.
    return TExchangeLinks{
        parts_.Port,
        parts_.Datas,
        parts_.ExchangeControl,
        parts_.ReplyEvent,
        parts_.SenderIdleEvent,
        [this](bool on) { parts_.Replies.DeferShown(on); },
        [this] { parts_.Replies.FlushShown(); },
        [this] {
            parts_.Log.Post([this] { parts_.Log.Log(parts_.Lang.Message(msgNoReply), true); });
        },
        [this](const TExchangeRecord& record) {
            for (IExchangeObserver* observer : observers_)
                observer->LineDone(record);
        },
        [this] { parts_.Log.Post([this] { Ended(); }); }};
}

void TSendAction::Ended() {
    if (thread_ && thread_->Finished()) {
        lastOutcome_ = thread_->LastOutcome();
        thread_.reset();
        parts_.Progress.Ended();
        for (IExchangeObserver* observer : observers_)
            observer->ExchangeEnded(lastOutcome_);
        if (ended_)
            ended_();
    }
}

} // namespace zav
