#pragma once
// The port properties dialog: data bits, stop bits, parity and baud rate of the open
// port.

#include <QComboBox>
#include <QDialog>
#include <QLabel>
#include <QPushButton>

#include "common/radio_group.h"
#include "controller/controller.h"

namespace zav {

class TFormByteLen : public QDialog {
    Q_OBJECT
public:
    TFormByteLen(TController& controller, QWidget* parent);

    TRadioGroup* rgrDataLen;
    TRadioGroup* rgrStopBits;
    TRadioGroup* rgrParity;
    QLabel* lblBaudRate;
    QComboBox* cbPortSpeed;
    QPushButton* btnOK;
    QPushButton* btnCancel;

    void btnOKClick();

private:
    void ApplyLanguage();
    TController& controller_;
};

} // namespace zav
