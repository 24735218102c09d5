#include "main-window/panel_mult_c.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QScrollBar>
#include <QVBoxLayout>
#include <algorithm>

#include "controller/text_lines.h"
#include "localisation/lang.h"
#include "program-check/program_check.h"
#include "program-editing/command_list.h"

namespace zav {

namespace {
template <class T> T* Named(T* widget, const char* name, const QString& accessibleName = {}) {
    widget->setObjectName(name);
    if (!accessibleName.isEmpty())
        widget->setAccessibleName(accessibleName);
    return widget;
}

// Columns of the panel's grid: the command grid with the buttons under it, a gap, the
// tools with "Direct Control" under them, and the two side lists.
enum { ColGrid, ColGap, ColTools, ColLoading, ColResponse };
// Rows: the grid and the tools, the check's count, Send's row, "Clear all"'s row.
enum { RowLists, RowWarnings, RowSend, RowClear };

QHBoxLayout* ButtonRow(QPushButton* left, QPushButton* right) {
    auto* row = new QHBoxLayout;
    row->setSpacing(4);
    row->addWidget(left, 1);
    row->addWidget(right, 1);
    return row;
}
} // namespace

TPanelMultC::TPanelMultC(QWidget* parent) : QFrame(parent) {
    setObjectName("PanelMultC");

    ToolPanel = new TToolPanel(this);

    btnRunTR = Named(new QPushButton("Send", this), "btnRunTR");
    btnStopSend = Named(new QPushButton("Stop sending", this), "btnStopSend");
    btnAllClear = Named(new QPushButton("Clear all", this), "btnAllClear");
    btnDelRaw = Named(new QPushButton("Clear current string", this), "btnDelRaw");
    chbDirectControl = Named(new QCheckBox("Direct Control", this), "chbDirectControl");
    lblWarnings = Named(new QLabel(this), "lblWarnings");
    lblWarnings->setIndent(2);
    // The line keeps its room while hidden, so the grid does not jump as warnings come
    // and go.
    QSizePolicy keep = lblWarnings->sizePolicy();
    keep.setRetainSizeWhenHidden(true);
    lblWarnings->setSizePolicy(keep);
    lblWarnings->hide();

    panelLoadAns = Named(new QFrame(this), "panelLoadAns");
    lblLoading = Named(new QLabel("Loading:", panelLoadAns), "lblLoading");
    MemoRead = Named(new QPlainTextEdit(panelLoadAns), "MemoRead");
    MemoRead->setReadOnly(true);
    MemoRead->setLineWrapMode(QPlainTextEdit::NoWrap);
    MemoRead->setTabChangesFocus(true);
    lblLoading->setBuddy(MemoRead);
    auto* loading = new QVBoxLayout(panelLoadAns);
    loading->setContentsMargins(0, 0, 0, 0);
    loading->setSpacing(0);
    loading->addWidget(lblLoading);
    loading->addWidget(MemoRead, 1);

    panelPortAns = Named(new QFrame(this), "panelPortAns");
    lblResponse = Named(new QLabel("Response:", panelPortAns), "lblResponse");
    lbBufRead = Named(new QListWidget(panelPortAns), "lbBufRead");
    lbBufRead->setSelectionMode(QAbstractItemView::ExtendedSelection);
    lblResponse->setBuddy(lbBufRead);
    btnlbbufclear = Named(new QPushButton("clear", panelPortAns), "btnlbbufclear");
    auto* responses = new QVBoxLayout(panelPortAns);
    responses->setContentsMargins(0, 0, 0, 0);
    responses->setSpacing(1);
    responses->addWidget(lblResponse);
    responses->addWidget(lbBufRead, 1);
    responses->addWidget(btnlbbufclear);
    for (QLabel* caption : {lblLoading, lblResponse})
        caption->setIndent(2);

    grid_ = new QGridLayout(this);
    grid_->setContentsMargins(0, 0, 0, 0);
    grid_->setHorizontalSpacing(0);
    grid_->setVerticalSpacing(3);
    grid_->addWidget(lblWarnings, RowWarnings, ColGrid);
    grid_->addLayout(ButtonRow(btnRunTR, btnStopSend), RowSend, ColGrid);
    grid_->addLayout(ButtonRow(btnAllClear, btnDelRaw), RowClear, ColGrid);
    grid_->addItem(new QSpacerItem(4, 0, QSizePolicy::Fixed, QSizePolicy::Minimum), RowLists,
                   ColGap);
    grid_->addWidget(ToolPanel, RowLists, ColTools, Qt::AlignTop);
    grid_->addWidget(chbDirectControl, RowSend, ColTools);
    grid_->addWidget(panelLoadAns, RowLists, ColLoading, 4, 1);
    grid_->addWidget(panelPortAns, RowLists, ColResponse, 4, 1);
    grid_->setRowStretch(RowLists, 1);
    // Room beyond the built widths goes to the grid and to the side lists shown, in the
    // proportion of their built widths (a layout shares the whole room by the factors).
    grid_->setColumnStretch(ColGrid, GridWidth);
    grid_->setColumnMinimumWidth(ColGrid, GridWidth);
    grid_->setColumnMinimumWidth(ColTools, ToolColumnWidth);

    LayOutSideLists(false, false);
}

void TPanelMultC::CreateGrid(TCommandList& list) {
    StringGridSend = new TCommandGrid(list, "StringGridSend", this);
    StringGridSend->setEnabled(isEnabled());
    // The list, the tools in reading order, then the buttons and the side lists.
    std::vector<QWidget*> chain{StringGridSend};
    chain.insert(chain.end(), ToolPanel->TabChain().begin(), ToolPanel->TabChain().end());
    chain.insert(chain.end(), {btnRunTR, btnStopSend, btnAllClear, btnDelRaw, chbDirectControl,
                               MemoRead, lbBufRead, btnlbbufclear});
    for (std::size_t i = 1; i < chain.size(); ++i)
        setTabOrder(chain[i - 1], chain[i]);
    grid_->addWidget(StringGridSend, RowLists, ColGrid);
}

void TPanelMultC::ShowWarningCount(const TLang& lang) {
    const int count = StringGridSend ? StringGridSend->GridModel()->WarningCount() : 0;
    const QString text =
        QString::fromStdString(WarningCountText(lang, static_cast<std::size_t>(count)));
    lblWarnings->setText(text);
    lblWarnings->setAccessibleName(text);
    lblWarnings->setVisible(count > 0);
}

void TPanelMultC::SetPanelEnabled(bool enabled) {
    setEnabled(enabled);
    // "Stop sending" follows the send alone; a disabled panel disables it all the same.
    for (QWidget* child : findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly))
        if (child != btnStopSend)
            child->setEnabled(enabled);
}

int TPanelMultC::LayOutSideLists(bool showLoading, bool showResponse) {
    panelLoadAns->setVisible(showLoading);
    panelPortAns->setVisible(showResponse);
    const std::pair<int, bool> sides[] = {{ColLoading, showLoading}, {ColResponse, showResponse}};
    for (const auto& [column, shown] : sides) {
        grid_->setColumnStretch(column, shown ? SideListWidth : 0);
        grid_->setColumnMinimumWidth(column, shown ? SideListWidth : 0);
    }
    grid_->invalidate();
    return BuiltWidth();
}

int TPanelMultC::BuiltWidth() const {
    return grid_->totalMinimumSize().width();
}

void TPanelMultC::ShowLoading(const TTextLines& lines) {
    QStringList text;
    for (const auto& line : lines.Lines())
        text << QString::fromStdString(line);
    const QString joined = text.join('\n');
    if (MemoRead->toPlainText() != joined) {
        MemoRead->setPlainText(joined);
        MemoRead->verticalScrollBar()->setValue(MemoRead->verticalScrollBar()->maximum());
    }
}

void TPanelMultC::ShowResponses(const TTextLines& lines) {
    // Only the ends of the list change: lines leave at the top, the last line grows, and
    // new lines come at the bottom. A long list is therefore followed, not redrawn.
    const auto& model = lines.Lines();
    const std::uint64_t gone = lines.Dropped() - responsesDropped_;
    responsesDropped_ = lines.Dropped();
    const int remove = static_cast<int>(std::min<std::uint64_t>(gone, lbBufRead->count()));
    for (int i = 0; i < remove; ++i)
        delete lbBufRead->takeItem(0);
    const int n = static_cast<int>(model.size());
    while (lbBufRead->count() > n)
        delete lbBufRead->takeItem(lbBufRead->count() - 1);
    if (const int last = lbBufRead->count() - 1; last >= 0) {
        const QString text = QString::fromStdString(model[static_cast<std::size_t>(last)]);
        if (lbBufRead->item(last)->text() != text)
            lbBufRead->item(last)->setText(text);
    }
    for (int i = lbBufRead->count(); i < n; ++i)
        lbBufRead->addItem(QString::fromStdString(model[static_cast<std::size_t>(i)]));
    // The newest reply is the first line shown.
    if (n > 0)
        lbBufRead->scrollToItem(lbBufRead->item(n - 1), QAbstractItemView::PositionAtTop);
}

} // namespace zav
