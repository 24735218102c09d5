#pragma once
// The offer to resume a send that did not end normally: what was sent, what the
// controller acknowledged, where a resume starts and why; Resume, Start again or
// Dismiss. Non-modal, so that nothing waits on it; at most one is open. Nothing is sent
// until the operator answers, and an edited list is replaced only when the operator
// agrees.

#include <QCheckBox>
#include <QDialog>
#include <QLabel>
#include <QPushButton>
#include <functional>
#include <string>

#include "controller/controller.h"

namespace zav {

class TFormResume : public QDialog {
    Q_OBJECT
public:
    // confirm asks a yes-or-no question and returns true for yes.
    TFormResume(TController& controller, TJournal journal,
                std::function<bool(const std::string&)> confirm, QWidget* parent);

    QLabel* lblOffer;
    QCheckBox* chbResend; // shown only when a line was in flight
    QPushButton* btnResume;
    QPushButton* btnStartAgain;
    QPushButton* btnDismiss;

private:
    void ShowOffer();
    void Answer(TResume::TAnswer answer);

    TController& controller_;
    const TJournal journal_;
    std::function<bool(const std::string&)> confirm_;
};

} // namespace zav
