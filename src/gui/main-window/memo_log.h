#pragma once
// The operation log: a read-only rich-text field. Each line has its own colour: the
// colour set before it, else the field's text colour.

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
    // The colour of line i (0 is the oldest kept), invalid beyond the last line.
    QColor LineColor(int i) const;
    // The lines as plain text, for the log file.
    QStringList Lines() const;

private:
    // The colour of the next line only; invalid: the field's text colour.
    QColor color_;
    bool hasLines_ = false;
};

} // namespace zav
