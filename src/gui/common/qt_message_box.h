#pragma once
// The core's message boxes as modal Qt message boxes.

#include <QPointer>
#include <QWidget>

#include "state/views.h"

namespace zav {

class TQtMessageBox : public IMessageBox {
public:
    explicit TQtMessageBox(QWidget* parent) : parent_(parent) {}
    void ShowMessage(const std::string& text) override;

private:
    QPointer<QWidget> parent_;
};

} // namespace zav
