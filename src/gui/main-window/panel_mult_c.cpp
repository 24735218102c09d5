#include "main-window/panel_mult_c.h"

#include <QHeaderView>
#include <QScrollBar>
#include <algorithm>

#include "controller/text_lines.h"
#include "program-editing/command_list.h"

namespace zav {

namespace {
template <class T> T* Named(T* widget, const char* name, const QString& accessibleName = {}) {
    widget->setObjectName(name);
    if (!accessibleName.isEmpty())
        widget->setAccessibleName(accessibleName);
    return widget;
}

// Built geometry: the grid and the buttons under it, the tool panel right of the grid.
constexpr int GridWidth = 224;
constexpr int ButtonsHeight = 58; // the two button rows under the grid
constexpr int ToolPanelWidth = 156;
constexpr int ToolPanelHeight = 238;
} // namespace

TPanelMultC::TPanelMultC(QWidget* parent) : QFrame(parent) {
    setObjectName("PanelMultC");

    ToolPanel = new TToolPanel(this);

    btnRunTR = Named(new QPushButton("Send", this), "btnRunTR");
    btnStopSend = Named(new QPushButton("Stop sending", this), "btnStopSend");
    btnAllClear = Named(new QPushButton("Clear all", this), "btnAllClear");
    btnDelRaw = Named(new QPushButton("Clear current string", this), "btnDelRaw");
    chbDirectControl = Named(new QCheckBox("Direct Control", this), "chbDirectControl");

    panelLoadAns = Named(new QFrame(this), "panelLoadAns");
    lblLoading = Named(new QLabel("Loading:", panelLoadAns), "lblLoading");
    MemoRead = Named(new QPlainTextEdit(panelLoadAns), "MemoRead");
    MemoRead->setReadOnly(true);
    MemoRead->setLineWrapMode(QPlainTextEdit::NoWrap);
    MemoRead->setTabChangesFocus(true);
    lblLoading->setBuddy(MemoRead);

    panelPortAns = Named(new QFrame(this), "panelPortAns");
    lblResponse = Named(new QLabel("Response:", panelPortAns), "lblResponse");
    lbBufRead = Named(new QListWidget(panelPortAns), "lbBufRead");
    lbBufRead->setSelectionMode(QAbstractItemView::ExtendedSelection);
    lblResponse->setBuddy(lbBufRead);
    btnlbbufclear = Named(new QPushButton("clear", panelPortAns), "btnlbbufclear");

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
    LayOut();
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
    LayOut();
    return BuiltWidth();
}

int TPanelMultC::GridColumnWidth() const {
    const int sendRow =
        2 * std::max(btnRunTR->sizeHint().width(), btnStopSend->sizeHint().width()) + 4;
    const int clearRow = btnAllClear->sizeHint().width() + 4 + btnDelRaw->sizeHint().width();
    return std::max({GridWidth, sendRow, clearRow});
}

int TPanelMultC::ToolColumnWidth() const {
    return std::max(ToolPanelWidth, chbDirectControl->sizeHint().width() + 4);
}

int TPanelMultC::SideColumnWidth() const {
    return std::max({SideListWidth, lblLoading->sizeHint().width() + 2,
                     lblResponse->sizeHint().width() + 2, btnlbbufclear->sizeHint().width()});
}

int TPanelMultC::BuiltWidth() const {
    const int sides =
        (panelLoadAns->isVisibleTo(this) ? 1 : 0) + (panelPortAns->isVisibleTo(this) ? 1 : 0);
    return GridColumnWidth() + 4 + ToolColumnWidth() + sides * SideColumnWidth();
}

void TPanelMultC::resizeEvent(QResizeEvent* event) {
    QFrame::resizeEvent(event);
    LayOut();
}

void TPanelMultC::LayOut() {
    // isVisibleTo: the panel itself may be hidden while it is laid out.
    const int built = BuiltWidth();
    const int sides =
        (panelLoadAns->isVisibleTo(this) ? 1 : 0) + (panelPortAns->isVisibleTo(this) ? 1 : 0);
    const int share = std::max(0, width() - built) / (1 + sides);
    const int h = std::max(height(), ToolPanelHeight + ButtonsHeight - 4);
    const int gridWidth = GridColumnWidth() + std::max(0, width() - built) - sides * share;
    const int toolWidth = ToolColumnWidth();
    const int sideWidth = SideColumnWidth() + share;

    if (StringGridSend)
        StringGridSend->setGeometry(0, 0, gridWidth, h - ButtonsHeight);
    ToolPanel->setGeometry(gridWidth + 4, 0, ToolPanelWidth, ToolPanelHeight);
    const int buttonsTop = h - ButtonsHeight + 4;
    // Send with "Stop sending" beside it; under them "Clear all" and "Clear current
    // string", which takes what its caption needs and at least half.
    btnRunTR->setGeometry(0, buttonsTop, gridWidth / 2 - 4, 25);
    btnStopSend->setGeometry(gridWidth / 2, buttonsTop, gridWidth - gridWidth / 2, 25);
    const int delRawWidth = std::max(btnDelRaw->sizeHint().width(), gridWidth / 2);
    btnAllClear->setGeometry(0, buttonsTop + 28, gridWidth - delRawWidth - 4, 25);
    btnDelRaw->setGeometry(gridWidth - delRawWidth, buttonsTop + 28, delRawWidth, 25);
    chbDirectControl->setGeometry(gridWidth + 6, buttonsTop + 2, toolWidth - 4, 22);

    int x = gridWidth + 4 + toolWidth;
    for (QFrame* side : {panelLoadAns, panelPortAns}) {
        if (!side->isVisibleTo(this)) {
            side->setGeometry(x, 0, 0, h);
            continue;
        }
        side->setGeometry(x, 0, sideWidth, h);
        x += sideWidth;
    }
    lblLoading->setGeometry(2, 0, sideWidth - 2, 18);
    MemoRead->setGeometry(0, 18, sideWidth, h - 18);
    lblResponse->setGeometry(2, 0, sideWidth - 2, 18);
    lbBufRead->setGeometry(0, 18, sideWidth, h - 18 - 27);
    btnlbbufclear->setGeometry(0, h - 26, sideWidth, 25);
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
