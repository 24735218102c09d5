#pragma once
// Converting the step values of a command list when the scale changes, so that each
// motion command keeps its meaning in user units: steps x new scale / old scale.

#include <cstddef>
#include <string>
#include <vector>

namespace zav {

class TCommandList;
class TCommonDatas;

class TScaleConversion {
public:
    // Converts the MV, SD, SS and AL lines of list by newScale / oldScale, rounded by the
    // shared rounding mode and not clipped; other lines stay as they are. Returns the
    // indexes of motion lines whose value is no whole number (or too large to count),
    // which are left as they are while the rest are converted.
    static std::vector<std::size_t> Convert(TCommandList& list, double newScale, double oldScale,
                                            TCommonDatas& datas);
    // The scale typed by the operator, with "." or "," as decimal separator. False for
    // text that is not a number and for a scale the catalogue cannot use: zero,
    // negative, not finite, or so small or large that a step range collapses.
    static bool ParseScale(const std::string& text, double& scale);
};

} // namespace zav
