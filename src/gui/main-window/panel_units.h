#pragma once
// The units strip: steps or a user unit, and the scale box.

#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "common/radio_group.h"

namespace zav {

class TPanelUnits : public QFrame {
    Q_OBJECT
public:
    explicit TPanelUnits(QWidget* parent);

    TRadioGroup* rgrUnits;
    QGroupBox* GrBoxStepsToUnits;
    QLabel* Label3;
    QLineEdit* EditStepsToUnits;
    QLabel* lblScale;
    QLabel* lblSteps;
    QLabel* lblTrunc;
    QPushButton* btnScaleChange;
};

} // namespace zav
