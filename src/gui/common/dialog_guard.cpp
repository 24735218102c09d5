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
        freeing_ = true;
        dialog_.deleteLater();
    }
    return true;
}

bool TDialogGuard::eventFilter(QObject* watched, QEvent* event) {
    // Closing (also a dialog never shown), rejecting and accepting; a minimised dialog is
    // hidden by the system and stays. None of the guarded dialogs refuses a close.
    const bool closed =
        event->type() == QEvent::Close || (event->type() == QEvent::Hide && !event->spontaneous());
    if (watched == &dialog_ && closed && freeWhenClosed_ && !freeing_) {
        if (running_) {
            freePending_ = true;
        } else {
            freeing_ = true;
            dialog_.deleteLater();
        }
    }
    return QObject::eventFilter(watched, event);
}

} // namespace zav
