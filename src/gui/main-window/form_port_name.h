#pragma once
// The port number dialog: Com 1 to Com 4, or another number from 5 to 255.

#include <QDialog>
#include <QPushButton>
#include <QSpinBox>

#include "common/radio_group.h"
#include "controller/controller.h"

namespace zav {

class TFormPortName : public QDialog {
    Q_OBJECT
public:
    TFormPortName(TController& controller, QWidget* parent);

    TRadioGroup* rgrPortName;
    QSpinBox* SpinEditPortName;
    QPushButton* ButtonOK;

    void rgrPortNameClick();
    void ButtonOKClick();

private:
    void ApplyLanguage();
    void PlaceSpinEdit();
    TController& controller_;
};

} // namespace zav
