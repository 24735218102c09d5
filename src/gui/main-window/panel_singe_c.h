#pragma once
// The simple-mode panel: one motion, the four program buttons and the tracking group.

#include <QCheckBox>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

#include "common/radio_group.h"
#include "main-window/group_tracking.h"

namespace zav {

class TPanelSingeC : public QFrame {
    Q_OBJECT
public:
    explicit TPanelSingeC(QWidget* parent);

    QGroupBox* grbSteps;
    QLabel* StTStepsNum;
    QLineEdit* EditStepsNum;
    QCheckBox* chbStepsConst;
    QGroupBox* grbSpeed;
    QLabel* StTSpeed;
    QLineEdit* EditSpeed;
    QLabel* StTBeginSpeed;
    QLineEdit* EditBeginSpeed;
    QGroupBox* grbAccel;
    QRadioButton* rbtnAccel;
    QLineEdit* EditAccel;
    QRadioButton* rbtnNonAccel;
    TRadioGroup* rgrDirect;
    QPushButton* btnStart;
    QPushButton* btnStop;
    QPushButton* btnLoad;
    QPushButton* btnPusk;
    TGrBoxTracking* GrBoxTracking;

    // Enables or disables the panel, its direct children and the controls inside the
    // motion, velocity and acceleration groups.
    void SetPanelEnabled(bool enabled);
};

} // namespace zav
