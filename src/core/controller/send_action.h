#pragma once
// The Send action: checks that a list may go out now, starts the exchange thread on it,
// and takes its end back on the main thread.

#include <functional>
#include <memory>
#include <optional>
#include <vector>

#include "controller/reply_processor.h"
#include "controller/send_progress.h"
#include "controller/text_lines.h"
#include "localisation/lang.h"
#include "program-editing/chan_read.h"
#include "program-editing/command_editor.h"
#include "program-editing/command_list.h"
#include "serial/com_port.h"
#include "serial/event.h"
#include "serial/exchange_control.h"
#include "serial/exchange_observer.h"
#include "serial/rw_thread.h"
#include "state/common_datas.h"
#include "state/log_dispatch.h"

namespace zav {

// The lines of the send list that a send goes through: First up to End (one past the
// last). Lines keep their index in the whole list, in the journal and the progress alike.
struct TSendRange {
    std::size_t First = 0;
    std::size_t End = static_cast<std::size_t>(-1);
};

class TSendAction {
public:
    struct TParts {
        TComPort& Port;
        TCommonDatas& Datas;
        const TLang& Lang;
        TLogDispatch& Log;
        TCommandList& MemoSend;
        TTextLines& MemoRead;
        TCommandEditor& Editor;
        TChanRead& ChanRead;
        TReplyProcessor& Replies;
        TSendProgress& Progress;
        TExchangeControl& ExchangeControl;
        TEvent& ReplyEvent;
        TEvent& SenderIdleEvent;
    };
    // ended runs on the main thread once a send's end has been taken back.
    TSendAction(TParts parts, std::function<void()> ended);
    ~TSendAction();
    TSendAction(const TSendAction&) = delete;
    TSendAction& operator=(const TSendAction&) = delete;

    // Returns whether an exchange was started: while one runs, while a read-back runs,
    // while the port is closed, or while lines are out of range, the list is kept unsent
    // and the operation log says so.
    bool Run() { return Run(TSendRange{}); }
    // The same checks, and then only the lines of range go out.
    bool Run(TSendRange range);
    // The same for lines given here instead of the send list, which is kept as it is.
    bool RunLines(std::vector<std::string> lines, TSendRange range = {});
    bool Running() const;
    // An exchange runs, or its end is still to be taken back on the main thread.
    bool Busy() const { return thread_ != nullptr; }
    // How the last line of the last send ended (Accepted before any).
    TSendOutcome LastOutcome() const { return lastOutcome_; }
    // Observers are told of every exchange from now on; each must outlive this action.
    void AddObserver(IExchangeObserver& observer) { observers_.push_back(&observer); }
    // Tells a running exchange to stop writing; the port's closing ends a write that blocks.
    void Terminate();

private:
    bool Start(std::optional<std::vector<std::string>> lines, TSendRange range);
    // The exchange thread's ties to the rest of the program.
    TExchangeLinks Links();
    void Ended();

    TParts parts_;
    std::function<void()> ended_;
    TSendOutcome lastOutcome_ = TSendOutcome::Accepted; // main thread
    std::vector<IExchangeObserver*> observers_;         // set up before the first exchange
    std::unique_ptr<TRWThread> thread_;
};

} // namespace zav
