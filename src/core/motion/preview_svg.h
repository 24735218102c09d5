#pragma once
// The preview's plot as an SVG picture, for scripts and reports: axes, one polyline per
// coordinate, the pauses and waits marked, each coordinate's end position and duration.

#include <string>

#include "localisation/lang.h"
#include "motion/motion_model.h"

namespace zav {

struct TPreviewSvgOptions {
    int Width = 800;
    int Height = 420;
    // Positions are shown divided by Scale, in Units.
    double Scale = 1;
    std::string Units = "steps";
    // The texts, in the reader's language.
    std::string TimeAxis = "Time, s";
    std::string Coordinate = "Coordinate ";
    std::string List = "List";
    std::string Seconds = " s";
    std::string AtLeast = "at least ";
    std::string Cut = "Cut at line ";
    std::string Nothing = "The list records no coordinate.";
};

// The options with the texts of the operator's language (positions in steps).
TPreviewSvgOptions PreviewTexts(const TLang& lang);

// "Coordinate 1: 1000 steps, 5.0 s": a coordinate's end position and duration, and
// "List: 5.0 s", as the window, the SVG and zavctl check write them.
std::string CoordinateSummary(const TCoordinateMotion& motion, const TPreviewSvgOptions& options);
std::string ListSummary(const TMotionPreview& preview, const TPreviewSvgOptions& options);

std::string PreviewSvg(const TMotionPreview& preview, const TPreviewSvgOptions& options = {});

// The colour of a coordinate's curve (1..3), as "#rrggbb": the window and the SVG agree.
const char* CoordinateColour(int coordinate);

} // namespace zav
