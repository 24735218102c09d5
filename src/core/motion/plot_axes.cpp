#include "motion/plot_axes.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace zav {

std::vector<double> TAxisTicks::Values() const {
    std::vector<double> values;
    const int n = static_cast<int>(std::lround((Last - First) / Step));
    for (int i = 0; i <= n; ++i)
        values.push_back(First + Step * i);
    return values;
}

TAxisTicks NiceTicks(double low, double high, int count) {
    if (!std::isfinite(low) || !std::isfinite(high))
        low = high = 0;
    if (high < low)
        std::swap(low, high);
    if (high - low < 1e-9) {
        const double pad = std::max(1.0, std::fabs(low) * 0.1);
        low -= pad;
        high += pad;
    }
    const double raw = (high - low) / std::max(1, count);
    const double power = std::pow(10.0, std::floor(std::log10(raw)));
    double step = power;
    for (const double f : {1.0, 2.0, 5.0, 10.0})
        if (f * power >= raw) {
            step = f * power;
            break;
        }
    TAxisTicks ticks;
    ticks.Step = step;
    ticks.First = std::floor(low / step) * step;
    ticks.Last = std::ceil(high / step) * step;
    return ticks;
}

std::vector<std::size_t> VisiblePoints(const std::vector<TMotionPoint>& points, double duration,
                                       int pixels) {
    std::vector<std::size_t> kept;
    if (points.empty())
        return kept;
    const double perPixel = duration > 0 && pixels > 0 ? pixels / duration : 0;
    auto column = [perPixel](const TMotionPoint& p) {
        return static_cast<long long>(std::floor(p.Time * perPixel));
    };
    std::size_t i = 0;
    while (i < points.size()) {
        const long long c = column(points[i]);
        std::size_t j = i, low = i, high = i;
        while (j + 1 < points.size() && column(points[j + 1]) == c) {
            ++j;
            if (points[j].Position < points[low].Position)
                low = j;
            if (points[j].Position > points[high].Position)
                high = j;
        }
        // In time order, each index once.
        std::size_t picks[] = {i, std::min(low, high), std::max(low, high), j};
        for (const std::size_t k : picks)
            if (kept.empty() || kept.back() < k)
                kept.push_back(k);
        i = j + 1;
    }
    return kept;
}

std::string FormatSeconds(double seconds) {
    char text[64];
    if (seconds < 60) {
        std::snprintf(text, sizeof text, "%.1f", seconds);
        return text;
    }
    const long long whole = std::llround(seconds);
    const long long h = whole / 3600, m = whole / 60 % 60, s = whole % 60;
    if (h > 0)
        std::snprintf(text, sizeof text, "%.1f (%lld:%02lld:%02lld)", seconds, h, m, s);
    else
        std::snprintf(text, sizeof text, "%.1f (%lld:%02lld)", seconds, m, s);
    return text;
}

std::string FormatPosition(double steps, double scale) {
    char text[64];
    if (scale == 0)
        scale = 1;
    const double value = steps / scale;
    if (std::fabs(value - std::round(value)) < 1e-9)
        std::snprintf(text, sizeof text, "%.0f", value);
    else
        std::snprintf(text, sizeof text, "%.6g", value);
    return text;
}

} // namespace zav
