#include "common/dialog_guard.h"

#include <QEvent>

namespace zav {

TDialogGuard::TDialogGuard(QDialog& dialog, bool freeWhenClosed)
    : QObject(&dialog), dialog_(dialog), freeWhenClosed_(freeWhenClosed) {
    dialog_.setAttribute(Qt::WA_DeleteOnClose, false);
    dialog_.installEventFilter(this);
}

void TDialogGuard::Connect(QAbstractButton* button, std::function<void()> handler) {
    connect(button, &QAbstractButton::clicked, this,
            [this, handler = std::move(handler)] { Run(handler); });
}

bool TDialogGuard::Run(const std::function<void()>& handler) {
    if (running_)
        return false;
    running_ = true;
    handler();
    running_ = false;
    if (freePending_) {
        freePending_ = false;
        dialog_.deleteLater();
    }
    return true;
}

bool TDialogGuard::eventFilter(QObject* watched, QEvent* event) {
    // Closing, rejecting and accepting all hide the dialog; a minimised one is hidden by
    // the system and stays.
    if (watched == &dialog_ && event->type() == QEvent::Hide && !event->spontaneous() &&
        freeWhenClosed_) {
        if (running_)
            freePending_ = true;
        else
            dialog_.deleteLater();
    }
    return QObject::eventFilter(watched, event);
}

} // namespace zav
