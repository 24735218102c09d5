#pragma once
// The state panel at the top left: per coordinate a label, the state indicator and the
// selection check box, then the button of the coordinate state dialog.

#include <QCheckBox>
#include <QFrame>
#include <QLabel>
#include <QToolButton>

#include "common/shape.h"

namespace zav {

class TPanelChanelState : public QFrame {
    Q_OBJECT
public:
    explicit TPanelChanelState(QWidget* parent);

    QLabel* txtX;
    QLabel* txtY;
    QLabel* txtZ;
    TShape* shpX;
    TShape* shpY;
    TShape* shpZ;
    QCheckBox* ChboxCoord1;
    QCheckBox* chboxCoord2;
    QCheckBox* chboxCoord3;
    QToolButton* btnSetCoordStates;

    TShape* Indicator(int n) const;
    QCheckBox* CoordCheckBox(int n) const;
};

} // namespace zav
