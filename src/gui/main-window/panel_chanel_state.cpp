#include "main-window/panel_chanel_state.h"

#include <QHBoxLayout>
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
    // Per coordinate its number, its indicator and its check box, a line between two.
    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(4, 1, 2, 1);
    row->setSpacing(4);
    for (int i = 0; i < 3; ++i) {
        auto* label = new QLabel(labels[i], this);
        label->setObjectName(labelNames[i]);
        *labelFields[i] = label;
        *shapeFields[i] = new TShape(shapeNames[i], QColor(0, 128, 0), this);
        auto* box = new QCheckBox(this);
        box->setObjectName(boxNames[i]);
        *boxFields[i] = box;
        row->addWidget(label);
        row->addWidget(*shapeFields[i]);
        row->addWidget(box);
        if (i < 2) {
            auto* line = new QFrame(this);
            line->setFrameShape(QFrame::VLine);
            line->setFrameShadow(QFrame::Sunken);
            row->addWidget(line);
        }
    }
    ChboxCoord1->setChecked(true);
    btnSetCoordStates = new QToolButton(this);
    btnSetCoordStates->setObjectName("btnSetCoordStates");
    btnSetCoordStates->setIcon(StatesIcon());
    row->addWidget(btnSetCoordStates);
}

TShape* TPanelChanelState::Indicator(int n) const {
    return n == 1 ? shpX : n == 2 ? shpY : n == 3 ? shpZ : nullptr;
}

QCheckBox* TPanelChanelState::CoordCheckBox(int n) const {
    return n == 1 ? ChboxCoord1 : n == 2 ? chboxCoord2 : n == 3 ? chboxCoord3 : nullptr;
}

} // namespace zav
