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

#include "common/control_caption.h"
#include "common/mnemonics.h"
#include "controller/program_info.h"
#include "localisation/form_lang.h"
#include "main-window/form_byte_len.h"
#include "main-window/form_color_indicators.h"
#include "main-window/form_coord.h"
#include "main-window/form_port_name.h"
#include "main-window/main_window_names.h"
#include "program-editing/form_chan_read.h"
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

// Built geometry of the client area: the rows below the panels and the bottom lines.
// Longer texts or a larger font may make a panel taller or wider than built; the rows
// under it move down by as much.
constexpr int UnitsTop = 29;
constexpr int UnitsHeight = 76;
constexpr int PanelsTop = 109;
constexpr int ModeTop = 400;
constexpr int ModeHeight = 30;
constexpr int LogTop = ModeTop + ModeHeight;
constexpr int PortPropHeight = 18;
constexpr int CoordinatesHeight = 22;
constexpr int CoordinatesCaptionWidth = 148;
constexpr int PortButtonWidth = 83;
constexpr int SimpleModeWidth = 370;
constexpr int SimplePanelWidth = 361;
constexpr int SimplePanelHeight = 289;
constexpr int ExtendedPanelHeight = 292;
constexpr int WindowHeightWithLog = 613;
constexpr int BuiltLogHeight = 107;

QString Q(const std::string& text) {
    return QString::fromStdString(text);
}

// A changed caption reaches the panel's layout only through posted events; the window's
// rules read the panels' needs at once, so the layouts are brought up to date first,
// the innermost before those around them.
void ActivateLayouts(QWidget& widget) {
    for (QWidget* child : widget.findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly))
        ActivateLayouts(*child);
    if (QLayout* layout = widget.layout())
        layout->activate();
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
    mmSettsProp->setEnabled(false);

    connect(mmSettsPortName, &QAction::triggered, this, [this] { mmSettsPortNameClick(); });
    connect(mmSettsProp, &QAction::triggered, this, [this] { mmSettsPropClick(); });
    connect(mmSettsCoord, &QAction::triggered, this, [this] { mmSettsCoordClick(); });
    connect(mmNastrError, &QAction::triggered, this, [this] { mmNastrErrorClick(); });
    connect(mmNastrLogs, &QAction::triggered, this, [this] { mmNastrLogsClick(); });
    connect(mmReadCh, &QAction::triggered, this, [this] { mmReadChClick(); });
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
    client->installEventFilter(this);

    PanelChanelState = new TPanelChanelState(client);
    PanelChanelState->setGeometry(0, 0, 218, 29);
    PanelUnits = new TPanelUnits(client);
    PanelUnits->setGeometry(0, UnitsTop, BuiltWidth, UnitsHeight);
    PanelSingeC = new TPanelSingeC(client);
    PanelSingeC->setGeometry(0, PanelsTop, SimplePanelWidth, SimplePanelHeight);
    PanelMultC = new TPanelMultC(client);
    PanelMultC->setGeometry(376, PanelsTop, 617, ExtendedPanelHeight);
    PanelMultC->SetPanelEnabled(false);
    PanelMultC->hide();
    rgrSingl_Mult = new TRadioGroup("rgrSingl_Mult", QString(),
                                    {"Simple control mode", "Extended control mode"}, 2, client);
    rgrSingl_Mult->SetItemIndex(0);
    MemoLog = new TMemoLog(client);

    PanelCoordinates = new TCaptionPanel("PanelCoordinates", "Coordinates:   ", client);
    PanelCoordinates->SetCaptionWidth(CoordinatesCaptionWidth);
    btnOpenPort = new QPushButton("Open Port", PanelCoordinates);
    btnOpenPort->setObjectName("btnOpenPort");
    btnOpenPort->setGeometry(CoordinatesCaptionWidth + 2, 1, PortButtonWidth, 20);
    btnClosePort = new QPushButton("Close port", PanelCoordinates);
    btnClosePort->setObjectName("btnClosePort");
    btnClosePort->setGeometry(CoordinatesCaptionWidth + PortButtonWidth + 4, 1, PortButtonWidth,
                              20);
    btnClosePort->setEnabled(false);
    PanelPortProp = new TCaptionPanel("PanelPortProp", QString(), client);

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
    PanelMultC->CreateGrid(c.MemoSend);
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
    SendProgressBar->OnSending = [this](bool sending) {
        sending_ = sending;
        ApplySendingLocks();
    };
    c.MemoRead.OnChanged = [this] { ScheduleListRefresh(); };
    c.lbBufRead.OnChanged = [this] { ScheduleListRefresh(); };
    if (c.lbBufRead.Empty())
        c.lbBufRead.Add("");

    c.PortConnection().LoadPortSettings();
    c.PortConnection().UpdatePortControls();
    c.ReplyEvent.Reset();
    c.SenderIdleEvent.Set();
    c.ReadDoneEvent.Reset();
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
        SetWindowHeight(height() - MemoLog->height());
        logShrunk_ = true;
    } else {
        SetWindowHeight(WindowHeightWithLog + grownBy_);
    }
    c.SettingsFiles().LoadErrorSettings();
    // LastReply already holds its two blanks: the controller sets them when it is made.
    c.Lang().LoadLanguage();
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
    controller_.reset();
}

bool TForm1::eventFilter(QObject* watched, QEvent* event) {
    if (watched == centralWidget() && event->type() == QEvent::Resize)
        LayOutClient(centralWidget()->size());
    return QMainWindow::eventFilter(watched, event);
}

void TForm1::LayOutClient(QSize client) {
    const int w = client.width();
    const int h = client.height();
    const int unitsHeight = std::max(UnitsHeight, PanelUnits->minimumSizeHint().height());
    PanelUnits->setGeometry(0, UnitsTop, w, unitsHeight);
    const int panelsTop = PanelsTop + unitsHeight - UnitsHeight;
    const int coordinatesTop = h - PortPropHeight - CoordinatesHeight;
    // Room beyond the built sizes goes to the extended panel's grid and side lists, and
    // shares the height with the operation log when the log is shown.
    int panelHeight = ExtendedPanelHeight;
    const bool extended = PanelMultC->isVisibleTo(this);
    if (extended) {
        if (controller_) {
            const bool log = controller_->CommonDatas().ShowWorkLog;
            const int spare = coordinatesTop - 1 - LogTop - (log ? BuiltLogHeight : 0) -
                              (panelsTop - PanelsTop) - (ModeRowHeight() - ModeHeight);
            if (spare > 0)
                panelHeight += log ? spare / 2 : spare;
        }
        PanelMultC->setGeometry(0, panelsTop, controller_ ? w - 10 : PanelMultC->width(),
                                panelHeight);
    } else {
        const QSize need = PanelSingeC->minimumSizeHint();
        const int simpleHeight = std::max(SimplePanelHeight, need.height());
        panelHeight += simpleHeight - SimplePanelHeight;
        if (PanelSingeC->isVisibleTo(this))
            PanelSingeC->setGeometry(0, panelsTop, std::max(SimplePanelWidth, need.width()),
                                     simpleHeight);
    }
    const int modeTop = ModeTop + panelsTop - PanelsTop + panelHeight - ExtendedPanelHeight;
    rgrSingl_Mult->setGeometry(0, modeTop, w, ModeRowHeight());
    const int logTop = modeTop + ModeRowHeight();
    MemoLog->setGeometry(0, logTop, w, std::max(0, coordinatesTop - 1 - logTop));
    PanelCoordinates->setGeometry(
        0, coordinatesTop,
        std::max(PanelCoordinates->width(), CoordinatesCaptionWidth + 2 * PortButtonWidth + 7),
        CoordinatesHeight);
    PanelPortProp->setGeometry(0, h - PortPropHeight, w, PortPropHeight);
}

int TForm1::ModeRowHeight() const {
    return std::max(ModeHeight, rgrSingl_Mult->minimumSizeHint().height());
}

int TForm1::PanelsGrowth() const {
    int growth = std::max(0, PanelUnits->minimumSizeHint().height() - UnitsHeight) +
                 ModeRowHeight() - ModeHeight;
    if (!PanelMultC->isVisibleTo(this))
        growth += std::max(0, PanelSingeC->minimumSizeHint().height() - SimplePanelHeight);
    return growth;
}

int TForm1::ModeWidth() const {
    const int panels = PanelMultC->isVisibleTo(this)
                           ? PanelMultC->BuiltWidth() + 10
                           : std::max(SimpleModeWidth, PanelSingeC->minimumSizeHint().width() +
                                                           SimpleModeWidth - SimplePanelWidth);
    return std::max({panels, PanelUnits->minimumSizeHint().width(),
                     rgrSingl_Mult->minimumSizeHint().width(), PanelCoordinates->width()});
}

void TForm1::SetModeWidth() {
    ruleWidth_ = ModeWidth();
    SetWindowWidth(ruleWidth_);
}

void TForm1::FitToTexts() {
    ActivateLayouts(*centralWidget());
    const int growth = PanelsGrowth();
    const int h = height() + growth - grownBy_;
    grownBy_ = growth;
    // A window at its mode's width follows the texts both ways; one the operator made
    // wider keeps its width unless the texts need more.
    const int need = ModeWidth();
    int w = std::max(width(), need);
    if (ruleWidth_ > 0 && width() == ruleWidth_)
        w = ruleWidth_ = need;
    SetWindowSize(w, h);
}

void TForm1::UpdateMinimumSize() {
    // Narrower than the mode's width, or so low that the log has no room left, the
    // panels would overlap.
    const int width = ModeWidth();
    int menuHeight = menuBar()->heightForWidth(width);
    if (menuHeight < 0)
        menuHeight = menuBar()->sizeHint().height();
    setMinimumSize(width,
                   menuHeight + LogTop + PanelsGrowth() + 1 + CoordinatesHeight + PortPropHeight);
}

void TForm1::SetWindowSize(int width, int height) {
    // The mode's rules set the size; the minimum follows them.
    setMinimumSize(0, 0);
    resize(width, height);
    // A hidden window gets its resize events only when shown, and the rules that follow
    // read the sizes at once.
    int menuHeight = menuBar()->heightForWidth(width);
    if (menuHeight < 0)
        menuHeight = menuBar()->sizeHint().height();
    LayOutClient(QSize(width, height - menuHeight));
    UpdateMinimumSize();
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
        PanelMultC->ShowLoading(controller_->MemoRead);
        PanelMultC->ShowResponses(controller_->lbBufRead);
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

void TForm1::HideExtendedMode() {
    PanelMultC->SetPanelEnabled(false);
    PanelMultC->hide();
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
    PanelSingeC->resize(0, PanelSingeC->height());
}

void TForm1::ShowExtendedMode() {
    PanelMultC->SetPanelEnabled(true);
    PanelMultC->show();
    const TCommonDatas& datas = controller_->CommonDatas();
    const int width = PanelMultC->LayOutSideLists(datas.ShowLoadLog, datas.ShowPortLog);
    PanelMultC->setGeometry(0, PanelMultC->y(), width, ExtendedPanelHeight);
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
        // Longer captions widen the two buttons (and the panel) rather than being cut.
        const int w = std::max(
            {PortButtonWidth, btnOpenPort->sizeHint().width(), btnClosePort->sizeHint().width()});
        btnOpenPort->setGeometry(CoordinatesCaptionWidth + 2, 1, w, 20);
        btnClosePort->setGeometry(CoordinatesCaptionWidth + w + 4, 1, w, 20);
        PanelCoordinates->resize(CoordinatesCaptionWidth + 2 * w + 7, PanelCoordinates->height());
    }
    FitToTexts();
}

void TForm1::MessagesLoaded() {
    if (controller_) {
        const TLang& lang = controller_->Lang();
        NameMainWindowControls(*this, lang);
        PanelMultC->ToolPanel->ApplyTexts(lang);
        PanelSingeC->GrBoxTracking->ApplyTexts(lang);
        mmExit->setText(Q(lang.Message(msgExit)).replace('&', "&&"));
        mmFileRecent->setTitle(Q(lang.Message(msgRecentFiles)).replace('&', "&&"));
    }
    // The controller loads its first messages while it is being made, before the bar.
    if (SendProgressBar) {
        SendProgressBar->ApplyTexts();
        FitToTexts();
    }
}

// --- IPortView

void TForm1::SetPortDescription(const std::string& text) {
    PanelPortProp->SetCaption(Q(text));
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
