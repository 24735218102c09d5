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
    // The indicator square as built; a larger one is a matter of its minimum size.
    QSize sizeHint() const override { return {10, 10}; }

signals:
    void ColorChanged(QColor color);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QColor color_;
};

} // namespace zav
