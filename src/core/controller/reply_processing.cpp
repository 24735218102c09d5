#include "controller/reply_processor.h"

#include "controller/simple_mode.h"
#include "controller/text_lines.h"
#include "localisation/lang.h"
#include "serial/event.h"
#include "serial/exchange_control.h"
#include "state/codepage.h"
#include "state/common_datas.h"

namespace zav {

namespace {
// A reply is a few characters; text this long without a "*" is line noise, and keeping
// it would let a babbling device grow the buffer without bound.
constexpr std::size_t MaxPendingReply = 4096;

// Far more than any stored program; a capture left on must not grow without bound.
constexpr std::size_t MaxReadBuffer = 1 << 20;

bool IsCodedReply(const std::string& reply) {
    return reply.size() == 4 && reply[0] == 'E';
}

int StartedCoordinate(const std::string& echo) {
    if (echo == "ST1*")
        return 1;
    if (echo == "ST2*")
        return 2;
    if (echo == "ST3*")
        return 3;
    return 0;
}

// The coordinate a coded reply is for, 0 for a digit that names none.
int ReplyCoordinate(const std::string& reply) {
    return reply[1] >= '1' && reply[1] <= '3' ? reply[1] - '0' : 0;
}
} // namespace

TReplyProcessor::TReplyProcessor(TParts parts, TReplyOutlets outlets)
    : parts_(parts), outlets_(std::move(outlets)) {}

void TReplyProcessor::LogMessage(int n, bool red) {
    outlets_.OnMain([this, n, red] { outlets_.Log(parts_.Lang.Message(n), red); });
}

void TReplyProcessor::HandleReceived(const std::uint8_t* bytes, std::uint32_t count) {
    const std::string block(reinterpret_cast<const char*>(bytes), count);
    std::unique_lock lock(mutex_);
    recovered_.wait(lock, [this] { return !recovering_; });
    buffer_ += block;
    exchangeWoken_ = false;
    Process(lock);
    // After the replies, so the exchange woken by them goes first; under the lock, so that
    // whoever saw the exchange end and then takes the lock finds the block posted.
    ShowReceived(Cp1251ToUtf8(block));
}

void TReplyProcessor::ProcessReplies(std::string text) {
    std::unique_lock lock(mutex_);
    recovered_.wait(lock, [this] { return !recovering_; });
    buffer_ = std::move(text);
    Process(lock);
}

void TReplyProcessor::SettleReceived() {
    std::unique_lock lock(mutex_);
    recovered_.wait(lock, [this] { return !recovering_; });
}

std::string TReplyProcessor::ReceiveBuffer() const {
    std::lock_guard lock(mutex_);
    return buffer_;
}

void TReplyProcessor::ClearReceiveBuffer() {
    std::unique_lock lock(mutex_);
    // The recovery that runs on this thread clears what its block left; another thread's
    // clearing comes after it, as it would after any processing.
    recovered_.wait(
        lock, [this] { return !recovering_ || recoveringThread_ == std::this_thread::get_id(); });
    std::string().swap(buffer_);
}

void TReplyProcessor::ShowReceived(const std::string& text) {
    // Blocks that arrive while the window thread is busy are shown together: one post,
    // not one per block, competes with the exchange for the processor.
    bool post = false;
    {
        std::lock_guard lock(shownMutex_);
        shownPending_ += text;
        post = !shownPosted_ && (!shownDeferred_ || exchangeWoken_);
        shownPosted_ = shownPosted_ || post;
    }
    if (post)
        PostShown();
}

void TReplyProcessor::DeferShown(bool on) {
    {
        std::lock_guard lock(shownMutex_);
        shownDeferred_ = on;
    }
    if (!on)
        FlushShown();
}

void TReplyProcessor::FlushShown() {
    bool post = false;
    {
        std::lock_guard lock(shownMutex_);
        post = !shownPosted_ && !shownPending_.empty();
        shownPosted_ = shownPosted_ || post;
    }
    if (post)
        PostShown();
}

void TReplyProcessor::PostShown() {
    outlets_.OnMain([this] {
        std::string shown;
        {
            std::lock_guard lock(shownMutex_);
            shown.swap(shownPending_);
            shownPosted_ = false;
        }
        parts_.Received.AppendReplies(shown);
    });
}

void TReplyProcessor::StopExchangeOnTransferError() {
    const TExchangeControl::TPosition stopped = parts_.Exchange.Stop(TExchangeStop::TransferError);
    if (!stopped.Running)
        return;
    outlets_.OnMain([this, stopped] {
        outlets_.Log(parts_.Lang.Message(msgListStoppedAtLine) + std::to_string(stopped.Line) +
                         parts_.Lang.Message(msgListStoppedOf) + std::to_string(stopped.Total),
                     true);
    });
}

void TReplyProcessor::Process(std::unique_lock<std::mutex>& lock) {
    TCommonDatas& datas = parts_.Datas;

    // A data transfer error is acted on wherever it stands in the received text.
    for (const char* transferError : {"E15*", "E25*", "E35*"}) {
        const std::size_t pos = buffer_.find(transferError);
        if (pos == std::string::npos)
            continue;
        datas.LastError = transferError;
        if (transferErrorSeen_)
            transferErrorSeen_();
        if (recoveryEdOutstanding_.exchange(false)) {
            // The answer to the recovery's own ED*: the operator knows of the error already,
            // and another recovery would only meet the same fault again, without end.
            buffer_.erase(pos, 4);
            break;
        }
        LogMessage(msgTransferError, true);
        // The recording under way has lost a command: its end must not read as complete.
        for (int n = 1; n <= 3; ++n)
            if (datas.CoordState(n) == 2)
                recordingCut_ = true;
        // Whatever the recovery does, the list stops here: the recovery's own ED* would
        // otherwise be taken as the reply to the failed command, and the rest of the list
        // go out after the recording has ended.
        StopExchangeOnTransferError();
        RunRecovery(lock); // may empty the buffer
        if (pos < buffer_.size())
            buffer_.erase(pos, 4);
        outlets_.OnMain([this] { outlets_.ShowMessage(parts_.Lang.Message(msgTransferError)); });
        break;
    }
    FrameReplies();
    if (echoRecoveryDue_) {
        echoRecoveryDue_ = false;
        RunRecovery(lock);
    }
}

void TReplyProcessor::RunRecovery(std::unique_lock<std::mutex>& lock) {
    if (!parts_.Datas.AutoRecovery || !recovery_)
        return;
    // The recovery waits on the line: without the lock, so that the window thread is never
    // held up by it. Nothing else is processed until it has ended.
    recovering_ = true;
    recoveringThread_ = std::this_thread::get_id();
    lock.unlock();
    recovery_();
    lock.lock();
    recovering_ = false;
    recovered_.notify_all();
}

bool TReplyProcessor::StopsOnEcho(const std::string& reply) {
    const TEchoResult echo = parts_.Exchange.Echo().Take(reply[2] == '0');
    if (echo.Verdict != TEchoVerdict::Mismatch || !parts_.Datas.EchoCheck)
        return false;
    // The controller took another command and has carried it out or stored it: nothing
    // more of the list may follow, and the wrong command must not pass for the line's.
    const TExchangeControl::TPosition stopped = parts_.Exchange.Stop(TExchangeStop::EchoMismatch);
    if (!stopped.Running)
        return false; // stopped already for another cause, which the operator is told of
    outlets_.OnMain([this, stopped, echo] {
        const TLang& lang = parts_.Lang;
        outlets_.Log(lang.Message(msgEchoMismatch) + std::to_string(stopped.Line) +
                         lang.Message(msgListStoppedOf) + std::to_string(stopped.Total) +
                         lang.Message(msgEchoMismatchSent) + echo.Request +
                         lang.Message(msgEchoMismatchEchoed) + echo.Echo +
                         lang.Message(msgEchoMismatchEnd),
                     true);
    });
    // Inside a recording the controller has stored it: the recording is ended as after a
    // data transfer error, and its end is reported as cut short.
    for (int n = 1; n <= 3; ++n)
        if (parts_.Datas.CoordState(n) == 2) {
            recordingCut_ = true;
            echoRecoveryDue_ = true;
        }
    return true;
}

void TReplyProcessor::FrameReplies() {
    TCommonDatas& datas = parts_.Datas;
    const std::size_t cr = buffer_.find('\r');
    if (cr != std::string::npos)
        buffer_.erase(cr, 1);
    const std::size_t lf = buffer_.find('\n');
    if (lf != std::string::npos)
        buffer_.erase(lf, 1);

    // Replies are taken from the front with a cursor and erased once at the end, so a
    // block of many replies costs time linear in its length.
    std::size_t start = 0;
    for (;;) {
        const std::size_t star = buffer_.find('*', start);
        if (star == std::string::npos)
            break;
        const std::string reply =
            Cp1251ToUtf8(std::string_view(buffer_).substr(start, star + 1 - start));
        start = star + 1;

        if (!parts_.SenderIdleEvent.WaitFor(1000)) {
            outlets_.OnMain(
                [this] { outlets_.ShowMessage(parts_.Lang.Message(msgTransferNotReady)); });
            continue;
        }
        if (IsCodedReply(reply)) {
            recoveryEdOutstanding_ = false;
            // Every echo empties LastError: while it is empty, the command echoed last
            // still awaits its coded reply.
            const bool echoAwaitsCode = datas.LastError.Get().empty();
            datas.LastError = reply;
            const char code = reply[2];
            if (code == '2' || code == '3' || code == '4' || code == '8') {
                // A stop or pause is answered by these codes right after its echo; one that
                // comes after the command's own reply is a program's news, not a reply.
                const bool answers = datas.AnyStarted && echoAwaitsCode;
                // Each coordinate's own code ends what its start began, whichever echo
                // came last: one "ST*" starts three, and each reports its own end. The
                // answer to a pause or resumption leaves the program alive. Before the
                // decoding, so that whoever sees its log line finds the flag cleared.
                const bool answersPause =
                    echoAwaitsCode && datas.LastReply.Get().find("PS") != std::string::npos;
                if (const int n = ReplyCoordinate(reply)) {
                    parts_.SimpleMode.StopEnded(n);
                    if (!answersPause)
                        datas.SetCoordStarted(n, false);
                }
                DecodeReplyCode(reply);
                if (answers && !StopsOnEcho(reply) && !parts_.Exchange.TakeReply()) {
                    exchangeWoken_ = true;
                    parts_.ReplyEvent.Set();
                }
            } else if (code == '0' || code == '6' || code == '9') {
                DecodeReplyCode(reply);
                if (!StopsOnEcho(reply) && !parts_.Exchange.TakeReply()) {
                    exchangeWoken_ = true;
                    parts_.ReplyEvent.Set();
                }
            }
        } else {
            // The recovery's own ED* is no echo of the line that failed.
            if (!(recoveryEdOutstanding_ && reply == "ED*"))
                parts_.Exchange.Echo().Received(reply);
            if (reply == "RD1*" || reply == "RD2*" || reply == "RD3*" || reply == "RB*")
                datas.ReadCapture = true;
            if (datas.ReadCapture && datas.ReadBuffer.AppendAndFind(reply, "ED*", MaxReadBuffer))
                parts_.ReadDoneEvent.Set();
            if (reply == "ST*") {
                for (int n = 1; n <= 3; ++n)
                    datas.SetCoordStarted(n, true);
            } else if (const int n = StartedCoordinate(reply)) {
                datas.SetCoordStarted(n, true);
            }
            datas.LastReply = reply;
            datas.LastError = "";
        }
    }
    buffer_.erase(0, start);

    if (start > 0)
        noiseReported_ = false;
    if (buffer_.size() > MaxPendingReply) {
        const std::size_t drop = buffer_.size() - MaxPendingReply / 2;
        buffer_.erase(0, drop);
        // Once per stretch of noise, not once per block of it.
        if (!noiseReported_) {
            const std::string count = std::to_string(drop);
            outlets_.OnMain([this, count] {
                outlets_.Log(parts_.Lang.Message(msgDiscarded) + count +
                                 parts_.Lang.Message(msgDiscardedEnd),
                             true);
            });
        }
        noiseReported_ = true;
    }
}

} // namespace zav
