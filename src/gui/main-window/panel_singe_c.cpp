#include "main-window/panel_singe_c.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QVBoxLayout>

#include "common/at_least.h"

namespace zav {

namespace {
template <class T> T* Named(T* widget, const char* name, const QString& accessibleName = {}) {
    widget->setObjectName(name);
    if (!accessibleName.isEmpty())
        widget->setAccessibleName(accessibleName);
    return widget;
}

// A group's two rows of a caption and its field; the field keeps its width and the
// caption takes the rest.
QGridLayout* GroupGrid(QGroupBox* group) {
    auto* grid = new QGridLayout(group);
    grid->setContentsMargins(6, 0, 6, 1);
    grid->setHorizontalSpacing(2);
    grid->setVerticalSpacing(2);
    grid->setColumnStretch(0, 1);
    return grid;
}
} // namespace

TPanelSingeC::TPanelSingeC(QWidget* parent) : QFrame(parent) {
    setObjectName("PanelSingeC");

    // Built sizes: two columns of groups 178 and 179 wide, 72 high, the program buttons
    // under them and the tracking group at the foot, 361 wide in all. Longer captions
    // or a larger font widen a column or raise a row instead of cutting the texts.
    grbSteps = Named(new TAtLeast<QGroupBox>({178, 72}, "Motion", this), "grbSteps");
    StTStepsNum = Named(new QLabel("movement", grbSteps), "StTStepsNum");
    EditStepsNum = Named(ValueField("200", 84, grbSteps), "EditStepsNum");
    EditStepsNum->setMaxLength(8);
    chbStepsConst = Named(new QCheckBox("permanent motion", grbSteps), "chbStepsConst");
    auto* steps = GroupGrid(grbSteps);
    steps->addWidget(StTStepsNum, 0, 0);
    steps->addWidget(EditStepsNum, 0, 1);
    steps->addWidget(chbStepsConst, 1, 0, 1, 2);

    grbSpeed = Named(new TAtLeast<QGroupBox>({179, 72}, "Velocity", this), "grbSpeed");
    StTSpeed = Named(new QLabel("Maximum speed", grbSpeed), "StTSpeed");
    EditSpeed = Named(ValueField("200", 52, grbSpeed), "EditSpeed");
    EditSpeed->setMaxLength(5);
    StTBeginSpeed = Named(new QLabel("Start speed", grbSpeed), "StTBeginSpeed");
    EditBeginSpeed = Named(ValueField("200", 52, grbSpeed), "EditBeginSpeed");
    auto* speed = GroupGrid(grbSpeed);
    speed->addWidget(StTSpeed, 0, 0);
    speed->addWidget(EditSpeed, 0, 1);
    speed->addWidget(StTBeginSpeed, 1, 0);
    speed->addWidget(EditBeginSpeed, 1, 1);

    grbAccel =
        Named(new TAtLeast<QGroupBox>({178, 72}, "Acceleration/Deceleration", this), "grbAccel");
    rbtnAccel = Named(new QRadioButton("Acceleration:", grbAccel), "rbtnAccel");
    EditAccel = Named(ValueField("0", 48, grbAccel), "EditAccel");
    EditAccel->setMaxLength(4);
    rbtnNonAccel = Named(new QRadioButton("No acceleration", grbAccel), "rbtnNonAccel");
    rbtnNonAccel->setChecked(true);
    auto* accel = GroupGrid(grbAccel);
    accel->addWidget(rbtnAccel, 0, 0);
    accel->addWidget(EditAccel, 0, 1);
    accel->addWidget(rbtnNonAccel, 1, 0, 1, 2);

    rgrDirect = new TAtLeast<TRadioGroup>({179, 72}, "rgrDirect", "Direction",
                                          QStringList{"Forward", "Backward"}, 1, this);
    rgrDirect->SetItemIndex(0);

    btnStart = Named(new TAtLeast<QPushButton>({70, 25}, "Start", this), "btnStart");
    btnStop = Named(new TAtLeast<QPushButton>({70, 25}, "Stop", this), "btnStop");
    btnLoad = Named(new TAtLeast<QPushButton>({80, 25}, "Write", this), "btnLoad");
    btnPusk = Named(new TAtLeast<QPushButton>({129, 25}, "Write and Start", this), "btnPusk");

    StTStepsNum->setBuddy(EditStepsNum);
    StTSpeed->setBuddy(EditSpeed);
    StTBeginSpeed->setBuddy(EditBeginSpeed);

    GrBoxTracking = new TAtLeast<TGrBoxTracking>({361, 110}, this);

    auto row = [](std::initializer_list<QWidget*> widgets, std::initializer_list<int> stretch) {
        auto* box = new QHBoxLayout;
        box->setSpacing(4);
        auto factor = stretch.begin();
        for (QWidget* w : widgets)
            box->addWidget(w, *factor++);
        return box;
    };
    auto* panel = new QVBoxLayout(this);
    panel->setContentsMargins(0, 0, 0, 1);
    panel->setSpacing(0);
    panel->addLayout(row({grbSteps, grbSpeed}, {178, 179}));
    panel->addSpacing(2);
    panel->addLayout(row({grbAccel, rgrDirect}, {178, 179}));
    panel->addSpacing(4);
    panel->addLayout(row({btnStart, btnStop, btnLoad, btnPusk}, {70, 70, 80, 129}));
    panel->addSpacing(3);
    panel->addWidget(GrBoxTracking);
    panel->addStretch();
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
