#include "main-window/panel_chanel_state.h"

#include <QPainter>
#include <QPixmap>

namespace zav {

namespace {
// Three squares in the state colours, the picture of the state dialog button.
QIcon StatesIcon() {
    QPixmap pixmap(20, 20);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setPen(Qt::black);
    const QColor colors[] = {QColor(0, 128, 0), QColor(255, 0, 0), QColor(255, 255, 0)};
    for (int i = 0; i < 3; ++i) {
        painter.setBrush(colors[i]);
        painter.drawRect(1 + i * 6, 1 + i * 6, 6, 6);
    }
    return QIcon(pixmap);
}
} // namespace

TPanelChanelState::TPanelChanelState(QWidget* parent) : QFrame(parent) {
    setObjectName("PanelChanelState");
    setFrameShape(QFrame::Panel);
    setFrameShadow(QFrame::Raised);
    const QString labels[] = {"1", "2", "3"};
    const char* labelNames[] = {"txtX", "txtY", "txtZ"};
    const char* shapeNames[] = {"shpX", "shpY", "shpZ"};
    const char* boxNames[] = {"ChboxCoord1", "chboxCoord2", "chboxCoord3"};
    QLabel** labelFields[] = {&txtX, &txtY, &txtZ};
    TShape** shapeFields[] = {&shpX, &shpY, &shpZ};
    QCheckBox** boxFields[] = {&ChboxCoord1, &chboxCoord2, &chboxCoord3};
    for (int i = 0; i < 3; ++i) {
        const int x = 4 + i * 60;
        auto* label = new QLabel(labels[i], this);
        label->setObjectName(labelNames[i]);
        label->setGeometry(x, 6, 10, 17);
        *labelFields[i] = label;
        *shapeFields[i] = new TShape(shapeNames[i], QColor(0, 128, 0), this);
        (*shapeFields[i])->setGeometry(x + 14, 10, 10, 10);
        auto* box = new QCheckBox(this);
        box->setObjectName(boxNames[i]);
        box->setGeometry(x + 30, 5, 22, 20);
        *boxFields[i] = box;
        if (i < 2) {
            auto* line = new QFrame(this);
            line->setFrameShape(QFrame::VLine);
            line->setFrameShadow(QFrame::Sunken);
            line->setGeometry(x + 54, 3, 2, 23);
        }
    }
    ChboxCoord1->setChecked(true);
    btnSetCoordStates = new QToolButton(this);
    btnSetCoordStates->setObjectName("btnSetCoordStates");
    btnSetCoordStates->setIcon(StatesIcon());
    btnSetCoordStates->setGeometry(188, 2, 25, 25);
}

TShape* TPanelChanelState::Indicator(int n) const {
    return n == 1 ? shpX : n == 2 ? shpY : n == 3 ? shpZ : nullptr;
}

QCheckBox* TPanelChanelState::CoordCheckBox(int n) const {
    return n == 1 ? ChboxCoord1 : n == 2 ? chboxCoord2 : n == 3 ? chboxCoord3 : nullptr;
}

} // namespace zav
