#include "main-window/panel_singe_c.h"

namespace zav {

namespace {
template <class T> T* Named(T* widget, const char* name, const QString& accessibleName = {}) {
    widget->setObjectName(name);
    if (!accessibleName.isEmpty())
        widget->setAccessibleName(accessibleName);
    return widget;
}
} // namespace

TPanelSingeC::TPanelSingeC(QWidget* parent) : QFrame(parent) {
    setObjectName("PanelSingeC");

    grbSteps = Named(new QGroupBox("Motion", this), "grbSteps");
    grbSteps->setGeometry(0, 0, 178, 72);
    StTStepsNum = Named(new QLabel("movement", grbSteps), "StTStepsNum");
    StTStepsNum->setGeometry(8, 20, 76, 22);
    EditStepsNum = Named(new QLineEdit("200", grbSteps), "EditStepsNum", "Movement");
    EditStepsNum->setMaxLength(8);
    EditStepsNum->setGeometry(86, 20, 84, 22);
    chbStepsConst = Named(new QCheckBox("permanent motion", grbSteps), "chbStepsConst");
    chbStepsConst->setGeometry(8, 46, 166, 22);

    grbSpeed = Named(new QGroupBox("Velocity", this), "grbSpeed");
    grbSpeed->setGeometry(182, 0, 179, 72);
    StTSpeed = Named(new QLabel("Maximum speed", grbSpeed), "StTSpeed");
    StTSpeed->setGeometry(8, 20, 110, 22);
    EditSpeed = Named(new QLineEdit("200", grbSpeed), "EditSpeed", "Maximum speed");
    EditSpeed->setMaxLength(5);
    EditSpeed->setGeometry(120, 20, 52, 22);
    StTBeginSpeed = Named(new QLabel("Start speed", grbSpeed), "StTBeginSpeed");
    StTBeginSpeed->setGeometry(8, 46, 110, 22);
    EditBeginSpeed = Named(new QLineEdit("200", grbSpeed), "EditBeginSpeed", "Start speed");
    EditBeginSpeed->setGeometry(120, 46, 52, 22);

    grbAccel = Named(new QGroupBox("Acceleration/Deceleration", this), "grbAccel");
    grbAccel->setGeometry(0, 74, 178, 72);
    rbtnAccel = Named(new QRadioButton("Acceleration:", grbAccel), "rbtnAccel");
    rbtnAccel->setGeometry(8, 20, 112, 22);
    EditAccel = Named(new QLineEdit("0", grbAccel), "EditAccel", "Acceleration value");
    EditAccel->setMaxLength(4);
    EditAccel->setGeometry(122, 20, 48, 22);
    rbtnNonAccel = Named(new QRadioButton("No acceleration", grbAccel), "rbtnNonAccel");
    rbtnNonAccel->setGeometry(8, 46, 166, 22);
    rbtnNonAccel->setChecked(true);

    rgrDirect = new TRadioGroup("rgrDirect", "Direction", {"Forward", "Backward"}, 1, this);
    rgrDirect->setGeometry(182, 74, 179, 72);
    rgrDirect->SetItemIndex(0);

    btnStart = Named(new QPushButton("Start", this), "btnStart");
    btnStart->setGeometry(0, 150, 70, 25);
    btnStop = Named(new QPushButton("Stop", this), "btnStop");
    btnStop->setGeometry(74, 150, 70, 25);
    btnLoad = Named(new QPushButton("Write", this), "btnLoad");
    btnLoad->setGeometry(148, 150, 80, 25);
    btnPusk = Named(new QPushButton("Write and Start", this), "btnPusk");
    btnPusk->setGeometry(232, 150, 129, 25);

    StTStepsNum->setBuddy(EditStepsNum);
    StTSpeed->setBuddy(EditSpeed);
    StTBeginSpeed->setBuddy(EditBeginSpeed);

    GrBoxTracking = new TGrBoxTracking(this);
    GrBoxTracking->setGeometry(0, 178, 361, 110);
}

void TPanelSingeC::SetPanelEnabled(bool enabled) {
    setEnabled(enabled);
    for (QWidget* child : findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly))
        child->setEnabled(enabled);
    for (QGroupBox* group : {grbSteps, grbSpeed, grbAccel})
        for (QWidget* child : group->findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly))
            child->setEnabled(enabled);
}

} // namespace zav
