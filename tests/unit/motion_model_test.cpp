#include "motion/motion_model.h"

#include <gtest/gtest.h>

#include <cmath>
#include <sstream>

#include "motion/preview_svg.h"

namespace zav {
namespace {

std::vector<std::string> Split(const char* list) {
    std::vector<std::string> lines;
    std::istringstream in(list);
    for (std::string line; std::getline(in, line, ',');)
        lines.push_back(line.substr(line.find_first_not_of(' ')));
    return lines;
}

// Each expected time is worked out by hand from n / SD, the ramps (SD - SS) / a each
// covering (SD² - SS²) / 2a, and the pauses; AL1 is 100 steps/s² unless a row says.
TEST(MotionModel, DurationsAndEndPositionsFollowTheArithmeticOfTheMoves) {
    const struct {
        const char* name;
        const char* list;
        int coordinate;
        double seconds, end;
        bool lowerBound = false;
        double alUnit = 100;
        double listSeconds = -1; // when the list lasts longer than this coordinate
    } rows[] = {
        {"no acceleration", "LD1, BG, EN, AL0, SD200, DL, MV1000, ED", 1, 5.0, 1000},
        // 10 s up to 1000 steps/s over 5000 steps, 10000 steps at 1000/s, 10 s down.
        {"trapezoid", "LD1, SS0, SD1000, AL1, MV20000, ED", 1, 30.0, 20000},
        // 2500 steps do not reach 1000/s: peak sqrt(100 * 2500) = 500, 5 s up, 5 s down.
        {"triangle", "LD2, SS0, SD1000, AL+1, MV2500, ED", 2, 10.0, 2500},
        // From 100 to 300 at 200/s²: 1 s and 200 steps each ramp, 600 steps in 2 s.
        {"trapezoid from the start speed", "LD1, SS100, SD300, AL2, MV1000, ED", 1, 4.0, 1000},
        {"negative acceleration counts by its size", "LD1, SS100, SD300, AL-2, MV1000, ED", 1, 4.0,
         1000},
        // At 200 steps/s² the triangle peaks at sqrt(200 * 2500) after 3.5355 s.
        {"acceleration unit", "LD1, SS0, SD1000, AL1, MV2500, ED", 1, 2 * std::sqrt(12.5), 2500,
         false, 200},
        {"pause", "LD3, SD100, MV100, SP1500, MV100, ED", 3, 3.5, 200},
        {"directions", "LD1, SD100, DR, MV100, RS, MV300, DL, MV50, ED", 1, 4.5, 250},
        {"JP repeats from its label", "LD1, SD100, MV100, LL, MV100, JP2, ED", 1, 4.0, 400},
        {"JP without a label repeats the whole", "LD1, SD100, MV100, JP1, ED", 1, 2.0, 200},
        {"SB repeats the buffer", "LD1, SD100, LB, MV50, SB3, ED", 1, 2.0, 200},
        {"SB without LB repeats nothing", "LD1, SD100, MV50, SB3, ED", 1, 0.5, 50},
        // Two passes of the inner loop in each of three passes of the buffer.
        {"nested loops", "LD1, SD100, LB, LL, MV10, JP1, SB2, ED", 1, 0.6, 60},
        {"waits count as no time", "LD1, SD100, MV100, WL1, MV100, WH2, ED", 1, 2.0, 200, true},
        {"HM goes to the zero switch", "LD1, SD100, MV100, HM, MV50, ED", 1, 1.5, 50, true},
        {"endless move ends the estimate", "LD1, SD100, MV100, MV, MV500, ED", 1, 1.0, 100, true},
        {"the last recording of a coordinate counts",
         "LD1, SD100, MV100, ED, LD1, SD100, MV300, ED", 1, 3.0, 300},
        {"the list lasts as long as its longest coordinate",
         "LD1, SD100, MV100, ED, LD2, SD100, MV500, ED", 1, 1.0, 100, false, 100, 5.0},
        {"an unended recording runs to the list's end", "LD1, SD100, MV100", 1, 1.0, 100},
        {"commands outside a recording are not part of it", "SD1, MV100, LD1, MV200, ED", 1, 1.0,
         200},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        TMotionSettings settings;
        settings.AccelerationUnit = row.alUnit;
        const TMotionPreview preview = BuildMotionPreview(Split(row.list), settings);
        const TCoordinateMotion* motion = preview.Find(row.coordinate);
        ASSERT_NE(motion, nullptr);
        EXPECT_NEAR(motion->Duration, row.seconds, 1e-9);
        EXPECT_NEAR(motion->EndPosition, row.end, 1e-9);
        EXPECT_EQ(motion->LowerBound, row.lowerBound);
        EXPECT_NEAR(motion->Points.back().Time, row.seconds, 1e-9);
        EXPECT_NEAR(preview.Duration, row.listSeconds < 0 ? row.seconds : row.listSeconds, 1e-9);
        EXPECT_FALSE(preview.Cut);
    }
}

TEST(MotionModel, PointsKnowTheirLinesAndReadBackBodiesHaveNoRecordingMarks) {
    const std::vector<std::string> list = Split("LD1, BG, EN, AL0, SD200, DL, MV1000, SP500, ED");
    const TMotionPreview preview = BuildMotionPreview(list);
    const TCoordinateMotion& c = preview.Coordinates.at(0);
    ASSERT_EQ(c.Points.size(), 3u);
    EXPECT_EQ(c.Points[0].Line, 0u); // the LD
    EXPECT_EQ(c.Points[1].Line, 6u); // the move
    EXPECT_EQ(c.Points[2].Line, 7u); // the end of the pause
    ASSERT_EQ(c.Marks.size(), 1u);
    EXPECT_EQ(c.Marks[0].Line, 7u);
    EXPECT_NEAR(c.Marks[0].Length, 0.5, 1e-12);

    // A read-back gives AL-2 as 32770.
    const TMotionPreview body = BuildBodyPreview(Split("SS100, SD300, AL32770, MV1000"), 2);
    ASSERT_NE(body.Find(2), nullptr);
    EXPECT_NEAR(body.Find(2)->Duration, 4.0, 1e-9);
    EXPECT_EQ(body.Find(2)->Points.back().Line, 3u);
}

TEST(MotionModel, LongLoopsAreCutAtTheBudgetAndSayWhere) {
    // 256 passes of the inner loop in each of 251 passes of the buffer: 64,256 moves.
    const std::vector<std::string> list =
        Split("LD1, SD1000, LB, LL, MV1, JP255, SB250, ED, LD2, SD100, MV100, ED");
    TMotionSettings settings;
    const TMotionPreview whole = BuildMotionPreview(list, settings);
    EXPECT_FALSE(whole.Cut);
    EXPECT_NEAR(whole.Find(1)->EndPosition, 256.0 * 251, 1e-6);
    EXPECT_NEAR(whole.Find(1)->Duration, 256.0 * 251 / 1000, 1e-6);

    settings.PointBudget = 2000;
    const TMotionPreview cut = BuildMotionPreview(list, settings);
    EXPECT_TRUE(cut.Cut);
    EXPECT_GE(cut.CutAtLine, 4u);
    EXPECT_LE(cut.CutAtLine, 5u);
    EXPECT_LE(cut.Find(1)->Points.size(), 2001u);
    EXPECT_TRUE(cut.Find(1)->Cut && cut.Find(1)->LowerBound);
    // The other coordinate has a budget of its own and is drawn whole.
    EXPECT_FALSE(cut.Find(2)->Cut);
    EXPECT_NEAR(cut.Find(2)->Duration, 1.0, 1e-9);
}

TEST(PreviewSvg, HoldsACurvePerCoordinateTheMarksAndTheFigures) {
    const TMotionPreview preview =
        BuildMotionPreview(Split("LD1, SD200, MV1000, SP500, WL1, ED, LD3, SD100, DR, MV200, ED"));
    TPreviewSvgOptions options;
    options.Scale = 200;
    options.Units = "mm <x>";
    const std::string svg = PreviewSvg(preview, options);
    auto count = [&svg](const std::string& what) {
        std::size_t n = 0;
        for (std::size_t at = svg.find(what); at != std::string::npos; at = svg.find(what, at + 1))
            ++n;
        return n;
    };
    EXPECT_EQ(count("<polyline"), 2u);
    EXPECT_EQ(count("fill-opacity"), 1u); // the pause
    EXPECT_EQ(count("<path"), 1u);        // the wait
    EXPECT_NE(svg.find("Coordinate 1: 5 mm &lt;x&gt;, at least 5.5 s"), std::string::npos);
    EXPECT_NE(svg.find("Coordinate 3: -1 mm &lt;x&gt;, 2.0 s"), std::string::npos);
    EXPECT_NE(svg.find("List: at least 5.5 s"), std::string::npos);
    EXPECT_EQ(svg.rfind("</svg>"), svg.size() - 7);
}

} // namespace
} // namespace zav
