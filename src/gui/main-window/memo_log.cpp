#include "main-window/memo_log.h"

#include <QScrollBar>
#include <QTextBlock>
#include <QTextCursor>

namespace zav {

TMemoLog::TMemoLog(QWidget* parent) : QTextEdit(parent) {
    setObjectName("MemoLog");
    setAccessibleName("Operation log");
    setTabChangesFocus(true);
    setReadOnly(true);
    setAcceptRichText(false);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    document()->setMaximumBlockCount(MaxLines);
}

void TMemoLog::SetTextColor(TColor color) {
    color_ = QColor(color.r, color.g, color.b);
}

void TMemoLog::AddLine(const std::string& line) {
    QTextCursor cursor(document());
    cursor.movePosition(QTextCursor::End);
    QTextCharFormat format;
    format.setForeground(color_);
    // The document starts with one empty block, which takes the first line.
    if (hasLines_)
        cursor.insertBlock();
    hasLines_ = true;
    cursor.setCharFormat(format);
    cursor.insertText(QString::fromStdString(line), format);
    verticalScrollBar()->setValue(verticalScrollBar()->maximum());
}

QStringList TMemoLog::Lines() const {
    QStringList lines;
    if (!hasLines_)
        return lines;
    for (QTextBlock block = document()->begin(); block.isValid(); block = block.next())
        lines << block.text();
    return lines;
}

} // namespace zav
