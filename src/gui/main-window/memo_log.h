#pragma once
// The operation log: a read-only rich-text field whose text colour, once set, applies
// to every line added after it.

#include <QColor>
#include <QTextEdit>

#include "state/views.h"

namespace zav {

class TMemoLog : public QTextEdit, public IOperationLog {
    Q_OBJECT
public:
    // The log keeps at most this many lines, dropping the oldest.
    static constexpr int MaxLines = 20000;

    explicit TMemoLog(QWidget* parent);
    void SetTextColor(TColor color) override;
    void AddLine(const std::string& line) override;
    QColor CurrentColor() const { return color_; }
    // The lines as plain text, for the log file.
    QStringList Lines() const;

private:
    QColor color_ = Qt::black;
    bool hasLines_ = false;
};

} // namespace zav
