#pragma once
// The core's message boxes as modal Qt message boxes.

#include <QPointer>
#include <QWidget>
#include <deque>

#include "state/views.h"

namespace zav {

class TQtMessageBox : public IMessageBox {
public:
    explicit TQtMessageBox(QWidget* parent) : parent_(parent) {}
    void ShowMessage(const std::string& text) override;
    // From Hold to Release messages wait, in order: those of start-up then reach the
    // operator over the shown window rather than before it.
    void Hold() { holding_ = true; }
    bool Holding() const { return holding_; }
    bool HasHeld() const { return !held_.empty(); }
    void Release();

private:
    void Show(const std::string& text);

    QPointer<QWidget> parent_;
    bool holding_ = false;
    std::deque<std::string> held_;
};

} // namespace zav
