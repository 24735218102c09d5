#pragma once
// The error handling settings dialog: automatic recovery, whether command errors and
// command data errors stop the sending of the list, the echo check, and the reply
// waiting time. OK
// stores them; closing the window any other way discards the changes.

#include <QCheckBox>
#include <QDialog>
#include <QFrame>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>

#include "controller/controller.h"

namespace zav {

class TFormErrNastr : public QDialog {
    Q_OBJECT
public:
    TFormErrNastr(TController& controller, QWidget* parent);

    QFrame* pnlEr5;
    QLabel* StaticText1;
    QCheckBox* chboxEr5;
    QPushButton* btnErrRun;
    QCheckBox* chboxEcho; // the echo check: a changed echo stops the list
    QFrame* pnlErr6;
    QLabel* StaticText2;
    QRadioButton* RbtnEr6_NoReact;
    QRadioButton* RbtnEr6_Esc;
    QFrame* PnlErr9;
    QLabel* StaticText3;
    QRadioButton* RbtnEr9_NoReact;
    QRadioButton* RbtnEr9_Esc;
    QFrame* pnlTime;
    QLabel* StaticText4;
    QSpinBox* SpinEditTime;
    QPushButton* btnOk;
    QPushButton* btnCancel;

    void btnOkClick();
    void btnErrRunClick();

private:
    void ApplyLanguage();
    TController& controller_;
};

} // namespace zav
