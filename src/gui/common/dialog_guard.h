#pragma once
// Keeps a dialog alive while any handler of it runs. A handler that shows a message box
// runs a nested event loop; without the guard, a second OK or a close from outside
// (a termination signal) in that loop would free the dialog under the first handler.
// Each handler run through the guard therefore ignores a second activation while one
// runs, and a dialog that frees itself when closed is freed only once no handler of it
// is on the stack.

#include <QAbstractButton>
#include <QDialog>
#include <QObject>
#include <functional>

namespace zav {

class TDialogGuard : public QObject {
    Q_OBJECT
public:
    // With freeWhenClosed the dialog is freed (later, and never under a handler) once it
    // has been closed or hidden by the program; use it instead of WA_DeleteOnClose.
    TDialogGuard(QDialog& dialog, bool freeWhenClosed);

    // Connects button's clicks to handler through Run.
    void Connect(QAbstractButton* button, std::function<void()> handler);
    // Runs handler unless a handler of the dialog is running; false when ignored.
    bool Run(const std::function<void()>& handler);
    bool Running() const { return running_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QDialog& dialog_;
    bool freeWhenClosed_;
    bool running_ = false;
    bool freePending_ = false; // closed while a handler ran
    bool freeing_ = false;
};

} // namespace zav
