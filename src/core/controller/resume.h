#pragma once
// Resuming a send that did not end normally (the program died, the device went away):
// the journals that wait for an answer are offered once, at start-up and when the
// device is back, never while a send runs; the answer is kept in the journal, and only
// the operator's resume or start again sends anything. A cut inside a recording sends
// ED alone first and the recording again only once that ED was accepted.

#include <filesystem>
#include <functional>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "command-language/zav_commands.h"
#include "controller/send_action.h"
#include "journal/journal.h"
#include "journal/resume_point.h"
#include "localisation/lang.h"
#include "program-editing/command_list.h"
#include "serial/exchange_observer.h"
#include "state/common_datas.h"

namespace zav {

class TResume : private IExchangeObserver {
public:
    struct TParts {
        TSendAction& Send;
        TCommandList& MemoSend;
        const TCommonDatas& Datas;
        const TZavCommands& Commands;
        const TLang& Lang;
        // Runs fn on the main thread later, never at once.
        std::function<void(std::function<void()>)> Post;
        std::function<void(const std::string& line, bool red)> Log;
        std::function<std::filesystem::path()> LogFolder;
        // The journal being written by this run's sends, if any.
        std::function<std::filesystem::path()> CurrentJournal;
    };
    explicit TResume(TParts parts); // watches the exchanges of parts.Send
    TResume(const TResume&) = delete;
    TResume& operator=(const TResume&) = delete;

    // Shows the offer of the journal given; set by the window.
    std::function<void(const TJournal& journal)> ShowOffer;
    // Main thread: start-up, or the device is back. Offers the newest journal that waits
    // for an answer, or, while a send runs, says that the offer comes when it has ended.
    void OfferDue();

    // The journals that did not end normally and wait for an answer, newest first (not
    // the one of a send still under way). One that cannot be read is left as it is and
    // reported, once a run.
    std::vector<TJournal> Unfinished();

    struct TOffer {
        std::string Text; // the list, the time, what was acknowledged, where and why
        TResumePoint Point;
        std::string ResendCaption; // for the line in flight; empty without one
    };
    TOffer Describe(const TJournal& journal, bool resendInFlight) const;
    // Whether the window holds the journal's list; and whether restoring it would
    // replace a list of the operator's (which must be asked first).
    bool ListInWindow(const TJournal& journal) const;
    bool WouldReplaceList(const TJournal& journal) const;

    enum class TAnswer { Resume, StartAgain, Dismiss };
    // For Resume and StartAgain puts the journal's list into the window (the caller has
    // asked where that replaces another) and sends it. The journal is marked answered
    // unless the send was refused. Returns whether a send started.
    bool Answer(const TJournal& journal, TAnswer answer, bool resendInFlight);
    // An ED sent ahead of a cut recording is still running or awaited.
    bool Pending() const { return continuation_.has_value(); }

private:
    void ExchangeStarted(const std::vector<std::string>&) override {}
    void LineDone(const TExchangeRecord&) override {}
    void ExchangeEnded(TSendOutcome outcome) override;
    TCommandRow Row(const std::string& command) const;

    struct TContinuation {
        std::vector<std::string> Lines;
        TSendRange Range;
    };

    TParts parts_;
    std::optional<TContinuation> continuation_; // after the ED ahead of a recording
    bool offerAfterSend_ = false;
    std::set<std::filesystem::path> reported_; // unreadable journals already reported
};

} // namespace zav
