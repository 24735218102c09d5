#pragma once
// The main window. It holds the widgets, forwards clicks to the controller and shows
// what the controller reports through the view interfaces.

#include <QAction>
#include <QBoxLayout>
#include <QMainWindow>
#include <QMenu>
#include <QPointer>
#include <QPushButton>
#include <functional>
#include <memory>

#include "common/caption_panel.h"
#include "common/press_guard.h"
#include "common/qt_dispatcher.h"
#include "common/qt_file_dialogs.h"
#include "common/qt_message_box.h"
#include "common/qt_timer.h"
#include "common/radio_group.h"
#include "controller/controller.h"
#include "main-window/grid_line_send.h"
#include "main-window/link_health_indicator.h"
#include "main-window/memo_log.h"
#include "main-window/panel_chanel_state.h"
#include "main-window/panel_mult_c.h"
#include "main-window/panel_singe_c.h"
#include "main-window/panel_units.h"
#include "main-window/send_progress_bar.h"

namespace zav {

class TFormPortName;
class TFormByteLen;
class TFormCoord;
class TFormChanRead;
class TFormPreview;
class TFormResume;
class TFormJournal;

class TForm1 : public QMainWindow,
               public ICommonDatasView,
               public IMainWindowHooks,
               public IPortView,
               public ICommandEditorView,
               public ISettingsRadioGroups,
               public IUnitsView,
               public IMainFormView {
    Q_OBJECT
public:
    // Runs right after the program settings are read at start-up, before the control
    // mode and the window height are applied; tests use it to start with given settings.
    using TSettingsHook = std::function<void(TForm1&)>;

    explicit TForm1(TSettingsHook afterSettings = {});
    ~TForm1() override;

    TController& Controller() { return *controller_; }

    // Controls.
    TPanelChanelState* PanelChanelState;
    TPanelUnits* PanelUnits;
    TPanelSingeC* PanelSingeC;
    TPanelMultC* PanelMultC;
    TRadioGroup* rgrSingl_Mult;
    TMemoLog* MemoLog;
    TCaptionPanel* PanelCoordinates;
    QPushButton* btnOpenPort;
    QPushButton* btnClosePort;
    TCaptionPanel* PanelPortProp;

    // Main menu.
    QMenu *mmFile, *mmSetts, *mmNastr, *mmInfo;
    QAction *mmFileOpen, *mmFileSave;
    QMenu* mmFileRecent; // filled from the recent files each time it opens
    QAction* mmExit;
    QAction *mmSettsPortName, *mmSettsProp, *mmSettsCoord;
    QAction *mmNastrError, *mmNastrLogs, *mmLang;
    QAction *mmVers, *mmReadCh;
    QAction* mmPreview; // the motion preview of the command list
    QAction* mmJournal; // the journal of the last send

    // Dialogs that live while shown, at most one of each.
    QPointer<TFormPortName> FormPortName;
    QPointer<TFormByteLen> FormByteLen;
    QPointer<TFormCoord> FormCoord;
    QPointer<TFormChanRead> FormChanRead;
    QPointer<TFormPreview> FormPreview;
    QPointer<TFormResume> FormResume; // the offer to resume a cut send
    QPointer<TFormJournal> FormJournal;

    // Control modes.
    void rgrSingl_MultClick();
    // The file menu and the panels of the mode chosen, without clearing the list.
    void ApplyControlMode();
    void HideExtendedMode();
    void ShowSimpleMode();
    void HideSimpleMode();
    void ShowExtendedMode();

    // Handlers.
    void btnAllClearClick();
    void btnRunTRClick();
    void btnCoord123Click();
    void btnSetCoordStatesClick();
    void mmSettsPortNameClick();
    void mmSettsPropClick();
    void mmSettsCoordClick();
    void mmNastrErrorClick();
    void mmNastrLogsClick();
    // After the program settings dialog's OK: the operation log and the control mode's
    // layout, without clearing the command list.
    void ApplyProgramSettingsLayout();
    void mmReadChClick();
    void mmPreviewClick();
    void mmJournalClick();
    void mmLangClick();
    void mmVers1Click();
    void SetListHasWrongCommand(bool value);
    // What the simple-mode and tracking controls hold now.
    TMotion Motion() const;
    TTrackingValues TrackingValues() const;

    // ICommonDatasView
    void SetCoordinatesCaption(const std::string& caption) override;
    void SetCoordCheckBox(int n, bool checked) override;
    void SetIndicatorColor(int n, TColor color) override;
    void SetRoundingCaption(const std::string& caption) override;
    void ShowScale(const std::string& scaleText, const std::string& groupCaption,
                   const std::string& label3Caption) override;
    void EnableProgramButtons(bool writeAndStart, bool stop, bool write, bool start) override;
    int ControlMode() const override;
    // IMainWindowHooks
    int UnitsIndex() const override;
    // ICommandEditorView
    void SetSendEnabled(bool enabled) override;
    // IUnitsView
    std::string ScaleText() const override;
    void EnableScaleControls(bool enabled) override;
    // IPortView
    void SetPortDescription(const std::string& text) override;
    void UpdatePortControls(bool open) override;
    // ISettingsRadioGroups
    int ControlModeIndex() const override;
    void SetControlModeIndex(int index) override;
    int UnitsChoiceIndex() const override;
    void SetUnitsChoiceIndex(int index) override;
    // IMainFormView
    void SetControlCaption(const std::string& control, int item, const std::string& text) override;
    void MessagesLoaded() override;

    // The progress of a running send and its stop.
    TSendProgressBar* SendProgressBar = nullptr;
    TGridLineSend* GridLineSend = nullptr;      // the list's send-from-line actions
    TLinkHealthIndicator* LinkHealth = nullptr; // at the right of the bottom line
    // Ignores a second press of a control that sends, within the double-click interval.
    TPressGuard* PressGuard = nullptr;

    // Closes as a termination signal does: a send is stopped (and a recording it cut
    // ended) without asking first.
    void CloseWithoutAsking();
    // A send has begun and its end has not reached the window yet.
    bool Sending() const { return sending_; }

    // Built size of the window and of its client area.
    static constexpr int BuiltWidth = 1020;
    static constexpr int BuiltHeight = 626;

protected:
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void BuildMenu();
    void ShowRecentFiles();
    // The window's place from the last run, kept on the screens present; and back.
    void RestorePlacement();
    void StorePlacement();
    void BuildControls();
    void FormCreate();
    void FormClose();
    // Asks a yes-or-no question; true for yes.
    bool Confirm(const std::string& question);
    // A question answered Yes or No; No is the default.
    bool AskYesNo(const std::string& question);
    // Send and the simple-mode Write and Start buttons are disabled while a send runs.
    void ApplySendingLocks();
    void FormDestroy();
    // The margin and the share of the height of the mode's panel.
    void ApplyModeLayout(bool extended);
    void SetWindowSize(int width, int height);
    void SetWindowWidth(int width);
    void SetWindowHeight(int height);
    void ScheduleListRefresh();
    void ConnectEditor();
    void ConnectSimpleMode();
    // The current mode's window width: as built, or wider where its panels' texts need
    // more; SetModeWidth gives the window that width.
    int ModeWidth() const;
    void SetModeWidth();
    // How much taller than built the panels above the log must be for their texts.
    int PanelsGrowth() const;
    // The least heights of the units strip, the mode switch and the simple-mode panel.
    struct TPanelsHeights {
        int Units = 0, Mode = 0, Simple = 0;
    };
    TPanelsHeights PanelsHeights() const;
    // After captions changed: the window grows (or shrinks back) to what they need.
    void FitToTexts();

    TSettingsHook afterSettings_;
    std::unique_ptr<TQtDispatcher> dispatcher_;
    std::unique_ptr<TQtMessageBox> messageBox_;
    std::unique_ptr<TQtFileDialogs> fileDialogs_;
    TQtTimer reconnectTimer_; // before controller_, which uses it until it is gone
    std::unique_ptr<TController> controller_;
    QVBoxLayout* column_ = nullptr;
    QHBoxLayout* panels_ = nullptr;
    bool listRefreshPending_ = false;
    bool fitPending_ = false;
    bool closed_ = false;
    bool closeWithoutAsking_ = false;
    bool sending_ = false;
    // What the list and the coordinate states allow: Send; Write and Start, Write, Start.
    bool sendWanted_ = false;
    bool programWanted_[3] = {true, true, true};
    bool shown_ = false;
    // The window was made shorter by the operation log's height.
    bool logShrunk_ = false;
    // The width the mode's rule last gave the window, and the height the window holds
    // beyond the built one for panels grown by their texts.
    int ruleWidth_ = 0;
    int grownBy_ = 0;
    // The panels' heights with the texts they are built with.
    TPanelsHeights builtHeights_;
};

} // namespace zav
