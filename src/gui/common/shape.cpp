#include "common/shape.h"

#include <QPainter>

namespace zav {

TShape::TShape(const QString& objectName, QColor color, QWidget* parent)
    : QWidget(parent), color_(color) {
    setObjectName(objectName);
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
}

void TShape::SetColor(QColor color) {
    if (color == color_)
        return;
    color_ = color;
    update();
    emit ColorChanged(color);
}

void TShape::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setPen(Qt::black);
    painter.setBrush(color_);
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
}

} // namespace zav
