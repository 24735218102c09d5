#include "motion/preview_svg.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <sstream>

#include "motion/plot_axes.h"

namespace zav {

namespace {

std::string Escaped(const std::string& text) {
    std::string out;
    for (const char c : text) {
        switch (c) {
        case '&':
            out += "&amp;";
            break;
        case '<':
            out += "&lt;";
            break;
        case '>':
            out += "&gt;";
            break;
        case '"':
            out += "&quot;";
            break;
        default:
            out += c;
        }
    }
    return out;
}

std::string Number(double v) {
    char text[32];
    std::snprintf(text, sizeof text, "%.1f", v);
    return text;
}

} // namespace

const char* CoordinateColour(int coordinate) {
    switch (coordinate) {
    case 1:
        return "#1f5fbf";
    case 2:
        return "#c0392b";
    default:
        return "#2e8b3a";
    }
}

TPreviewSvgOptions PreviewTexts(const TLang& lang) {
    TPreviewSvgOptions o;
    o.Units = lang.Message(msgPreviewSteps);
    o.TimeAxis = lang.Message(msgPreviewTimeAxis);
    o.Coordinate = lang.Message(msgPreviewCoordinate);
    o.List = lang.Message(msgPreviewList);
    o.Seconds = lang.Message(msgPreviewSeconds);
    o.AtLeast = lang.Message(msgPreviewAtLeast);
    o.Cut = lang.Message(msgPreviewCut);
    o.Nothing = lang.Message(msgPreviewNothing);
    return o;
}

namespace {
std::string DurationText(double seconds, bool lowerBound, const TPreviewSvgOptions& o) {
    return (lowerBound ? o.AtLeast : std::string()) + FormatSeconds(seconds) + o.Seconds;
}
} // namespace

std::string CoordinateSummary(const TCoordinateMotion& c, const TPreviewSvgOptions& o) {
    return o.Coordinate + std::to_string(c.Coordinate) + ": " +
           FormatPosition(c.EndPosition, o.Scale == 0 ? 1 : o.Scale) + " " + o.Units + ", " +
           DurationText(c.Duration, c.LowerBound, o);
}

std::string ListSummary(const TMotionPreview& preview, const TPreviewSvgOptions& o) {
    return o.List + ": " + DurationText(preview.Duration, preview.LowerBound, o);
}

std::string PreviewSvg(const TMotionPreview& preview, const TPreviewSvgOptions& o) {
    const double scale = o.Scale == 0 ? 1 : o.Scale;
    // The plot area inside the picture: room on the left for the positions, below for
    // the times and the legend.
    const int legendLines =
        static_cast<int>(preview.Coordinates.size()) + 1 + (preview.Cut ? 1 : 0);
    const double left = 70, top = 20, right = o.Width - 20.0;
    const double bottom = o.Height - 45.0 - 16.0 * legendLines;
    const double plotW = std::max(10.0, right - left), plotH = std::max(10.0, bottom - top);

    double low = 0, high = 0;
    for (const TCoordinateMotion& c : preview.Coordinates)
        for (const TMotionPoint& p : c.Points) {
            low = std::min(low, p.Position / scale);
            high = std::max(high, p.Position / scale);
        }
    const TAxisTicks yTicks = NiceTicks(low, high, 6);
    const TAxisTicks xTicks = NiceTicks(0, std::max(preview.Duration, 1e-3), 8);
    const double x0 = xTicks.First, x1 = xTicks.Last, y0 = yTicks.First, y1 = yTicks.Last;
    auto X = [&](double t) { return left + (t - x0) / (x1 - x0) * plotW; };
    auto Y = [&](double steps) { return bottom - (steps / scale - y0) / (y1 - y0) * plotH; };

    std::ostringstream s;
    s << "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
      << "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"" << o.Width << "\" height=\""
      << o.Height << "\" viewBox=\"0 0 " << o.Width << ' ' << o.Height
      << "\" font-family=\"sans-serif\" font-size=\"11\">\n"
      << "<rect width=\"100%\" height=\"100%\" fill=\"white\"/>\n";
    // Grid and axis labels.
    s << "<g stroke=\"#dddddd\" stroke-width=\"1\">\n";
    for (const double v : xTicks.Values())
        s << "<line x1=\"" << Number(X(v)) << "\" y1=\"" << top << "\" x2=\"" << Number(X(v))
          << "\" y2=\"" << bottom << "\"/>\n";
    for (const double v : yTicks.Values())
        s << "<line x1=\"" << left << "\" y1=\"" << Number(Y(v * scale)) << "\" x2=\"" << right
          << "\" y2=\"" << Number(Y(v * scale)) << "\"/>\n";
    s << "</g>\n<rect x=\"" << left << "\" y=\"" << top << "\" width=\"" << Number(plotW)
      << "\" height=\"" << Number(plotH) << "\" fill=\"none\" stroke=\"black\"/>\n";
    s << "<g fill=\"black\">\n";
    for (const double v : xTicks.Values())
        s << "<text x=\"" << Number(X(v)) << "\" y=\"" << bottom + 14
          << "\" text-anchor=\"middle\">" << FormatPosition(v, 1) << "</text>\n";
    for (const double v : yTicks.Values())
        s << "<text x=\"" << left - 4 << "\" y=\"" << Number(Y(v * scale) + 4)
          << "\" text-anchor=\"end\">" << FormatPosition(v, 1) << "</text>\n";
    s << "<text x=\"" << Number(left + plotW / 2) << "\" y=\"" << bottom + 30
      << "\" text-anchor=\"middle\">" << Escaped(o.TimeAxis) << "</text>\n"
      << "<text transform=\"translate(14 " << Number(top + plotH / 2)
      << ") rotate(-90)\" text-anchor=\"middle\">" << Escaped(o.Units) << "</text>\n";
    s << "</g>\n";

    // Curves and marks.
    for (const TCoordinateMotion& c : preview.Coordinates) {
        const char* colour = CoordinateColour(c.Coordinate);
        s << "<polyline fill=\"none\" stroke=\"" << colour << "\" stroke-width=\"1.5\" points=\"";
        for (const std::size_t i : VisiblePoints(c.Points, x1 - x0, static_cast<int>(plotW)))
            s << Number(X(c.Points[i].Time)) << ',' << Number(Y(c.Points[i].Position)) << ' ';
        s << "\"/>\n";
        for (const std::size_t i : VisibleMarks(c.Marks, X)) {
            const TMotionMark& m = c.Marks[i];
            const double x = X(m.Time), y = Y(m.Position);
            if (m.Kind == TMarkKind::Pause)
                s << "<rect x=\"" << Number(x) << "\" y=\"" << Number(y - 4) << "\" width=\""
                  << Number(std::max(1.0, X(m.Time + m.Length) - x)) << "\" height=\"8\" fill=\""
                  << colour << "\" fill-opacity=\"0.25\"/>\n";
            else
                s << "<path d=\"M" << Number(x) << ' ' << Number(y - 6)
                  << " l5 6 l-5 6 l-5 -6 z\" fill=\"white\" stroke=\"" << colour << "\"/>\n";
        }
    }

    // Legend: each coordinate's end position and duration, then the list's.
    double y = bottom + 48;
    for (const TCoordinateMotion& c : preview.Coordinates) {
        s << "<text x=\"" << left << "\" y=\"" << Number(y) << "\" fill=\""
          << CoordinateColour(c.Coordinate) << "\">" << Escaped(CoordinateSummary(c, o))
          << "</text>\n";
        y += 16;
    }
    s << "<text x=\"" << left << "\" y=\"" << Number(y) << "\">" << Escaped(ListSummary(preview, o))
      << "</text>\n";
    if (preview.Cut)
        s << "<text x=\"" << left << "\" y=\"" << Number(y + 16) << "\" fill=\"#a04000\">"
          << Escaped(o.Cut + std::to_string(preview.CutAtLine + 1)) << "</text>\n";
    s << "</svg>\n";
    return s.str();
}

} // namespace zav
