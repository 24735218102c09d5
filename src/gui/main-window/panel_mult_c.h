#pragma once
// The extended-mode panel: the command grid, the tool panel, Send, "Stop sending", "Clear all",
// "Clear current string", "Direct Control", and the "Loading:" and "Response:" lists.

#include <QCheckBox>
#include <QFrame>
#include <QGridLayout>
#include <QLabel>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <cstdint>

#include "common/command_grid.h"
#include "main-window/tool_panel.h"

namespace zav {

class TCommandList;
class TLang;
class TTextLines;

class TPanelMultC : public QFrame {
    Q_OBJECT
public:
    explicit TPanelMultC(QWidget* parent);
    // Makes the grid, a view of list (which exists only once the window's logic does).
    void CreateGrid(TCommandList& list);

    TCommandGrid* StringGridSend = nullptr;
    QLabel* lblWarnings; // under the grid: how many warnings the program check gives
    TToolPanel* ToolPanel;
    QPushButton* btnRunTR;
    QPushButton* btnStopSend;
    QPushButton* btnAllClear;
    QPushButton* btnDelRaw;
    QCheckBox* chbDirectControl;
    QFrame* panelLoadAns;
    QLabel* lblLoading;
    QPlainTextEdit* MemoRead;
    QFrame* panelPortAns;
    QLabel* lblResponse;
    QListWidget* lbBufRead;
    QPushButton* btnlbbufclear;

    // Built widths, kept as least widths: the part left of the side lists (the grid
    // 224, a gap of 4 and the tool column 156) and each side list.
    static constexpr int GridWidth = 224;
    static constexpr int ToolColumnWidth = 156;
    static constexpr int SideListWidth = 105;

    // Enables or disables the panel and its direct children.
    void SetPanelEnabled(bool enabled);
    // Shows or hides the side lists; returns the panel's width as built with them.
    // A wider or taller panel gives the extra room to the grid and the side lists.
    int LayOutSideLists(bool showLoading, bool showResponse);
    // The least width with the side lists that are shown: as built, or wider where a
    // caption needs more.
    int BuiltWidth() const;

    // The views of the core's text lists.
    void ShowLoading(const TTextLines& lines);
    void ShowResponses(const TTextLines& lines);
    // The count of the program check's warnings under the grid; nothing when there are none.
    void ShowWarningCount(const TLang& lang);

private:
    QGridLayout* grid_;
    std::uint64_t responsesDropped_ = 0; // lines of lbBufRead's model already taken off
};

} // namespace zav
