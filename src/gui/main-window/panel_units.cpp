#include "main-window/panel_units.h"

namespace zav {

TPanelUnits::TPanelUnits(QWidget* parent) : QFrame(parent) {
    setObjectName("PanelUnits");
    setFrameShape(QFrame::Panel);
    setFrameShadow(QFrame::Raised);

    rgrUnits = new TRadioGroup("rgrUnits", "Units:", {"steps", "other units"}, 1, this);
    rgrUnits->setGeometry(4, 2, 112, 70);
    rgrUnits->SetItemIndex(0);

    GrBoxStepsToUnits = new QGroupBox("Scale:", this);
    GrBoxStepsToUnits->setObjectName("GrBoxStepsToUnits");
    GrBoxStepsToUnits->setGeometry(120, 2, 244, 70);
    Label3 = new QLabel("One unit =", GrBoxStepsToUnits);
    Label3->setObjectName("Label3");
    Label3->setGeometry(6, 20, 78, 22);
    EditStepsToUnits = new QLineEdit("1", GrBoxStepsToUnits);
    EditStepsToUnits->setObjectName("EditStepsToUnits");
    EditStepsToUnits->setAccessibleName("Steps in one unit");
    EditStepsToUnits->setGeometry(86, 20, 62, 22);
    lblSteps = new QLabel("steps", GrBoxStepsToUnits);
    lblSteps->setObjectName("lblSteps");
    lblSteps->setGeometry(152, 20, 40, 22);
    btnScaleChange = new QPushButton("Change", GrBoxStepsToUnits);
    btnScaleChange->setObjectName("btnScaleChange");
    btnScaleChange->setAccessibleName("Change scale");
    btnScaleChange->setGeometry(178, 44, 62, 23);
    lblScale = new QLabel("1", GrBoxStepsToUnits);
    lblScale->setObjectName("lblScale");
    lblScale->setGeometry(196, 20, 44, 22);
    lblTrunc = new QLabel("Decreasing rounding", GrBoxStepsToUnits);
    lblTrunc->setObjectName("lblTrunc");
    lblTrunc->setWordWrap(true);
    lblTrunc->setGeometry(6, 44, 168, 22);

    // The scale controls are in use only with "other units".
    for (QWidget* w : {static_cast<QWidget*>(GrBoxStepsToUnits), static_cast<QWidget*>(Label3),
                       static_cast<QWidget*>(EditStepsToUnits), static_cast<QWidget*>(lblScale),
                       static_cast<QWidget*>(lblSteps), static_cast<QWidget*>(lblTrunc),
                       static_cast<QWidget*>(btnScaleChange)})
        w->setEnabled(false);
}

} // namespace zav
