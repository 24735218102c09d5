#include "controller/controller.h"

#include "state/file_names.h"
#include "state/paths.h"

namespace zav {

TController::TController(IDispatcher& dispatcher, TControllerViews views)
    : dispatcher_(dispatcher), views_(views) {
    logDispatch_ = std::make_unique<TLogDispatch>(
        [this](std::function<void()> fn) { dispatcher_.Post(std::move(fn)); }, views_.Log,
        views_.MessageBox);
    port_ = std::make_unique<TComPort>(dispatcher_);
    port_->OnReceive = [this](const std::uint8_t* bytes, std::uint32_t count,
                              std::uint32_t errors) { HandleReceived(bytes, count, errors); };
    // Replies are framed and acted on where they arrive, so that a reply is never timed
    // out because the window thread was busy; the screen learns of it through OnMain.
    port_->OnReceiveInThread = [this](const std::uint8_t* bytes, std::uint32_t count,
                                      std::uint32_t errors) {
        HandleReceived(bytes, count, errors);
    };
    // A lost device ends the exchange and a read-back at once; PortLost then says so.
    port_->OnLostInThread = [this] {
        exchangeControl_.Stop(TExchangeStop::PortLost);
        linkHealth_.PortLost();
        ++portLosses_;
        readDoneEvent_.Set();
    };
    port_->OnPortLost = [this] { portConnection_->PortLost(); };
    commonDatas_ = std::make_unique<TCommonDatas>(views_.CommonDatasView, views_.Log);
    commonDatas_->SetViewRunner([this](std::function<void()> fn) { OnMain(std::move(fn)); });
    // The language named in the program settings decides which messages are loaded.
    programSettings_ = std::make_unique<TProgramSettingsFile>(*commonDatas_, views_.RadioGroups);
    programSettings_->LoadProgramSettings({});
    errorSettings_ =
        std::make_unique<TErrorSettingsFile>(*commonDatas_, [this](const std::string& fileName) {
            settingsFiles_->ReportDamagedSettings(fileName);
        });
    lang_ = std::make_unique<TLang>(*commonDatas_, views_.MessageBox, views_.Log);
    lang_->AttachMainForm(views_.MainForm);
    commands_ =
        std::make_unique<TZavCommands>(*commonDatas_, *lang_, views_.MessageBox, views_.Hooks);
    commonDatas_->AttachCatalogue(commands_.get());
    const TEditingContext editing{memoSend_, *commonDatas_, *commands_, *lang_, *logDispatch_};
    editor_ = std::make_unique<TCommandEditor>(
        editing, TCommandEditor::TActions{[this] { memoRead_.Clear(); },
                                          [this] {
                                              lbBufRead_.Clear();
                                              lbBufRead_.Add("");
                                          },
                                          [this] { btnRunTRClick(); }});
    commands_->AttachDirectControl(editor_.get());
    simpleMode_ = std::make_unique<TSimpleMode>(*this);
    replies_ = std::make_unique<TReplyProcessor>(
        TReplyProcessor::TParts{*commonDatas_, *lang_, *simpleMode_, exchangeControl_, replyEvent_,
                                senderIdleEvent_, readDoneEvent_, memoRead_, lbBufRead_},
        TReplyOutlets{[this](std::function<void()> fn) { OnMain(std::move(fn)); },
                      [this](const std::string& line, bool red) { Log(line, red); },
                      [this](const std::string& text) { ShowMessage(text); }});
    recovery_ = std::make_unique<TRecovery>(
        TRecovery::TParts{*port_, *commonDatas_, *replies_, senderIdleEvent_, replyEvent_},
        [this](int n, bool red) { LogMessage(n, red); });
    replies_->SetRecovery([this] { recovery_->RunRecovery(); });
    replies_->SetTransferErrorSeen([this] { linkHealth_.TransferError(); });
    tracking_ = std::make_unique<TTracking>(editing, [this] { btnRunTRClick(); });
    session_ = std::make_unique<TSessionFile>(TSessionFile::DefaultFileName());
    session_->Load();
    files_ = std::make_unique<TCommandFiles>(editing, *editor_, *session_);
    units_ = std::make_unique<TUnits>(editing, *editor_, views_.Hooks);
    chanRead_ =
        std::make_unique<TChanRead>(editing, *editor_,
                                    TReadBackLinks{*port_, dispatcher_, *commonDatas_,
                                                   readDoneEvent_, replyEvent_, portLosses_},
                                    [this] { return ExchangeRunning(); });
    sendProgress_ = std::make_unique<TSendProgress>(*this);
    closing_ = std::make_unique<TClosing>(*this);
    sendAction_ = std::make_unique<TSendAction>(
        TSendAction::TParts{*port_, *commonDatas_, *lang_, *logDispatch_, memoSend_, memoRead_,
                            *editor_, *chanRead_, *replies_, *sendProgress_, exchangeControl_,
                            replyEvent_, senderIdleEvent_},
        [this] { closing_->ExchangeEnded(); });
    sendJournal_ = std::make_unique<TSendJournal>(
        TSendJournal::TLinks{[] { return FsPath(DataDir()) / "Log"; },
                             [this] {
                                 const auto& files = session_->Recent.Files();
                                 return files.empty() ? std::string() : files.front();
                             },
                             [this] { return port_->Connected(); }, exchangeControl_, portLosses_,
                             [this](const std::string& fileName) {
                                 Log(lang_->Message(msgJournalWriteFailed) + fileName, true);
                             }});
    sendAction_->AddObserver(*sendJournal_);
    resume_ = std::make_unique<TResume>(TResume::TParts{
        *sendAction_, memoSend_, *commonDatas_, *commands_, *lang_,
        [this](std::function<void()> fn) { logDispatch_->Post(std::move(fn)); },
        [this](const std::string& line, bool red) { Log(line, red); },
        [] { return FsPath(DataDir()) / "Log"; }, [this] { return sendJournal_->Current(); }});
    sendAction_->AddObserver(linkHealth_);
    reconnect_ = std::make_unique<TReconnect>(*port_);
    const auto log = [this](const std::string& line, bool red) { Log(line, red); };
    const auto show = [this](const std::string& text) { ShowMessage(text); };
    portConnection_ = std::make_unique<TPortConnection>(*port_, *reconnect_, *commonDatas_, *lang_,
                                                        views_.PortView, log, show);
    portConnection_->OnReconnected = [this] { resume_->OfferDue(); };
    settingsFiles_ = std::make_unique<TSettingsFiles>(
        *commonDatas_, *programSettings_, *errorSettings_, *lang_, lbBufRead_,
        [this] { portConnection_->SavePortSettings(); }, show);
    commands_->BuildCatalogue();
    languageSwitch_ =
        std::make_unique<TLanguageSwitch>(*commonDatas_, *lang_, *commands_, views_.MessageBox);
    languageSwitch_->OnSwitched = [this] { portConnection_->RefreshDescription(); };
    commonDatas_->LastReply = "  "; // what start-up leaves in it before any reply
}

TController::~TController() {
    // The exchange reads the port, the events and the shared state: it ends first. It is
    // told to stop, and the port closed, before it is joined: closing ends a write that
    // blocks, and the receive thread's processing with it. The read-back likewise.
    sendAction_->Terminate();
    port_->Close();
    sendAction_.reset();
    chanRead_.reset();
}

void TController::LogMessage(int n, bool red) {
    OnMain([this, n, red] { Log(lang_->Message(n), red); });
}

void TController::btnClearClick() {
    memoRead_.Clear();
}

void TController::HandleReceived(const std::uint8_t* bytes, std::uint32_t count,
                                 std::uint32_t /*errors*/) {
    replies_->HandleReceived(bytes, count);
}

} // namespace zav
