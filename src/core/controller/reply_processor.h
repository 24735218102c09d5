#pragma once
// Reply framing: the received bytes are kept until a "*" closes a reply, and each reply
// sets the shared state (coordinate states, the last reply and error, the read-back
// capture) and wakes whoever waits for it. Runs on the receive thread while the port is
// open, or on whichever thread calls it.
//
// A data transfer error starts the error recovery when the settings say so. The recovery
// sleeps, so it runs with the lock released; until it has ended, no reply is processed:
// the thread that found the error goes on with the rest only afterwards, and another
// thread that hands in text meanwhile waits for it.

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <mutex>
#include <string>
#include <thread>

namespace zav {

class TCommonDatas;
class TLang;
class TSimpleMode;
class TExchangeControl;
class TEvent;
class TTextLines;

// Where reply processing reports to. OnMain runs a function on the main thread (at once
// when called there); Log adds a line to the operation log, ShowMessage shows a box:
// both from the main thread.
struct TReplyOutlets {
    std::function<void(std::function<void()>)> OnMain;
    std::function<void(const std::string& line, bool red)> Log;
    std::function<void(const std::string& text)> ShowMessage;
};

class TReplyProcessor {
public:
    struct TParts {
        TCommonDatas& Datas;
        TLang& Lang;
        TSimpleMode& SimpleMode;
        TExchangeControl& Exchange;
        TEvent& ReplyEvent;
        TEvent& SenderIdleEvent;
        TEvent& ReadDoneEvent;
        TTextLines& MemoRead; // the "Loading:" memo: each recorded command acknowledged
        TTextLines& Received; // the "Response:" list: the received text as it came
    };
    TReplyProcessor(TParts parts, TReplyOutlets outlets);
    TReplyProcessor(const TReplyProcessor&) = delete;
    TReplyProcessor& operator=(const TReplyProcessor&) = delete;

    // The error recovery, run on a data transfer error when automatic recovery is on.
    void SetRecovery(std::function<void()> recovery) { recovery_ = std::move(recovery); }
    // Told of every data transfer error on the line, the recovery's own included.
    void SetTransferErrorSeen(std::function<void()> seen) { transferErrorSeen_ = std::move(seen); }

    // One block as read from the port: processed after what was kept of the last one.
    void HandleReceived(const std::uint8_t* bytes, std::uint32_t count);
    // Processes text in place of what is kept.
    void ProcessReplies(std::string text);
    // Returns once everything taken from the blocks handled so far has been posted to the
    // window thread.
    void SettleReceived();
    // What is kept: the start of a reply whose "*" has not come yet.
    std::string ReceiveBuffer() const;
    // The recovery's clearing: what is kept is dropped.
    void ClearReceiveBuffer();

    // Recovery: its ED* is on the line; the transfer error that may answer it is not
    // reported again and starts no second recovery.
    void RecoveryEdSent() { recoveryEdOutstanding_ = true; }
    // Main thread, before a send starts: no recovery's ED* is awaited any more.
    void ExchangeStarting() { recoveryEdOutstanding_ = false; }

    // The exchange thread: while it runs, received text waits for its tick (FlushShown)
    // unless a reply wakes it; a post per reply would wake the window thread once per
    // command.
    void DeferShown(bool on);
    void FlushShown();

private:
    // Under mutex_ (held by lock on entry and on return; released while a recovery runs).
    void Process(std::unique_lock<std::mutex>& lock);
    void FrameReplies();
    // One coded reply "E" + coordinate digit + code digit + "*".
    void DecodeReplyCode(const std::string& reply);
    void ShowReceived(const std::string& text);
    void PostShown();
    void LogMessage(int n, bool red = false);
    // A data transfer error stops the running exchange.
    void StopExchangeOnTransferError();
    // The recovery, when it is on, with the lock released.
    void RunRecovery(std::unique_lock<std::mutex>& lock);
    // The verdict on the echo of the line that this coded reply answers; true when it
    // stopped the list.
    bool StopsOnEcho(const std::string& reply);

    TParts parts_;
    TReplyOutlets outlets_;
    std::function<void()> recovery_;
    std::function<void()> transferErrorSeen_;

    mutable std::mutex mutex_;
    std::condition_variable recovered_;
    // Guarded by mutex_:
    std::string buffer_;
    bool recovering_ = false; // a recovery runs with the lock released, on this thread:
    std::thread::id recoveringThread_;
    bool exchangeWoken_ = false;   // the block being handled woke the exchange thread
    bool noiseReported_ = false;   // text without "*" was reported and no reply came since
    bool echoRecoveryDue_ = false; // an echo stopped a recording: recover once the block is done

    std::mutex shownMutex_;
    // Guarded by shownMutex_:
    std::string shownPending_; // received, not yet in the "Response:" list
    bool shownPosted_ = false;
    bool shownDeferred_ = false;

    // The recovery's own ED* is outstanding: a transfer error in its reply starts no
    // second recovery and is not reported again.
    std::atomic<bool> recoveryEdOutstanding_{false};
    // A data transfer error came while a coordinate was recording: the end of that
    // recording is reported as cut short.
    std::atomic<bool> recordingCut_{false};
};

} // namespace zav
