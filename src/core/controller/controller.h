#pragma once
// The composition root of the program's logic: it owns the parts that live for the whole
// run (port, shared state, catalogues, the three events, the lists, reply processing,
// recovery, editing, read-back, the port connection, the settings files, the log
// dispatch), wires them to one another, and starts a send. The window reaches each part
// through its accessor and shows what the parts report through the view interfaces.

#include <atomic>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <thread>

#include "command-language/zav_commands.h"
#include "controller/closing.h"
#include "controller/language_switch.h"
#include "controller/link_health.h"
#include "controller/port_connection.h"
#include "controller/recovery.h"
#include "controller/reply_processor.h"
#include "controller/resume.h"
#include "controller/send_action.h"
#include "controller/send_progress.h"
#include "controller/settings_files.h"
#include "controller/simple_mode.h"
#include "controller/text_lines.h"
#include "journal/send_journal.h"
#include "localisation/lang.h"
#include "program-editing/chan_read.h"
#include "program-editing/command_editor.h"
#include "program-editing/command_files.h"
#include "program-editing/command_list.h"
#include "program-editing/tracking.h"
#include "program-editing/units.h"
#include "serial/com_port.h"
#include "serial/dispatcher.h"
#include "serial/event.h"
#include "serial/exchange_control.h"
#include "serial/reconnect.h"
#include "serial/rw_thread.h"
#include "settings/error_settings_file.h"
#include "settings/program_settings_file.h"
#include "state/common_datas.h"
#include "state/log_dispatch.h"
#include "state/session_file.h"
#include "state/views.h"

namespace zav {

struct TControllerViews {
    IOperationLog* Log = nullptr;
    IMessageBox* MessageBox = nullptr;
    ICommonDatasView* CommonDatasView = nullptr;
    IMainWindowHooks* Hooks = nullptr;
    IPortView* PortView = nullptr;
    ISettingsRadioGroups* RadioGroups = nullptr;
    IMainFormView* MainForm = nullptr;
};

class TController {
public:
    // Creates the port, the shared state, the language catalogue (which loads the
    // messages of the stored language), the command catalogue and the events, in the
    // order of the window's start-up. Views may be null.
    TController(IDispatcher& dispatcher, TControllerViews views);
    ~TController(); // waits for a running exchange, then closes the port
    TController(const TController&) = delete;
    TController& operator=(const TController&) = delete;

    TComPort& Port() { return *port_; }
    TCommonDatas& CommonDatas() { return *commonDatas_; }
    TLang& Lang() { return *lang_; }
    TZavCommands& Commands() { return *commands_; }
    TLanguageSwitch& LanguageSwitch() { return *languageSwitch_; }
    IDispatcher& Dispatcher() { return dispatcher_; }
    const TControllerViews& Views() const { return views_; }

    // The three events of the exchange: a reply came, the sender is idle, a read-back ended.
    TEvent& ReplyEvent() { return replyEvent_; }
    TEvent& SenderIdleEvent() { return senderIdleEvent_; }
    TEvent& ReadDoneEvent() { return readDoneEvent_; }
    // Counts the devices found gone by the receive thread, so that a wait sees one go.
    std::atomic<std::uint64_t>& PortLosses() { return portLosses_; }
    // The running exchange's line and early stop, shared with the receive thread.
    TExchangeControl& ExchangeControl() { return exchangeControl_; }
    // Replies in time, echo faults, transfer errors and time-outs in this run.
    TLinkHealth& LinkHealth() { return linkHealth_; }

    TCommandList& MemoSend() { return memoSend_; } // the send list: lines and descriptions
    TTextLines& MemoRead() { return memoRead_; }   // the "Loading:" memo
    TTextLines& lbBufRead() { return lbBufRead_; } // the "Response:" list

    TCommandEditor& Editor() { return *editor_; }
    TSimpleMode& SimpleMode() { return *simpleMode_; }
    TTracking& Tracking() { return *tracking_; }
    TCommandFiles& Files() { return *files_; }
    TUnits& Units() { return *units_; }
    TChanRead& ChanRead() { return *chanRead_; }
    TSendProgress& SendProgress() { return *sendProgress_; }
    // Reply framing and decoding, with the receive buffer.
    TReplyProcessor& Replies() { return *replies_; }
    // The error recovery's steps (run by reply processing, or from its dialog).
    TRecovery& Recovery() { return *recovery_; }
    // The recent files and the window's place, read at start-up.
    TSessionFile& Session() { return *session_; }
    // Reopens a lost port when its device is back; the window attaches its timer.
    TReconnect& Reconnect() { return *reconnect_; }
    // Closing the window while a send or a read-back runs.
    TClosing& Closing() { return *closing_; }

    // Reply processing (Replies()): on the receive thread while the port is open, or on
    // whichever thread calls them.
    void HandleReceived(const std::uint8_t* bytes, std::uint32_t count, std::uint32_t errors);
    void ProcessReplies(std::string text) { replies_->ProcessReplies(std::move(text)); }

    // The Send action (TSendAction). Returns whether an exchange was started: while one
    // runs, or while the port is closed, the list is kept unsent and the log says so.
    bool btnRunTRClick() { return sendAction_->Run(); }
    TSendAction& SendAction() { return *sendAction_; }
    // Writes a journal of every exchange of a list in Log/.
    TSendJournal& SendJournal() { return *sendJournal_; }
    // The offer to resume a send that did not end normally, and the resume.
    TResume& Resume() { return *resume_; }
    void btnClearClick();
    bool ExchangeRunning() const { return sendAction_->Running(); }
    // Returns once the receive thread has posted to the window thread all it took from
    // the blocks handled so far: what ended an exchange is then a Drain away.
    void SettleReceived() { replies_->SettleReceived(); }
    // How the last line of the last send ended (Accepted before any).
    TSendOutcome LastSendOutcome() const { return sendAction_->LastOutcome(); }

    // Opening and closing the port, its description line and Data/portp.dat.
    TPortConnection& PortConnection() { return *portConnection_; }
    // Reading the settings files at start-up, writing them and the logs on closing.
    TSettingsFiles& SettingsFiles() { return *settingsFiles_; }
    TProgramSettingsFile& ProgramSettings() { return *programSettings_; }
    TErrorSettingsFile& ErrorSettings() { return *errorSettings_; }

    // The log dispatch (TLogDispatch): from another thread than the main one these post
    // and return at once; what is posted is dropped if the controller is gone by then.
    void Log(const std::string& line, bool red = false) { logDispatch_->Log(line, red); }
    // Message n of the catalogue, looked up on the main thread.
    void LogMessage(int n, bool red = false);
    void ShowMessage(const std::string& text) { logDispatch_->ShowMessage(text); }
    void OnMain(std::function<void()> fn) { logDispatch_->OnMain(std::move(fn)); }
    bool OnMainThread() const { return logDispatch_->OnMainThread(); }

private:
    IDispatcher& dispatcher_;
    TControllerViews views_;
    // Before the parts below, which keep references to them.
    TEvent replyEvent_{"EventPortStringName"};
    TEvent senderIdleEvent_{"EventReadFuncReadyName", true};
    TEvent readDoneEvent_{"EventReadedName"};
    std::atomic<std::uint64_t> portLosses_{0};
    TExchangeControl exchangeControl_{replyEvent_};
    TLinkHealth linkHealth_; // before the parts that report to it
    TCommandList memoSend_;
    TTextLines memoRead_;
    TTextLines lbBufRead_;
    // First, so that it goes last: the others may still log while they go; whatever is
    // posted runs only while it exists.
    std::unique_ptr<TLogDispatch> logDispatch_;
    std::unique_ptr<TComPort> port_;
    std::unique_ptr<TCommonDatas> commonDatas_;
    std::unique_ptr<TProgramSettingsFile> programSettings_;
    std::unique_ptr<TErrorSettingsFile> errorSettings_;
    std::unique_ptr<TLang> lang_;
    std::unique_ptr<TZavCommands> commands_;
    std::unique_ptr<TLanguageSwitch> languageSwitch_;
    std::unique_ptr<TCommandEditor> editor_;
    std::unique_ptr<TSimpleMode> simpleMode_;
    std::unique_ptr<TTracking> tracking_;
    std::unique_ptr<TSessionFile> session_;
    std::unique_ptr<TCommandFiles> files_;
    std::unique_ptr<TUnits> units_;
    std::unique_ptr<TChanRead> chanRead_;
    std::unique_ptr<TSendProgress> sendProgress_;
    std::unique_ptr<TReplyProcessor> replies_;
    std::unique_ptr<TRecovery> recovery_;
    std::unique_ptr<TClosing> closing_;
    std::unique_ptr<TReconnect> reconnect_; // after port_: it uses the port
    std::unique_ptr<TPortConnection> portConnection_;
    std::unique_ptr<TSettingsFiles> settingsFiles_;
    std::unique_ptr<TSendJournal> sendJournal_; // outlives the exchange it watches
    std::unique_ptr<TResume> resume_;
    std::unique_ptr<TSendAction> sendAction_; // last: its thread ends first
};

} // namespace zav
