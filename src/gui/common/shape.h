#pragma once
// A filled square with a thin border, the coordinate state indicator.

#include <QColor>
#include <QWidget>

namespace zav {

class TShape : public QWidget {
    Q_OBJECT
public:
    TShape(const QString& objectName, QColor color, QWidget* parent);
    QColor Color() const { return color_; }
    void SetColor(QColor color);

signals:
    void ColorChanged(QColor color);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QColor color_;
};

} // namespace zav
