#include "controller/controller.h"
#include "state/codepage.h"

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

void TController::HandleReceived(const std::uint8_t* bytes, std::uint32_t count,
                                 std::uint32_t /*errors*/) {
    const std::string block(reinterpret_cast<const char*>(bytes), count);
    std::lock_guard lock(ReplyMutex);
    std::string text = std::move(ReceiveBuffer);
    text += block;
    exchangeWoken_ = false;
    ProcessReplies(std::move(text));
    // After the replies, so the exchange woken by them goes first; under the lock, so that
    // whoever saw the exchange end and then takes the lock finds the block posted.
    ShowReceived(Cp1251ToUtf8(block));
}

void TController::SettleReceived() {
    std::lock_guard lock(ReplyMutex);
}

void TController::ShowReceived(const std::string& text) {
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

void TController::DeferShown(bool on) {
    {
        std::lock_guard lock(shownMutex_);
        shownDeferred_ = on;
    }
    if (!on)
        FlushShown();
}

void TController::FlushShown() {
    bool post = false;
    {
        std::lock_guard lock(shownMutex_);
        post = !shownPosted_ && !shownPending_.empty();
        shownPosted_ = shownPosted_ || post;
    }
    if (post)
        PostShown();
}

void TController::PostShown() {
    OnMain([this] {
        std::string shown;
        {
            std::lock_guard lock(shownMutex_);
            shown.swap(shownPending_);
            shownPosted_ = false;
        }
        lbBufRead.AppendReplies(shown);
    });
}

void TController::ProcessReplies(std::string text) {
    std::lock_guard lock(ReplyMutex);
    ReceiveBuffer = std::move(text);
    TCommonDatas& datas = *commonDatas_;

    // A data transfer error is acted on wherever it stands in the received text.
    for (const char* transferError : {"E15*", "E25*", "E35*"}) {
        const std::size_t pos = ReceiveBuffer.find(transferError);
        if (pos == std::string::npos)
            continue;
        datas.LastError = transferError;
        if (recoveryEdOutstanding_.exchange(false)) {
            // The answer to the recovery's own ED*: the operator knows of the error already,
            // and another recovery would only meet the same fault again, without end.
            ReceiveBuffer.erase(pos, 4);
            break;
        }
        LogMessage(12, true);
        // The recording under way has lost a command: its end must not read as complete.
        for (int n = 1; n <= 3; ++n)
            if (datas.CoordState(n) == 2)
                recordingCut_ = true;
        // Whatever the recovery does, the list stops here: the recovery's own ED* would
        // otherwise be taken as the reply to the failed command, and the rest of the list
        // go out after the recording has ended.
        StopExchangeOnTransferError();
        if (datas.AutoRecovery)
            commands_->RunRecovery(); // may empty ReceiveBuffer
        if (pos < ReceiveBuffer.size())
            ReceiveBuffer.erase(pos, 4);
        OnMain([this] { ShowMessage(lang_->Message(12)); });
        break;
    }

    const std::size_t cr = ReceiveBuffer.find('\r');
    if (cr != std::string::npos)
        ReceiveBuffer.erase(cr, 1);
    const std::size_t lf = ReceiveBuffer.find('\n');
    if (lf != std::string::npos)
        ReceiveBuffer.erase(lf, 1);

    // Replies are taken from the front with a cursor and erased once at the end, so a
    // block of many replies costs time linear in its length.
    std::size_t start = 0;
    for (;;) {
        const std::size_t star = ReceiveBuffer.find('*', start);
        if (star == std::string::npos)
            break;
        const std::string reply =
            Cp1251ToUtf8(std::string_view(ReceiveBuffer).substr(start, star + 1 - start));
        start = star + 1;

        if (!SenderIdleEvent.WaitFor(1000)) {
            OnMain([this] { ShowMessage(lang_->Message(13)); });
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
                    simpleMode_->StopEnded(n);
                    if (!answersPause)
                        datas.SetCoordStarted(n, false);
                }
                commands_->DecodeReplyCode(reply);
                if (answers && !ExchangeControl.TakeReply()) {
                    exchangeWoken_ = true;
                    ReplyEvent.Set();
                }
            } else if (code == '0' || code == '6' || code == '9') {
                commands_->DecodeReplyCode(reply);
                if (!ExchangeControl.TakeReply()) {
                    exchangeWoken_ = true;
                    ReplyEvent.Set();
                }
            }
        } else {
            if (reply == "RD1*" || reply == "RB*")
                datas.ReadCapture = true;
            if (datas.ReadCapture && datas.ReadBuffer.AppendAndFind(reply, "ED*", MaxReadBuffer))
                ReadDoneEvent.Set();
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
    ReceiveBuffer.erase(0, start);

    if (start > 0)
        noiseReported_ = false;
    if (ReceiveBuffer.size() > MaxPendingReply) {
        const std::size_t drop = ReceiveBuffer.size() - MaxPendingReply / 2;
        ReceiveBuffer.erase(0, drop);
        // Once per stretch of noise, not once per block of it.
        if (!noiseReported_) {
            const std::string count = std::to_string(drop);
            OnMain([this, count] {
                Log(lang_->Message(msgDiscarded) + count + lang_->Message(msgDiscardedEnd), true);
            });
        }
        noiseReported_ = true;
    }
}

} // namespace zav
