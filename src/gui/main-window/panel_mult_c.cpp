#include "main-window/panel_mult_c.h"

#include <QHeaderView>
#include <QScrollBar>
#include <algorithm>

#include "controller/text_lines.h"
#include "program-editing/command_list.h"

namespace zav {

namespace {
template <class T> T* Named(T* widget, const char* name) {
    widget->setObjectName(name);
    return widget;
}

// Sets item (row, column) of the grid to text, creating it if needed.
void SetCell(QTableWidget* grid, int row, int column, const QString& text) {
    QTableWidgetItem* item = grid->item(row, column);
    if (!item) {
        item = new QTableWidgetItem;
        item->setFlags(Qt::ItemIsSelectable | Qt::ItemIsEnabled);
        grid->setItem(row, column, item);
    }
    if (item->text() != text)
        item->setText(text);
}
} // namespace

TPanelMultC::TPanelMultC(QWidget* parent) : QFrame(parent) {
    setObjectName("PanelMultC");

    StringGridSend = Named(new QTableWidget(1, 3, this), "StringGridSend");
    StringGridSend->setGeometry(0, 0, 224, 234);
    StringGridSend->setHorizontalHeaderLabels({"", "", ""});
    StringGridSend->verticalHeader()->hide();
    StringGridSend->verticalHeader()->setDefaultSectionSize(17);
    StringGridSend->verticalHeader()->setMinimumSectionSize(17);
    StringGridSend->horizontalHeader()->setMinimumSectionSize(20);
    StringGridSend->horizontalHeader()->setStretchLastSection(false);
    StringGridSend->setColumnWidth(0, 20);
    StringGridSend->setColumnWidth(1, 20);
    StringGridSend->setEditTriggers(QAbstractItemView::NoEditTriggers);
    StringGridSend->setSelectionBehavior(QAbstractItemView::SelectRows);
    StringGridSend->setSelectionMode(QAbstractItemView::SingleSelection);

    ToolPanel = new TToolPanel(this);
    ToolPanel->setGeometry(228, 0, 156, 238);

    btnRunTR = Named(new QPushButton("Send", this), "btnRunTR");
    btnRunTR->setGeometry(0, 238, 108, 25);
    btnAllClear = Named(new QPushButton("Clear all", this), "btnAllClear");
    btnAllClear->setGeometry(112, 238, 112, 25);
    btnDelRaw = Named(new QPushButton("Clear current string", this), "btnDelRaw");
    btnDelRaw->setGeometry(0, 266, 224, 25);
    chbDirectControl = Named(new QCheckBox("Direct Control", this), "chbDirectControl");
    chbDirectControl->setToolTip("Check to send commands directly");
    chbDirectControl->setGeometry(230, 240, 152, 22);

    panelLoadAns = Named(new QFrame(this), "panelLoadAns");
    lblLoading = Named(new QLabel("Loading:", panelLoadAns), "lblLoading");
    lblLoading->setGeometry(2, 0, SideListWidth - 2, 18);
    MemoRead = Named(new QPlainTextEdit(panelLoadAns), "MemoRead");
    MemoRead->setReadOnly(true);
    MemoRead->setLineWrapMode(QPlainTextEdit::NoWrap);

    panelPortAns = Named(new QFrame(this), "panelPortAns");
    lblResponse = Named(new QLabel("Response:", panelPortAns), "lblResponse");
    lblResponse->setGeometry(2, 0, SideListWidth - 2, 18);
    lbBufRead = Named(new QListWidget(panelPortAns), "lbBufRead");
    lbBufRead->setSelectionMode(QAbstractItemView::ExtendedSelection);
    btnlbbufclear = Named(new QPushButton("clear", panelPortAns), "btnlbbufclear");

    LayOutSideLists(false, false);
}

void TPanelMultC::SetPanelEnabled(bool enabled) {
    setEnabled(enabled);
    for (QWidget* child : findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly))
        child->setEnabled(enabled);
}

int TPanelMultC::LayOutSideLists(bool showLoading, bool showResponse) {
    const int loadWidth = showLoading ? SideListWidth : 0;
    const int portWidth = showResponse ? SideListWidth : 0;
    panelLoadAns->setVisible(showLoading);
    panelPortAns->setVisible(showResponse);
    panelLoadAns->setGeometry(MainWidth, 0, loadWidth, height());
    panelPortAns->setGeometry(MainWidth + loadWidth, 0, portWidth, height());
    return MainWidth + loadWidth + portWidth;
}

void TPanelMultC::resizeEvent(QResizeEvent* event) {
    QFrame::resizeEvent(event);
    const int h = height();
    panelLoadAns->resize(panelLoadAns->width(), h);
    panelPortAns->resize(panelPortAns->width(), h);
    MemoRead->setGeometry(0, 18, SideListWidth, h - 18);
    lbBufRead->setGeometry(0, 18, SideListWidth, h - 18 - 27);
    btnlbbufclear->setGeometry(0, h - 26, SideListWidth, 25);
}

void TPanelMultC::ShowCommandList(const TCommandList& list) {
    const auto& descriptions = list.Descriptions();
    const int rows = static_cast<int>(descriptions.size()) + 1; // and the trailing empty row
    if (StringGridSend->rowCount() != rows)
        StringGridSend->setRowCount(rows);
    for (int r = 0; r < rows; ++r) {
        const bool command = r < rows - 1;
        SetCell(StringGridSend, r, 0, command ? QString::number(r + 1) : QString());
        SetCell(StringGridSend, r, 2,
                command ? QString::fromStdString(descriptions[static_cast<std::size_t>(r)])
                        : QString());
    }
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
