#pragma once
// The extended-mode panel: the command grid, the tool panel, Send, "Clear all",
// "Clear current string", "Direct Control", and the "Loading:" and "Response:" lists.

#include <QCheckBox>
#include <QFrame>
#include <QLabel>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTableWidget>
#include <cstdint>

#include "main-window/tool_panel.h"

namespace zav {

class TCommandList;
class TTextLines;

class TPanelMultC : public QFrame {
    Q_OBJECT
public:
    explicit TPanelMultC(QWidget* parent);

    QTableWidget* StringGridSend;
    TToolPanel* ToolPanel;
    QPushButton* btnRunTR;
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

    // Width of the part left of the side lists.
    static constexpr int MainWidth = 384;
    static constexpr int SideListWidth = 105;

    // Enables or disables the panel and its direct children.
    void SetPanelEnabled(bool enabled);
    // Shows or hides the side lists and places them; returns the panel's new width.
    int LayOutSideLists(bool showLoading, bool showResponse);

    // The views of the core's lists.
    void ShowCommandList(const TCommandList& list);
    void ShowLoading(const TTextLines& lines);
    void ShowResponses(const TTextLines& lines);

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    std::uint64_t responsesDropped_ = 0; // lines of lbBufRead's model already taken off
};

} // namespace zav
