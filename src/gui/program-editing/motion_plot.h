#pragma once
// The preview's plot: each recorded coordinate's position against estimated time, its
// pauses and waits marked. A click on a curve or a mark, or Left and Right on the
// keyboard, choose the list line that made that part of it.

#include <QWidget>
#include <cstddef>
#include <functional>
#include <optional>

#include "motion/motion_model.h"
#include "motion/plot_axes.h"

namespace zav {

class TMotionPlot : public QWidget {
    Q_OBJECT
public:
    explicit TMotionPlot(QWidget* parent = nullptr);

    // Positions are shown divided by scale, in units.
    void SetPreview(TMotionPreview preview, double scale, const QString& units,
                    const QString& timeAxis);
    const TMotionPreview& Preview() const { return preview_; }

    // The list line drawn nearest to pos, within a few pixels.
    std::optional<std::size_t> LineAt(QPointF pos) const;
    // Where point index of the coordinate's curve is drawn.
    QPointF PointAt(int coordinate, std::size_t index) const;

    std::function<void(std::size_t line)> OnLineChosen;

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    QSize sizeHint() const override { return {640, 320}; }
    QSize minimumSizeHint() const override { return {240, 160}; }

private:
    QRectF Area() const;
    double X(double time) const;
    double Y(double steps) const;
    // Steps the keyboard's cursor to the next point of another line (by = ±1) or to
    // another coordinate, and chooses its line.
    void StepCursor(int by);
    void NextCoordinate(int by);
    void Choose(std::size_t line);

    TMotionPreview preview_;
    double scale_ = 1;
    QString units_, timeAxis_;
    TAxisTicks xTicks_, yTicks_;
    // The keyboard's cursor: a coordinate's place in the preview and a point of it.
    std::size_t cursorCoordinate_ = 0, cursorPoint_ = 0;
    bool cursorShown_ = false;
};

} // namespace zav
