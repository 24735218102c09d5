#pragma once
// The coordinate state dialog: sets each coordinate's state by hand.

#include <QDialog>
#include <QLabel>
#include <QPushButton>

#include "common/radio_group.h"
#include "controller/controller.h"

namespace zav {

class TFormColorIndicators : public QDialog {
    Q_OBJECT
public:
    TFormColorIndicators(TController& controller, QWidget* parent);

    QLabel* lblMode;
    QLabel* LabelGreen;
    QLabel* LabelRed;
    QLabel* LabelYellow;
    QLabel* LabelBlack;
    TRadioGroup* rgr1;
    TRadioGroup* rgr2;
    TRadioGroup* rgr3;
    QPushButton* btnOK;

    void btnOKClick();

private:
    void ApplyLanguage();
    TController& controller_;
};

} // namespace zav
