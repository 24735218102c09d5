#include "program-editing/motion_plot.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <algorithm>
#include <cmath>

#include "motion/preview_svg.h"

namespace zav {

namespace {
// How near a click must come to a curve or a mark, in pixels.
constexpr double Reach = 6;

double SegmentDistance(QPointF p, QPointF a, QPointF b) {
    const QPointF ab = b - a;
    const double length = QPointF::dotProduct(ab, ab);
    const double t =
        length > 0 ? std::clamp(QPointF::dotProduct(p - a, ab) / length, 0.0, 1.0) : 0.0;
    const QPointF d = p - (a + t * ab);
    return std::hypot(d.x(), d.y());
}
} // namespace

TMotionPlot::TMotionPlot(QWidget* parent) : QWidget(parent) {
    setObjectName("PlotMotion");
    setFocusPolicy(Qt::StrongFocus);
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void TMotionPlot::SetPreview(TMotionPreview preview, double scale, const QString& units,
                             const QString& timeAxis) {
    preview_ = std::move(preview);
    scale_ = scale == 0 ? 1 : scale;
    units_ = units;
    timeAxis_ = timeAxis;
    double low = 0, high = 0;
    for (const TCoordinateMotion& c : preview_.Coordinates)
        for (const TMotionPoint& p : c.Points) {
            low = std::min(low, p.Position / scale_);
            high = std::max(high, p.Position / scale_);
        }
    yTicks_ = NiceTicks(low, high, 6);
    xTicks_ = NiceTicks(0, std::max(preview_.Duration, 1e-3), 8);
    if (cursorCoordinate_ >= preview_.Coordinates.size() ||
        cursorPoint_ >= preview_.Coordinates[cursorCoordinate_].Points.size()) {
        cursorCoordinate_ = cursorPoint_ = 0;
        cursorShown_ = false;
    }
    update();
}

QRectF TMotionPlot::Area() const {
    const double h = fontMetrics().height();
    const double left = fontMetrics().horizontalAdvance("-0000000") + h + 8;
    return QRectF(left, h, std::max(10.0, width() - left - h), std::max(10.0, height() - 3.5 * h));
}

double TMotionPlot::X(double time) const {
    const QRectF a = Area();
    return a.left() + (time - xTicks_.First) / (xTicks_.Last - xTicks_.First) * a.width();
}

double TMotionPlot::Y(double steps) const {
    const QRectF a = Area();
    return a.bottom() -
           (steps / scale_ - yTicks_.First) / (yTicks_.Last - yTicks_.First) * a.height();
}

QPointF TMotionPlot::PointAt(int coordinate, std::size_t index) const {
    const TCoordinateMotion* c = preview_.Find(coordinate);
    if (!c || index >= c->Points.size())
        return {};
    return {X(c->Points[index].Time), Y(c->Points[index].Position)};
}

std::optional<std::size_t> TMotionPlot::LineAt(QPointF pos) const {
    std::optional<std::size_t> best;
    double nearest = Reach;
    const double perSecond = Area().width() / (xTicks_.Last - xTicks_.First);
    const double slack = Reach / perSecond;
    const double t = xTicks_.First + (pos.x() - Area().left()) / perSecond;
    for (const TCoordinateMotion& c : preview_.Coordinates) {
        for (const TMotionMark& m : c.Marks) {
            const double d = std::hypot(X(m.Time) - pos.x(), Y(m.Position) - pos.y());
            if (d <= nearest) {
                nearest = d;
                best = m.Line;
            }
        }
        // The segments that reach into the few pixels around the click; a segment is
        // drawn by the line of its end point.
        const auto& points = c.Points;
        auto it = std::lower_bound(points.begin(), points.end(), t - slack,
                                   [](const TMotionPoint& p, double v) { return p.Time < v; });
        std::size_t i =
            it == points.begin() ? 0 : static_cast<std::size_t>(it - points.begin()) - 1;
        for (int looked = 0; i < points.size() && looked < 20000; ++i, ++looked) {
            const QPointF b(X(points[i].Time), Y(points[i].Position));
            const QPointF a =
                i == 0 ? b : QPointF(X(points[i - 1].Time), Y(points[i - 1].Position));
            // On a tie the earlier wins: a point where two moves meet is the first's end.
            const double d = SegmentDistance(pos, a, b);
            if (d < nearest || (!best && d <= nearest)) {
                nearest = d;
                best = points[i].Line;
            }
            if (points[i].Time > t + slack)
                break;
        }
    }
    return best;
}

void TMotionPlot::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.fillRect(rect(), Qt::white);
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF a = Area();
    const QFontMetrics fm = fontMetrics();
    p.setPen(QColor(0xdd, 0xdd, 0xdd));
    for (const double v : xTicks_.Values())
        p.drawLine(QPointF(X(v), a.top()), QPointF(X(v), a.bottom()));
    for (const double v : yTicks_.Values())
        p.drawLine(QPointF(a.left(), Y(v * scale_)), QPointF(a.right(), Y(v * scale_)));
    p.setPen(palette().color(QPalette::WindowText));
    p.setBrush(Qt::NoBrush);
    p.drawRect(a);
    for (const double v : xTicks_.Values()) {
        const QString text = QString::fromStdString(FormatPosition(v, 1));
        p.drawText(QPointF(X(v) - fm.horizontalAdvance(text) / 2.0, a.bottom() + fm.height()),
                   text);
    }
    for (const double v : yTicks_.Values()) {
        const QString text = QString::fromStdString(FormatPosition(v, 1));
        p.drawText(
            QPointF(a.left() - 4 - fm.horizontalAdvance(text), Y(v * scale_) + fm.ascent() / 2.0),
            text);
    }
    p.drawText(QPointF(a.center().x() - fm.horizontalAdvance(timeAxis_) / 2.0,
                       a.bottom() + 2.2 * fm.height()),
               timeAxis_);
    p.save();
    p.translate(fm.height(), a.center().y() + fm.horizontalAdvance(units_) / 2.0);
    p.rotate(-90);
    p.drawText(QPointF(0, 0), units_);
    p.restore();

    p.setClipRect(a.adjusted(-Reach, -Reach, Reach, Reach));
    for (const TCoordinateMotion& c : preview_.Coordinates) {
        const QColor colour(CoordinateColour(c.Coordinate));
        QPolygonF line;
        for (const std::size_t i :
             VisiblePoints(c.Points, xTicks_.Last - xTicks_.First, static_cast<int>(a.width())))
            line << QPointF(X(c.Points[i].Time), Y(c.Points[i].Position));
        p.setPen(QPen(colour, 1.5));
        p.setBrush(Qt::NoBrush);
        p.drawPolyline(line);
        for (const std::size_t i : VisibleMarks(c.Marks, [this](double t) { return X(t); })) {
            const TMotionMark& m = c.Marks[i];
            const double x = X(m.Time), y = Y(m.Position);
            if (m.Kind == TMarkKind::Pause) {
                QColor fill = colour;
                fill.setAlphaF(0.25);
                p.fillRect(QRectF(x, y - 4, std::max(1.0, X(m.Time + m.Length) - x), 8), fill);
            } else {
                QPainterPath diamond;
                diamond.moveTo(x, y - 6);
                diamond.lineTo(x + 5, y);
                diamond.lineTo(x, y + 6);
                diamond.lineTo(x - 5, y);
                diamond.closeSubpath();
                p.setBrush(Qt::white);
                p.drawPath(diamond);
            }
        }
    }
    if (cursorShown_ && hasFocus()) {
        const TCoordinateMotion& c = preview_.Coordinates[cursorCoordinate_];
        p.setPen(QPen(palette().color(QPalette::Highlight), 2));
        p.setBrush(Qt::NoBrush);
        p.drawEllipse(PointAt(c.Coordinate, cursorPoint_), 5, 5);
    }
}

void TMotionPlot::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton)
        return QWidget::mousePressEvent(event);
    if (const auto line = LineAt(event->position()))
        Choose(*line);
}

void TMotionPlot::keyPressEvent(QKeyEvent* event) {
    switch (event->key()) {
    case Qt::Key_Right:
        StepCursor(1);
        break;
    case Qt::Key_Left:
        StepCursor(-1);
        break;
    case Qt::Key_Down:
        NextCoordinate(1);
        break;
    case Qt::Key_Up:
        NextCoordinate(-1);
        break;
    default:
        QWidget::keyPressEvent(event);
        return;
    }
}

void TMotionPlot::StepCursor(int by) {
    if (preview_.Coordinates.empty())
        return;
    const auto& points = preview_.Coordinates[cursorCoordinate_].Points;
    if (!cursorShown_) {
        cursorShown_ = true;
    } else {
        // Past the rest of the points of the same line (a ramp is many points).
        const std::size_t line = points[cursorPoint_].Line;
        std::size_t i = cursorPoint_;
        while (by > 0 ? i + 1 < points.size() : i > 0) {
            i = by > 0 ? i + 1 : i - 1;
            if (points[i].Line != line)
                break;
        }
        cursorPoint_ = i;
    }
    Choose(points[cursorPoint_].Line);
    update();
}

void TMotionPlot::NextCoordinate(int by) {
    const std::size_t n = preview_.Coordinates.size();
    if (n == 0)
        return;
    cursorCoordinate_ = (cursorCoordinate_ + n + (by > 0 ? 1 : n - 1)) % n;
    cursorPoint_ = 0;
    cursorShown_ = true;
    Choose(preview_.Coordinates[cursorCoordinate_].Points[0].Line);
    update();
}

void TMotionPlot::Choose(std::size_t line) {
    if (OnLineChosen)
        OnLineChosen(line);
}

} // namespace zav
