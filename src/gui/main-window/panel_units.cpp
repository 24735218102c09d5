#include "main-window/panel_units.h"

#include <QGridLayout>
#include <QHBoxLayout>

#include "common/at_least.h"

namespace zav {

TPanelUnits::TPanelUnits(QWidget* parent) : QFrame(parent) {
    setObjectName("PanelUnits");
    setFrameShape(QFrame::Panel);
    setFrameShadow(QFrame::Raised);

    // Built: the units group 112 wide and the scale group 244 wide, 70 high; longer
    // captions or a larger font widen them, the strip's free room stays on the right.
    rgrUnits = new TAtLeast<TRadioGroup>({112, 70}, "rgrUnits",
                                         "Units:", QStringList{"steps", "other units"}, 1, this);
    rgrUnits->SetItemIndex(0);

    GrBoxStepsToUnits = new TAtLeast<QGroupBox>({244, 70}, "Scale:", this);
    GrBoxStepsToUnits->setObjectName("GrBoxStepsToUnits");
    Label3 = new QLabel("One unit =", GrBoxStepsToUnits);
    Label3->setObjectName("Label3");
    EditStepsToUnits = ValueField("1", 62, GrBoxStepsToUnits);
    EditStepsToUnits->setObjectName("EditStepsToUnits");
    lblSteps = new QLabel("steps", GrBoxStepsToUnits);
    lblSteps->setObjectName("lblSteps");
    btnScaleChange = new TAtLeast<QPushButton>({62, 23}, "Change", GrBoxStepsToUnits);
    btnScaleChange->setObjectName("btnScaleChange");
    lblScale = new QLabel("1", GrBoxStepsToUnits);
    lblScale->setObjectName("lblScale");
    lblTrunc = new QLabel("Decreasing rounding", GrBoxStepsToUnits);
    lblTrunc->setObjectName("lblTrunc");

    auto* scale = new QGridLayout(GrBoxStepsToUnits);
    scale->setContentsMargins(6, 0, 4, 1);
    scale->setHorizontalSpacing(4);
    scale->setVerticalSpacing(1);
    scale->addWidget(Label3, 0, 0);
    scale->addWidget(EditStepsToUnits, 0, 1);
    scale->addWidget(lblSteps, 0, 2);
    scale->addWidget(lblScale, 0, 3);
    scale->addWidget(lblTrunc, 1, 0, 1, 3);
    scale->addWidget(btnScaleChange, 1, 3);

    auto* strip = new QHBoxLayout(this);
    // The frame's own line takes one pixel on each side.
    strip->setContentsMargins(3, 1, 3, 3);
    strip->setSpacing(4);
    strip->addWidget(rgrUnits);
    strip->addWidget(GrBoxStepsToUnits);
    strip->addStretch();

    // The scale controls are in use only with "other units".
    for (QWidget* w : {static_cast<QWidget*>(GrBoxStepsToUnits), static_cast<QWidget*>(Label3),
                       static_cast<QWidget*>(EditStepsToUnits), static_cast<QWidget*>(lblScale),
                       static_cast<QWidget*>(lblSteps), static_cast<QWidget*>(lblTrunc),
                       static_cast<QWidget*>(btnScaleChange)})
        w->setEnabled(false);
}

} // namespace zav
