#include "main-window/form1.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QGuiApplication>
#include <QHeaderView>
#include <QLayout>
#include <QMenuBar>
#include <QMessageBox>
#include <QScreen>
#include <QTimer>

#include "common/at_least.h"
#include "common/control_caption.h"
#include "common/lay_out_now.h"
#include "common/mnemonics.h"
#include "controller/program_info.h"
#include "journal/form_journal.h"
#include "localisation/form_lang.h"
#include "main-window/form_byte_len.h"
#include "main-window/form_color_indicators.h"
#include "main-window/form_coord.h"
#include "main-window/form_port_name.h"
#include "main-window/form_resume.h"
#include "main-window/main_window_names.h"
#include "program-check/program_check.h"
#include "program-editing/form_chan_read.h"
#include "program-editing/form_preview.h"
#include "settings/form_err_nastr.h"
#include "settings/form_prog_prop.h"

namespace zav {

namespace {
// A window that lives while shown, at most one: made when its reference is empty, else
// brought to the front.
template <class TWindow>
void ShowModelessWindow(QPointer<TWindow>& window, TController& controller, QWidget* parent) {
    // One that was closed is on its way out: it is freed once its handlers have returned.
    if (!window || !window->isVisible())
        window = new TWindow(controller, parent);
    window->show();
    window->raise();
    window->activateWindow();
}

// Sizes the window is built with, kept as starting or least sizes. Longer texts or a
// larger font may make a panel taller or wider than built; the window grows with it.
constexpr int CoordinatesCaptionWidth = 148;
constexpr int PortButtonWidth = 83;
constexpr int SimpleModeWidth = 370;
constexpr int WindowHeightWithLog = 613;
// The extended panel and the log share the height beyond these in their proportion.
constexpr int ExtendedPanelHeight = 292;
constexpr int BuiltLogHeight = 107;
// The room right of the simple-mode panel and of the extended-mode one.
constexpr int SimpleRightMargin = 9;
constexpr int ExtendedRightMargin = 10;

QString Q(const std::string& text) {
    return QString::fromStdString(text);
}

} // namespace

TForm1::TForm1(TSettingsHook afterSettings)
    : afterSettings_(std::move(afterSettings)), dispatcher_(std::make_unique<TQtDispatcher>()),
      messageBox_(std::make_unique<TQtMessageBox>(this)),
      fileDialogs_(std::make_unique<TQtFileDialogs>(this)) {
    setObjectName("Form1");
    PressGuard = new TPressGuard(
        [this](const QString& caption) {
            const TLang& lang = controller_->Lang();
            controller_->Log(lang.Message(msgPressIgnored) + caption.toStdString() +
                             lang.Message(msgPressIgnoredEnd));
        },
        this);
    setWindowTitle("Zav_Program - ver.4.0.3");
    BuildMenu();
    BuildControls();
    SetWindowSize(BuiltWidth, BuiltHeight);
    messageBox_->Hold();
    FormCreate();
    RestorePlacement();
    // Messages of start-up wait for the window to be shown; without any, nothing waits.
    if (!messageBox_->HasHeld())
        messageBox_->Release();
}

TForm1::~TForm1() {
    FormDestroy();
}

void TForm1::BuildMenu() {
    auto action = [this](QMenu* menu, const char* name, const QString& caption) {
        QAction* a = menu->addAction(caption);
        a->setObjectName(name);
        return a;
    };
    auto menu = [this](const char* name, const QString& caption) {
        QMenu* m = menuBar()->addMenu(caption);
        m->setObjectName(name);
        return m;
    };
    mmFile = menu("mmFile", "File");
    mmFileOpen = action(mmFile, "mmFileOpen", "Load from file");
    mmFileSave = action(mmFile, "mmFileSave", "Save to file");
    mmFileOpen->setShortcut(QKeySequence::Open);
    mmFileSave->setShortcut(QKeySequence::Save);
    mmFileRecent = mmFile->addMenu("Recent files");
    mmFileRecent->setObjectName("mmFileRecent");
    mmFile->addSeparator();
    mmExit = action(mmFile, "mmExit", "Exit");
    mmExit->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Q));
    mmSetts = menu("mmSetts", "Port settings");
    mmSettsPortName = action(mmSetts, "mmSettsPortName", "Chose port");
    mmSettsProp = action(mmSetts, "mmSettsProp", "Port settings");
    mmSettsCoord = action(mmSetts, "mmSettsCoord", "Coordinates");
    mmSettsCoord->setVisible(false);
    mmNastr = menu("mmNastr", "Program settings");
    mmNastrError = action(mmNastr, "mmNastrError", "Errore handlings");
    mmNastrLogs = action(mmNastr, "mmNastrLogs", "Program settings");
    mmLang = action(mmNastr, "mmLang", "Language");
    mmInfo = menu("mmInfo", "Info");
    mmVers = action(mmInfo, "mmVers", "Program vers.");
    mmReadCh = action(mmInfo, "mmReadCh", "Load from device");
    mmPreview = action(mmInfo, "mmPreview", "Motion preview");
    mmPreview->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_M));
    mmJournal = action(mmInfo, "mmJournal", "Send journal");
    mmJournal->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_J));
    mmSettsProp->setEnabled(false);

    connect(mmSettsPortName, &QAction::triggered, this, [this] { mmSettsPortNameClick(); });
    connect(mmSettsProp, &QAction::triggered, this, [this] { mmSettsPropClick(); });
    connect(mmSettsCoord, &QAction::triggered, this, [this] { mmSettsCoordClick(); });
    connect(mmNastrError, &QAction::triggered, this, [this] { mmNastrErrorClick(); });
    connect(mmNastrLogs, &QAction::triggered, this, [this] { mmNastrLogsClick(); });
    connect(mmReadCh, &QAction::triggered, this, [this] { mmReadChClick(); });
    connect(mmPreview, &QAction::triggered, this, [this] { mmPreviewClick(); });
    connect(mmJournal, &QAction::triggered, this, [this] { mmJournalClick(); });
    connect(mmFileOpen, &QAction::triggered, this,
            [this] { controller_->Files().mmFileOpenClick(); });
    connect(mmFileSave, &QAction::triggered, this,
            [this] { controller_->Files().mmFileSaveClick(); });
    connect(mmLang, &QAction::triggered, this, [this] { mmLangClick(); });
    // Through the window's own closing, which asks and saves as closing always does.
    connect(mmExit, &QAction::triggered, this, [this] { close(); });
    connect(mmVers, &QAction::triggered, this, [this] { mmVers1Click(); });
    connect(mmFile, &QMenu::aboutToShow, this, [this] {
        mmFileRecent->setTitle(
            QString::fromStdString(controller_->Lang().Message(msgRecentFiles)).replace('&', "&&"));
        mmFileRecent->setEnabled(mmFileOpen->isEnabled() &&
                                 !controller_->Files().RecentFiles().empty());
        AssignMnemonics(mmFile->actions());
    });
    connect(mmFileRecent, &QMenu::aboutToShow, this, [this] { ShowRecentFiles(); });
    AssignMenuMnemonics(*menuBar());
    // Shown with the window; until then the window's layout would leave it no room.
    menuBar()->show();
}

void TForm1::ShowRecentFiles() {
    mmFileRecent->clear();
    int n = 0;
    for (const TRecentFile& file : controller_->Files().RecentFiles()) {
        ++n;
        const QString name = Q(file.Name);
        QAction* a = mmFileRecent->addAction(
            QString("&%1 %2").arg(n).arg(QDir::toNativeSeparators(name).replace('&', "&&")));
        a->setObjectName(QString("mmFileRecent%1").arg(n));
        // A file that is gone is shown but cannot be chosen.
        a->setEnabled(file.Exists);
        connect(a, &QAction::triggered, this,
                [this, file] { controller_->Files().OpenRecentFile(file.Name); });
    }
}

void TForm1::RestorePlacement() {
    const auto& saved = controller_->Session().Window;
    if (!saved)
        return;
    std::vector<TRect> screens;
    QList<QScreen*> present = QGuiApplication::screens();
    // The primary first: a window whose screen is gone comes back there.
    std::stable_partition(present.begin(), present.end(),
                          [](QScreen* s) { return s == QGuiApplication::primaryScreen(); });
    for (QScreen* screen : present) {
        const QRect r = screen->availableGeometry();
        screens.push_back({r.x(), r.y(), r.width(), r.height()});
    }
    const TRect r = PlaceOnScreens(saved->Bounds, screens);
    resize(r.Width, r.Height);
    move(r.X, r.Y);
    if (saved->Maximized)
        setWindowState(windowState() | Qt::WindowMaximized);
}

void TForm1::StorePlacement() {
    // The frame's corner, as move() takes it, and the size of the inside, as resize() does.
    const QPoint frameOffset = geometry().topLeft() - pos();
    const QRect normal = isMaximized() ? normalGeometry() : geometry();
    const QPoint corner = normal.topLeft() - frameOffset;
    controller_->Session().Window =
        TWindowPlacement{{corner.x(), corner.y(), normal.width(), normal.height()}, isMaximized()};
    try {
        controller_->Session().Save();
    } catch (const std::exception&) {
        // The place is a convenience: a folder that cannot be written is reported with
        // the settings files.
    }
}

void TForm1::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    if (shown_)
        return;
    shown_ = true;
    if (messageBox_->Holding())
        QTimer::singleShot(0, this, [this] { messageBox_->Release(); });
}

void TForm1::BuildControls() {
    auto* client = new QWidget(this);
    client->setObjectName("Form1Client");
    setCentralWidget(client);

    PanelChanelState = new TPanelChanelState(client);
    PanelUnits = new TPanelUnits(client);
    PanelSingeC = new TPanelSingeC(client);
    PanelMultC = new TPanelMultC(client);
    PanelMultC->SetPanelEnabled(false);
    PanelMultC->hide();
    rgrSingl_Mult = new TRadioGroup("rgrSingl_Mult", QString(),
                                    {"Simple control mode", "Extended control mode"}, 2, client);
    rgrSingl_Mult->SetItemIndex(0);
    MemoLog = new TMemoLog(client);

    PanelCoordinates = new TCaptionPanel("PanelCoordinates", "Coordinates:   ", client);
    PanelCoordinates->SetCaptionWidth(CoordinatesCaptionWidth);
    btnOpenPort = new TAtLeast<QPushButton>(QSize(PortButtonWidth, 0), "Open Port");
    btnOpenPort->setObjectName("btnOpenPort");
    btnClosePort = new TAtLeast<QPushButton>(QSize(PortButtonWidth, 0), "Close port");
    btnClosePort->setObjectName("btnClosePort");
    btnClosePort->setEnabled(false);
    for (QPushButton* button : {btnOpenPort, btnClosePort}) {
        // The two buttons are as wide as each other, the longer caption's width.
        button->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Preferred);
        PanelCoordinates->AddControl(button);
    }
    PanelPortProp = new TCaptionPanel("PanelPortProp", QString(), client);
    PanelPortProp->SetCaptionCut();

    // From top to bottom: the state panel, the units strip, the panel of the mode, the
    // mode switch, the log, the coordinate panel and the port line.
    column_ = new QVBoxLayout(client);
    column_->setContentsMargins(0, 0, 0, 0);
    column_->setSpacing(0);
    column_->addWidget(PanelChanelState, 0, Qt::AlignLeft);
    column_->addWidget(PanelUnits);
    column_->addSpacing(4);
    panels_ = new QHBoxLayout;
    panels_->setSpacing(0);
    panels_->addWidget(PanelSingeC, 0, Qt::AlignLeft | Qt::AlignTop);
    panels_->addWidget(PanelMultC, 1);
    column_->addLayout(panels_);
    column_->addSpacing(2);
    column_->addWidget(rgrSingl_Mult);
    column_->addWidget(MemoLog, BuiltLogHeight);
    // Takes the room of a hidden log, so that the lines below stay at the bottom.
    column_->addStretch(0);
    column_->addSpacing(1);
    column_->addWidget(PanelCoordinates, 0, Qt::AlignLeft);
    column_->addWidget(PanelPortProp);
    LayOutNow(*this);
    builtHeights_ = PanelsHeights();

    auto& tools = *PanelChanelState;
    for (QCheckBox* box : {tools.ChboxCoord1, tools.chboxCoord2, tools.chboxCoord3})
        connect(box, &QCheckBox::toggled, this, [this] { btnCoord123Click(); });
    connect(tools.btnSetCoordStates, &QToolButton::clicked, this,
            [this] { btnSetCoordStatesClick(); });
    connect(rgrSingl_Mult, &TRadioGroup::Click, this, [this] { rgrSingl_MultClick(); });
    connect(PanelUnits->rgrUnits, &TRadioGroup::Click, this, [this] {
        if (controller_)
            controller_->Units().rgrUnitsClick();
    });
    connect(PanelUnits->btnScaleChange, &QPushButton::clicked, this,
            [this] { controller_->Units().btnScaleChangeClick(); });
    connect(btnOpenPort, &QPushButton::clicked, this,
            [this] { controller_->PortConnection().btnOpenPortClick(); });
    connect(btnClosePort, &QPushButton::clicked, this,
            [this] { controller_->PortConnection().btnClosePortClick(); });
}

void TForm1::FormCreate() {
    // The controller creates, in this order, the serial port with the receive handler,
    // the shared state, reads the program settings, the language catalogue and the
    // command catalogue.
    controller_ = std::make_unique<TController>(*dispatcher_,
                                                TControllerViews{.Log = MemoLog,
                                                                 .MessageBox = messageBox_.get(),
                                                                 .CommonDatasView = this,
                                                                 .Hooks = this,
                                                                 .PortView = this,
                                                                 .RadioGroups = this,
                                                                 .MainForm = this});
    TController& c = *controller_;
    messageBox_->AttachLanguage(&c.Lang());
    PanelMultC->CreateGrid(c.MemoSend());
    TCommandGridModel* checked = PanelMultC->StringGridSend->GridModel();
    connect(checked, &TCommandGridModel::WarningsChanged, this,
            [this] { PanelMultC->ShowWarningCount(controller_->Lang()); });
    checked->EnableCheck(c.Lang(), TCheckScope::WholeList);
    c.Editor().AttachView(this);
    c.Units().AttachView(this);
    c.Files().AttachDialogs(fileDialogs_.get());
    c.Reconnect().AttachTimer(&reconnectTimer_);
    ConnectEditor();
    ConnectSimpleMode();
    SendProgressBar = new TSendProgressBar(c, *this, *PanelPortProp, *PanelMultC->btnRunTR,
                                           *PanelMultC->btnStopSend,
                                           [this] { return PanelMultC->StringGridSend; });
    c.SendProgress().AttachView(SendProgressBar);
    GridLineSend =
        new TGridLineSend(c, *PanelMultC->StringGridSend, *PanelMultC->btnRunTR,
                          [this](const std::string& question) { return Confirm(question); });
    GridLineSend->ApplyTexts(c.Lang());
    // One offer at a time, shown from the event loop: it may come from a reconnect.
    c.Resume().ShowOffer = [this](const TJournal& journal) {
        QTimer::singleShot(0, this, [this, journal] {
            if (FormResume && FormResume->isVisible())
                return;
            FormResume = new TFormResume(
                *controller_, journal,
                [this](const std::string& question) { return Confirm(question); }, this);
            FormResume->show();
        });
    };
    LinkHealth = new TLinkHealthIndicator(c.LinkHealth(), c.Lang(), PanelPortProp);
    PanelPortProp->AddControl(LinkHealth);
    SendProgressBar->OnSending = [this](bool sending) {
        sending_ = sending;
        ApplySendingLocks();
    };
    c.MemoRead().OnChanged = [this] { ScheduleListRefresh(); };
    c.lbBufRead().OnChanged = [this] { ScheduleListRefresh(); };
    if (c.lbBufRead().Empty())
        c.lbBufRead().Add("");

    c.PortConnection().LoadPortSettings();
    c.PortConnection().UpdatePortControls();
    c.ReplyEvent().Reset();
    c.SenderIdleEvent().Set();
    c.ReadDoneEvent().Reset();
    c.PortConnection().btnOpenPortClick();

    SetWindowWidth(371);
    // The command column takes the rest of the grid's width (it stretches with it).
    PanelMultC->StringGridSend->GridModel()->SetHeaderTexts("№", "Command");

    c.SettingsFiles().LoadProgramSettings();
    if (afterSettings_)
        afterSettings_(*this);
    // The controller's first reading chose the unit before the window could act on it,
    // and this reading changed nothing: the scale controls follow the choice now.
    c.Units().UpdateScaleControls();
    rgrSingl_MultClick();
    if (!c.CommonDatas().ShowWorkLog) {
        const int logHeight = MemoLog->height();
        MemoLog->hide();
        SetWindowHeight(height() - logHeight);
        logShrunk_ = true;
    } else {
        SetWindowHeight(WindowHeightWithLog + grownBy_);
    }
    c.SettingsFiles().LoadErrorSettings();
    // LastReply already holds its two blanks: the controller sets them when it is made.
    c.Lang().LoadLanguage();
    // A send that the last run left cut short is offered once the window is up.
    QTimer::singleShot(0, this, [this] { controller_->Resume().OfferDue(); });
}

void TForm1::closeEvent(QCloseEvent* event) {
    if (!closed_ && controller_) {
        TClosing& closing = controller_->Closing();
        // A close while the send is being stopped for an earlier one changes nothing.
        bool close = !closing.Pending();
        if (close && !closeWithoutAsking_) {
            const std::string question = closing.Question();
            close = question.empty() || Confirm(question);
        }
        // A signal may have begun closing while the question was open.
        if (!close || closing.Pending() ||
            !closing.Begin([this] { QTimer::singleShot(0, this, [this] { this->close(); }); })) {
            if (closing.Pending()) {
                // Nothing else may be sent while the controller finishes.
                centralWidget()->setEnabled(false);
                menuBar()->setEnabled(false);
            }
            event->ignore();
            return;
        }
    }
    FormClose();
    QMainWindow::closeEvent(event);
}

void TForm1::CloseWithoutAsking() {
    closeWithoutAsking_ = true;
    close();
}

bool TForm1::Confirm(const std::string& question) {
    QMessageBox box(QMessageBox::Question, QApplication::applicationDisplayName(), Q(question),
                    QMessageBox::Ok | QMessageBox::Cancel, this);
    box.setObjectName("MessageBox");
    box.setTextFormat(Qt::PlainText);
    box.setDefaultButton(QMessageBox::Cancel);
    TranslateButtons(box, controller_->Lang());
    const int answer = box.exec();
    return answer == QMessageBox::Ok;
}

bool TForm1::AskYesNo(const std::string& question) {
    QMessageBox box(QMessageBox::Question, QApplication::applicationDisplayName(), Q(question),
                    QMessageBox::Yes | QMessageBox::No, this);
    box.setObjectName("MessageBox");
    box.setTextFormat(Qt::PlainText);
    box.setDefaultButton(QMessageBox::No);
    TranslateButtons(box, controller_->Lang());
    return box.exec() == QMessageBox::Yes;
}

void TForm1::FormClose() {
    if (closed_ || !controller_)
        return;
    closed_ = true;
    StorePlacement();
    const QStringList lines = MemoLog->Lines();
    std::vector<std::string> workLog;
    workLog.reserve(static_cast<std::size_t>(lines.size()));
    for (const QString& line : lines)
        workLog.push_back(line.toStdString());
    controller_->SettingsFiles().SaveAllOnClose(workLog);
}

void TForm1::FormDestroy() {
    // Queued work from the port's threads must not reach a window being torn down, and a
    // receive thread waiting for this thread must be let go before the port is freed.
    dispatcher_->Stop();
    // The read-back window shows a list of the controller's: it goes first.
    delete FormChanRead;
    delete FormJournal;
    controller_.reset();
}

TForm1::TPanelsHeights TForm1::PanelsHeights() const {
    return {PanelUnits->minimumSizeHint().height(), rgrSingl_Mult->minimumSizeHint().height(),
            PanelSingeC->minimumSizeHint().height()};
}

int TForm1::PanelsGrowth() const {
    const TPanelsHeights now = PanelsHeights();
    int growth =
        std::max(0, now.Units - builtHeights_.Units) + std::max(0, now.Mode - builtHeights_.Mode);
    if (!PanelMultC->isVisibleTo(this))
        growth += std::max(0, now.Simple - builtHeights_.Simple);
    return growth;
}

int TForm1::ModeWidth() const {
    // As built for the mode, or wider where the texts need more.
    const int built = PanelMultC->isVisibleTo(this) ? PanelMultC->BuiltWidth() + ExtendedRightMargin
                                                    : SimpleModeWidth;
    return std::max(built, minimumSizeHint().width());
}

void TForm1::SetModeWidth() {
    ruleWidth_ = ModeWidth();
    SetWindowWidth(ruleWidth_);
}

void TForm1::FitToTexts() {
    fitPending_ = false;
    // Read first: bringing the layouts up to date may widen the window to their least.
    const bool atRuleWidth = ruleWidth_ > 0 && width() == ruleWidth_;
    LayOutNow(*this);
    const int growth = PanelsGrowth();
    const int h = height() + growth - grownBy_;
    grownBy_ = growth;
    // A window at its mode's width follows the texts both ways; one the operator made
    // wider keeps its width unless the texts need more.
    const int need = ModeWidth();
    int w = std::max(width(), need);
    if (atRuleWidth)
        w = ruleWidth_ = need;
    SetWindowSize(w, h);
}

void TForm1::SetWindowSize(int width, int height) {
    // The least size follows the mode shown now; a hidden window gets its resize events
    // only when shown, and the rules that follow read the sizes at once.
    LayOutNow(*this);
    resize(width, height);
    LayOutNow(*this);
}

void TForm1::SetWindowWidth(int width) {
    SetWindowSize(width, height());
}

void TForm1::SetWindowHeight(int height) {
    SetWindowSize(width(), height);
}

void TForm1::ScheduleListRefresh() {
    // Replies arrive a few characters at a time; the lists are redrawn once per batch.
    if (listRefreshPending_)
        return;
    listRefreshPending_ = true;
    QTimer::singleShot(0, this, [this] {
        listRefreshPending_ = false;
        if (!controller_)
            return;
        PanelMultC->ShowLoading(controller_->MemoRead());
        PanelMultC->ShowResponses(controller_->lbBufRead());
    });
}

// --- Control modes

void TForm1::rgrSingl_MultClick() {
    if (!controller_)
        return;
    btnAllClearClick();
    ApplyControlMode();
}

void TForm1::ApplyControlMode() {
    const bool extended = rgrSingl_Mult->ItemIndex() == 1;
    controller_->Editor().SetExtendedMode(extended);
    mmFileSave->setEnabled(extended);
    mmFileOpen->setEnabled(extended);
    if (extended) {
        HideSimpleMode();
        ShowExtendedMode();
    } else {
        HideExtendedMode();
        ShowSimpleMode();
    }
    ApplySendingLocks();
}

void TForm1::ApplySendingLocks() {
    // A button of a hidden panel is disabled with its panel all the same.
    const bool idle = !sending_;
    PanelMultC->btnRunTR->setEnabled(idle && sendWanted_);
    PanelSingeC->btnPusk->setEnabled(idle && programWanted_[0]);
    PanelSingeC->btnLoad->setEnabled(idle && programWanted_[1]);
    PanelSingeC->btnStart->setEnabled(idle && programWanted_[2]);
}

void TForm1::ApplyModeLayout(bool extended) {
    // The extended panel shares the room beyond the built height with the log, in the
    // proportion of their built heights; the simple one keeps its height.
    panels_->setContentsMargins(0, 0, extended ? ExtendedRightMargin : SimpleRightMargin, 0);
    column_->setStretchFactor(panels_, extended ? ExtendedPanelHeight : 0);
}

void TForm1::HideExtendedMode() {
    PanelMultC->SetPanelEnabled(false);
    PanelMultC->hide();
    ApplyModeLayout(false);
    SetModeWidth();
    for (int n = 1; n <= 3; ++n)
        PanelChanelState->CoordCheckBox(n)->show();
}

void TForm1::ShowSimpleMode() {
    PanelSingeC->SetPanelEnabled(true);
    PanelSingeC->show();
    FitToTexts();
}

void TForm1::HideSimpleMode() {
    PanelSingeC->SetPanelEnabled(false);
    PanelSingeC->hide();
}

void TForm1::ShowExtendedMode() {
    PanelMultC->SetPanelEnabled(true);
    PanelMultC->show();
    const TCommonDatas& datas = controller_->CommonDatas();
    PanelMultC->LayOutSideLists(datas.ShowLoadLog, datas.ShowPortLog);
    ApplyModeLayout(true);
    SetModeWidth();
    FitToTexts();
    for (int n = 1; n <= 3; ++n)
        PanelChanelState->CoordCheckBox(n)->hide();
}

// --- Handlers

void TForm1::btnAllClearClick() {
    if (controller_)
        controller_->Editor().btnAllClearClick();
}

void TForm1::SetListHasWrongCommand(bool value) {
    controller_->Editor().SetListHasWrongCommand(value);
}

void TForm1::ConnectEditor() {
    TPanelMultC& panel = *PanelMultC;
    TToolPanel& tools = *panel.ToolPanel;
    auto editor = [this]() -> TCommandEditor& { return controller_->Editor(); };
    // In direct control each of these buttons sends its command: one per press.
    auto direct = [this] { return controller_->Editor().DirectControlOn(); };
    for (const TToolPanel::TToolCommand& command : tools.ToolCommands())
        PressGuard->Connect(
            command.Button,
            [editor, command] {
                editor().AddToolCommand(command.CatalogueIndex,
                                        command.Edit ? command.Edit->text().toStdString() : "no");
            },
            direct);
    PressGuard->Connect(
        tools.btnLD1, [editor] { editor().btnLD1Click(); }, direct);
    PressGuard->Connect(
        tools.btnED, [editor] { editor().btnEDClick(); }, direct);
    PressGuard->Connect(
        tools.btnST, [editor] { editor().btnSTClick(); }, direct);
    PressGuard->Connect(
        tools.btnPS1, [editor] { editor().btnPS1Click(); }, direct);
    PressGuard->Connect(panel.btnRunTR, [this] { btnRunTRClick(); });
    connect(panel.btnAllClear, &QPushButton::clicked, this, [this] { btnAllClearClick(); });
    connect(panel.btnDelRaw, &QPushButton::clicked, this, [this, editor] {
        editor().btnDelRawClick(PanelMultC->StringGridSend->CurrentGridRow());
    });
    connect(panel.chbDirectControl, &QCheckBox::toggled, this,
            [editor](bool checked) { editor().chbDirectControlClick(checked); });
    connect(panel.btnlbbufclear, &QPushButton::clicked, this,
            [editor] { editor().btnlbbufclearClick(); });
    panel.StringGridSend->OnDeleteRow = [editor](int row) { editor().btnDelRawClick(row); };
    panel.StringGridSend->GridModel()->OnRowMoved = [editor](int from, int to) {
        editor().StringGridSendRowMoved(from, to);
    };
}

void TForm1::ConnectSimpleMode() {
    TPanelSingeC& panel = *PanelSingeC;
    auto simple = [this]() -> TSimpleMode& { return controller_->SimpleMode(); };
    PressGuard->Connect(panel.btnLoad, [this, simple] { simple().btnLoadClick(Motion()); });
    PressGuard->Connect(panel.btnStart, [simple] { simple().btnStartClick(); });
    // Stop is never held back: a stop must always reach the controller.
    connect(panel.btnStop, &QPushButton::clicked, this, [simple] { simple().btnStopClick(); });
    PressGuard->Connect(panel.btnPusk, [this, simple] { simple().btnPuskClick(Motion()); });

    TGrBoxTracking& group = *panel.GrBoxTracking;
    auto tracking = [this]() -> TTracking& { return controller_->Tracking(); };
    auto text = [](QLineEdit* edit) { return edit->text().toStdString(); };
    const std::pair<QToolButton*, QLineEdit*> rows[] = {
        {group.btnTrackSTSpeed, group.EditTrackStSpeed},
        {group.btnTrackSpeed, group.EditTrackSpeed},
        {group.btnTrackAccel, group.EditTrackAccel},
        {group.btnTrackScale, group.EditTrackScale}};
    PressGuard->Connect(rows[0].first,
                        [=] { tracking().btnTrackSTSpeedClick(text(rows[0].second)); });
    PressGuard->Connect(rows[1].first,
                        [=] { tracking().btnTrackSpeedClick(text(rows[1].second)); });
    PressGuard->Connect(rows[2].first,
                        [=] { tracking().btnTrackAccelClick(text(rows[2].second)); });
    PressGuard->Connect(rows[3].first,
                        [=] { tracking().btnTrackScaleClick(text(rows[3].second)); });
    // Enter in a field sends its value, as its button does.
    for (const auto& [button, edit] : rows)
        connect(edit, &QLineEdit::returnPressed, button, &QToolButton::click);
    PressGuard->Connect(group.btnTrackApply,
                        [this, tracking] { tracking().btnTrackApplyClick(TrackingValues()); });
}

TMotion TForm1::Motion() const {
    const TPanelSingeC& p = *PanelSingeC;
    TMotion m;
    m.Steps = p.EditStepsNum->text().toStdString();
    m.Permanent = p.chbStepsConst->isChecked();
    m.Speed = p.EditSpeed->text().toStdString();
    m.BeginSpeed = p.EditBeginSpeed->text().toStdString();
    m.Accelerate = p.rbtnAccel->isChecked();
    m.Accel = p.EditAccel->text().toStdString();
    m.Backward = p.rgrDirect->ItemIndex() == 1;
    return m;
}

TTrackingValues TForm1::TrackingValues() const {
    const TGrBoxTracking& g = *PanelSingeC->GrBoxTracking;
    return {g.EditTrackStSpeed->text().toStdString(), g.EditTrackSpeed->text().toStdString(),
            g.EditTrackAccel->text().toStdString(), g.EditTrackScale->text().toStdString()};
}

void TForm1::btnRunTRClick() {
    // Warnings never keep a list from going out; the operator may want to be asked.
    const std::string question =
        SendQuestion(controller_->Lang(), controller_->CommonDatas().AskBeforeSendingWarnings,
                     controller_->MemoSend().Lines());
    if (!question.empty() && !AskYesNo(question))
        return;
    controller_->btnRunTRClick();
}

void TForm1::btnCoord123Click() {
    // The shared state writes the boxes while it is being built; it is consistent then.
    if (!controller_)
        return;
    controller_->CommonDatas().SetSelectedCoords(PanelChanelState->ChboxCoord1->isChecked(),
                                                 PanelChanelState->chboxCoord2->isChecked(),
                                                 PanelChanelState->chboxCoord3->isChecked());
}

void TForm1::btnSetCoordStatesClick() {
    TFormColorIndicators dialog(*controller_, this);
    dialog.exec();
}

void TForm1::mmSettsPortNameClick() {
    if (FormPortName)
        return; // already shown, modally
    const bool wasOpen = controller_->Port().Connected();
    controller_->PortConnection().btnClosePortClick();
    // Freed when its loop has ended, so never under one of its own handlers.
    TFormPortName dialog(*controller_, this);
    FormPortName = &dialog;
    // Cancel or Esc leaves the port as it was.
    if (dialog.exec() != QDialog::Accepted && wasOpen)
        controller_->PortConnection().btnOpenPortClick();
}

void TForm1::mmSettsPropClick() {
    ShowModelessWindow(FormByteLen, *controller_, this);
}

void TForm1::mmSettsCoordClick() {
    ShowModelessWindow(FormCoord, *controller_, this);
}

void TForm1::mmNastrErrorClick() {
    TFormErrNastr dialog(*controller_, this);
    dialog.exec();
}

void TForm1::mmNastrLogsClick() {
    TFormProgProp dialog(
        *controller_, [this] { ApplyProgramSettingsLayout(); }, this);
    dialog.exec();
}

void TForm1::ApplyProgramSettingsLayout() {
    const bool showLog = controller_->CommonDatas().ShowWorkLog;
    MemoLog->setVisible(showLog);
    if (showLog) {
        SetWindowHeight(WindowHeightWithLog + grownBy_);
        logShrunk_ = false;
    } else if (!logShrunk_) {
        // Once only: a repeated OK with the log hidden keeps the height.
        SetWindowHeight(height() - (MemoLog->height() - 5));
        logShrunk_ = true;
    }
    ApplyControlMode();
}

void TForm1::mmReadChClick() {
    ShowModelessWindow(FormChanRead, *controller_, this);
}

void TForm1::mmPreviewClick() {
    if (!FormPreview || !FormPreview->isVisible()) {
        FormPreview = new TFormPreview(*controller_, PanelMultC->StringGridSend->GridModel(), this);
        FormPreview->UserUnits = [this] { return UnitsIndex() != 0; };
        FormPreview->OnSelectLine = [this](std::size_t line) {
            PanelMultC->StringGridSend->SetCurrentGridRow(static_cast<int>(line) + 1);
        };
        FormPreview->Refresh();
    }
    FormPreview->show();
    FormPreview->raise();
    FormPreview->activateWindow();
}

void TForm1::mmJournalClick() {
    ShowModelessWindow(FormJournal, *controller_, this);
}

void TForm1::mmLangClick() {
    TFormLang dialog(*controller_, this);
    dialog.exec();
}

void TForm1::mmVers1Click() {
    QMessageBox box(QMessageBox::Information, StripMnemonic(mmVers->text()),
                    Q(ProgramInformation(*controller_, qVersion())), QMessageBox::Ok, this);
    TranslateButtons(box, controller_->Lang());
    box.exec();
}

// --- ICommonDatasView

void TForm1::SetCoordinatesCaption(const std::string& caption) {
    PanelCoordinates->SetCaption(Q(caption));
}

void TForm1::SetCoordCheckBox(int n, bool checked) {
    // A box that changes fires btnCoord123Click through its toggled signal.
    if (QCheckBox* box = PanelChanelState->CoordCheckBox(n))
        box->setChecked(checked);
}

void TForm1::SetIndicatorColor(int n, TColor color) {
    if (TShape* shape = PanelChanelState->Indicator(n))
        shape->SetColor(QColor(color.r, color.g, color.b));
}

void TForm1::SetRoundingCaption(const std::string& caption) {
    PanelUnits->lblTrunc->setText(Q(caption));
    FitToTexts();
}

void TForm1::ShowScale(const std::string& scaleText, const std::string& groupCaption,
                       const std::string& label3Caption) {
    PanelUnits->lblScale->setText(Q(scaleText));
    PanelUnits->EditStepsToUnits->setText(Q(scaleText));
    PanelUnits->GrBoxStepsToUnits->setTitle(Q(groupCaption));
    PanelUnits->Label3->setText(Q(label3Caption));
    FitToTexts();
    if (FormPreview)
        FormPreview->Refresh();
}

void TForm1::EnableProgramButtons(bool writeAndStart, bool stop, bool write, bool start) {
    programWanted_[0] = writeAndStart;
    programWanted_[1] = write;
    programWanted_[2] = start;
    PanelSingeC->btnStop->setEnabled(stop);
    ApplySendingLocks();
}

int TForm1::ControlMode() const {
    return rgrSingl_Mult->ItemIndex();
}

// --- IMainWindowHooks

int TForm1::UnitsIndex() const {
    return PanelUnits->rgrUnits->ItemIndex();
}

// --- ICommandEditorView

void TForm1::SetSendEnabled(bool enabled) {
    sendWanted_ = enabled;
    ApplySendingLocks();
}

// --- IUnitsView

std::string TForm1::ScaleText() const {
    return PanelUnits->EditStepsToUnits->text().toStdString();
}

void TForm1::EnableScaleControls(bool enabled) {
    TPanelUnits& p = *PanelUnits;
    for (QWidget* w :
         std::initializer_list<QWidget*>{p.GrBoxStepsToUnits, p.Label3, p.EditStepsToUnits,
                                         p.lblSteps, p.lblTrunc, p.btnScaleChange, p.lblScale})
        w->setEnabled(enabled);
}

// --- IMainFormView

void TForm1::SetControlCaption(const std::string& control, int item, const std::string& text) {
    zav::SetControlCaption(*this, Q(control), item, Q(text));
    if (control.starts_with("mm"))
        AssignMenuMnemonics(*menuBar());
    if (control == "btnOpenPort" || control == "btnClosePort") {
        // Longer captions widen the two buttons alike rather than being cut.
        const int w = std::max(ButtonCaptionWidth(*btnOpenPort), ButtonCaptionWidth(*btnClosePort));
        for (QPushButton* button : {btnOpenPort, btnClosePort})
            button->setMinimumWidth(w);
    }
    // A language sets its captions one by one and then its messages, which fit the
    // window at once; a caption set alone is fitted when control returns to the loop.
    if (!fitPending_) {
        fitPending_ = true;
        QTimer::singleShot(0, this, [this] {
            if (fitPending_)
                FitToTexts();
        });
    }
}

void TForm1::MessagesLoaded() {
    if (controller_) {
        const TLang& lang = controller_->Lang();
        NameMainWindowControls(*this, lang);
        PanelMultC->ToolPanel->ApplyTexts(lang);
        PanelSingeC->GrBoxTracking->ApplyTexts(lang);
        if (GridLineSend)
            GridLineSend->ApplyTexts(lang);
        mmExit->setText(Q(lang.Message(msgExit)).replace('&', "&&"));
        mmFileRecent->setTitle(Q(lang.Message(msgRecentFiles)).replace('&', "&&"));
        mmPreview->setText(Q(lang.Message(msgPreview)).replace('&', "&&"));
        mmJournal->setText(Q(lang.Message(msgJournalMenu)).replace('&', "&&"));
        // The items above are messages, set after the captions.
        AssignMenuMnemonics(*menuBar());
        if (FormPreview)
            FormPreview->ApplyLanguage();
        if (PanelMultC->StringGridSend) {
            PanelMultC->StringGridSend->GridModel()->RefreshWarningTexts();
            PanelMultC->ShowWarningCount(lang);
        }
    }
    // The controller loads its first messages while it is being made, before the bar.
    if (LinkHealth)
        LinkHealth->ApplyTexts();
    if (SendProgressBar) {
        SendProgressBar->ApplyTexts();
        FitToTexts();
    }
}

// --- IPortView

void TForm1::SetPortDescription(const std::string& text) {
    PanelPortProp->SetCaption(Q(text));
    // The line may be cut where the window is narrow: the whole of it stays readable.
    PanelPortProp->setToolTip(Q(text));
}

void TForm1::UpdatePortControls(bool open) {
    btnClosePort->setEnabled(open);
    btnOpenPort->setEnabled(!open);
    mmSettsProp->setEnabled(open);
    if (FormByteLen)
        FormByteLen->rgrDataLen->setEnabled(false);
}

// --- ISettingsRadioGroups

int TForm1::ControlModeIndex() const {
    return rgrSingl_Mult->ItemIndex();
}

void TForm1::SetControlModeIndex(int index) {
    rgrSingl_Mult->SetItemIndex(index);
}

int TForm1::UnitsChoiceIndex() const {
    return PanelUnits->rgrUnits->ItemIndex();
}

void TForm1::SetUnitsChoiceIndex(int index) {
    PanelUnits->rgrUnits->SetItemIndex(index);
}

} // namespace zav
