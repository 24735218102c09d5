#include "main-window/memo_log.h"

#include <QScrollBar>
#include <QTextBlock>
#include <QTextCursor>

namespace zav {

TMemoLog::TMemoLog(QWidget* parent) : QTextEdit(parent) {
    setObjectName("MemoLog");
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
    format.setForeground(color_.isValid() ? color_ : palette().color(QPalette::Text));
    color_ = QColor();
    // The document starts with one empty block, which takes the first line.
    if (hasLines_)
        cursor.insertBlock();
    hasLines_ = true;
    cursor.setCharFormat(format);
    cursor.insertText(QString::fromStdString(line), format);
    verticalScrollBar()->setValue(verticalScrollBar()->maximum());
}

QColor TMemoLog::LineColor(int i) const {
    const QTextBlock block = document()->findBlockByNumber(i);
    if (!hasLines_ || !block.isValid())
        return QColor();
    // An empty line has no fragment; its block keeps the format it was given.
    const QTextFragment fragment = block.begin().fragment();
    return (fragment.isValid() ? fragment.charFormat() : block.charFormat()).foreground().color();
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
