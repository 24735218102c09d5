#pragma once
// What the preview's plot and its SVG share: the steps of an axis, the points worth
// drawing at a given width, and how times and positions are written.

#include <cstddef>
#include <string>
#include <vector>

#include "motion/motion_model.h"

namespace zav {

// Round values (1, 2 or 5 times a power of ten) from at or below low to at or above high,
// at most about count of them; low == high gives a range around the value.
struct TAxisTicks {
    double First = 0, Last = 1, Step = 1;
    std::vector<double> Values() const;
};
TAxisTicks NiceTicks(double low, double high, int count);

// The indexes of the points that show at pixels across time 0..duration: for each
// pixel column its first, lowest, highest and last point, so the drawn curve looks the
// same as the whole while a long list stays a few thousand points.
std::vector<std::size_t> VisiblePoints(const std::vector<TMotionPoint>& points, double duration,
                                       int pixels);

// The indexes of the marks worth drawing when a mark at time t is drawn at x(t): one
// closer than a pixel to the last of its kind drawn would only hide behind it.
template <class ToX>
std::vector<std::size_t> VisibleMarks(const std::vector<TMotionMark>& marks, ToX x) {
    std::vector<std::size_t> shown;
    double lastX[4] = {-1e9, -1e9, -1e9, -1e9};
    for (std::size_t i = 0; i < marks.size(); ++i) {
        const double at = x(marks[i].Time);
        double& last = lastX[static_cast<int>(marks[i].Kind)];
        if (at - last < 1)
            continue;
        last = at;
        shown.push_back(i);
    }
    return shown;
}

// "5.0", "61.3 (1:01)", as times are written beside the plot; the unit is the caller's.
std::string FormatSeconds(double seconds);
// A position in steps, or divided by scale in the user's units: "1000", "2.5".
std::string FormatPosition(double steps, double scale);

} // namespace zav
