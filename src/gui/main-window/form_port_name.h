#pragma once
// The port number dialog: Com 1 to Com 4, or another number from 5 to 255, and the
// serial devices present, one of which can be made that port.

#include <QDialog>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QSpinBox>
#include <vector>

#include "common/radio_group.h"
#include "controller/controller.h"
#include "serial/device_list.h"

namespace zav {

class TFormPortName : public QDialog {
    Q_OBJECT
public:
    TFormPortName(TController& controller, QWidget* parent);

    TRadioGroup* rgrPortName;
    QSpinBox* SpinEditPortName;
    QPushButton* ButtonOK;
    QPushButton* btnCancel;
    QLabel* lblDevices;
    QListWidget* lbDevices;
    QPushButton* btnRefresh;

    void rgrPortNameClick();
    void ButtonOKClick();
    void FillDevices();
    // The device list of this system; tests give their own.
    std::function<std::vector<TSerialDevice>()> ListDevices = ListSerialDevices;

private:
    void ApplyLanguage();
    int ChosenNumber() const;
    void SelectNumber(int n);
    TController& controller_;
    std::vector<TSerialDevice> devices_;
};

} // namespace zav
