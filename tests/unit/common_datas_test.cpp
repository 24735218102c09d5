#include <gtest/gtest.h>

#include "command-language/zav_commands.h"
#include "fakes.h"
#include "localisation/lang.h"
#include "state/common_datas.h"
#include "state/number_format.h"
#include "state/paths.h"

using namespace zav;
using namespace zav::test;

namespace {
constexpr TColor Green{0, 128, 0}, Red{255, 0, 0}, Yellow{255, 255, 0}, Black{0, 0, 0};

class CommonDatas : public testing::Test {
protected:
    CommonDatas() : datas(&view, &log) { view.datas = &datas; }
    void TearDown() override { SetDecimalSeparator('.'); }

    FakeCommonDatasView view;
    RecordingLog log;
    TCommonDatas datas;
};
} // namespace

TEST_F(CommonDatas, ConstructorDefaultsAndDisplay) {
    EXPECT_EQ(datas.Scale, 1);
    EXPECT_EQ(datas.Rounding, 0);
    EXPECT_TRUE(datas.Coord1Selected && !datas.Coord2Selected && !datas.Coord3Selected);
    EXPECT_FALSE(datas.AnyStarted || datas.Recording);
    EXPECT_TRUE(datas.AutoRecovery && datas.RecoveryStopRecording && datas.RecoveryClearBuffers);
    EXPECT_EQ(datas.StopOnCommandError, 1);
    EXPECT_EQ(datas.StopOnDataError, 1);
    EXPECT_EQ(datas.ReplyTimeout, 300);
    EXPECT_EQ(datas.Language, "en");
    EXPECT_EQ(datas.UnitsName, "Step");
    EXPECT_EQ(datas.Version, "ver.4.0.3");

    EXPECT_EQ(view.coordinatesCaption, "Coordinates:  1  ");
    EXPECT_EQ(view.boxes, (std::array<bool, 3>{true, false, false}));
    EXPECT_EQ(view.indicators, (std::array<TColor, 3>{Green, Green, Green}));
    EXPECT_EQ(view.roundingCaption, "Decreasing rounding");
    EXPECT_EQ(view.groupCaption, "Scale:  1 Step = 1 steps");
    EXPECT_EQ(view.label3Caption, "1 Step =");
    EXPECT_TRUE(log.lines.empty());
}

TEST_F(CommonDatas, SetScaleNeverZeroAndRebuildsTheCatalogue) {
    datas.SetScale(5);
    datas.SetScale(0);
    EXPECT_EQ(datas.Scale, 1);
    EXPECT_EQ(view.scaleText, "1");

    TempFolder dir; // no language files: built-in messages
    SetAppDir(dir.Path().string());
    RecordingMessageBox box;
    TLang lang(datas, &box, &log);
    FakeHooks hooks;
    TZavCommands commands(datas, lang, &box, &hooks);
    commands.BuildCatalogue();
    datas.AttachCatalogue(&commands);

    SetDecimalSeparator(',');
    datas.SetScale(2.5);
    EXPECT_EQ(view.scaleText, "2,5");
    EXPECT_EQ(view.groupCaption, "Scale:  1 Step = 2,5 steps");
    EXPECT_EQ(commands.Commands(ciMV).MinText, "0,4");
    EXPECT_EQ(commands.Commands(ciMV).MaxText, "4000000");
}

TEST_F(CommonDatas, RoundStepsByMode) {
    struct Case {
        double value, factor;
        std::int32_t decreasing, increasing, mathematic;
    } cases[] = {
        {2.5, 1, 2, 3, 3},
        {2.4, 1, 2, 3, 2},
        {3, 1, 3, 3, 3},
        {-2.7, 1, -2, -2, -2},
        {-2.5, 1, -2, -2, -2},
        {0.005, 200, 1, 1, 1},
        {0.0049, 200, 0, 1, 1},
        {1e10, 1, INT32_MAX, INT32_MAX, INT32_MAX},
        {-1e10, 1, INT32_MIN, INT32_MIN, INT32_MIN},
    };
    for (const auto& c : cases) {
        const std::int32_t expected[3] = {c.decreasing, c.increasing, c.mathematic};
        for (std::uint8_t mode = 0; mode < 3; ++mode) {
            datas.SetRounding(mode);
            EXPECT_EQ(datas.RoundSteps(c.value, c.factor), expected[mode])
                << c.value << " x " << c.factor << " mode " << int(mode);
        }
    }
    EXPECT_EQ(view.roundingCaption, "Mathematic rounding");
    datas.SetRounding(7);
    EXPECT_EQ(datas.Rounding, 7);
    EXPECT_EQ(view.roundingCaption, "Mathematic rounding") << "an invalid mode leaves the label";
    EXPECT_EQ(datas.RoundSteps(2.9, 1), 2);
    EXPECT_EQ(datas.Rounding, 0);
    EXPECT_EQ(view.roundingCaption, "Decreasing rounding");
}

TEST_F(CommonDatas, CoordStateLogButtonsAndIndicators) {
    datas.SetCoordState(2, 1);
    ASSERT_EQ(log.lines.size(), 1u);
    EXPECT_EQ(log.lines[0].text, "Coord 2: program executing");
    EXPECT_EQ(view.indicators[1], Red);

    for (int mode : {0, 1}) {
        view.controlMode = mode;
        view.programButtons = {true, true, true, true};
        datas.SetCoordState(2, 2);
        EXPECT_TRUE(datas.Recording);
        EXPECT_EQ(view.programButtons, (std::array<bool, 4>{false, false, false, false}));
        EXPECT_EQ(view.indicators[1], Yellow);
        datas.SetCoordState(2, 0);
        EXPECT_FALSE(datas.Recording);
        EXPECT_EQ(view.programButtons[0], mode == 0) << "mode " << mode;
    }

    // Recording follows the last call, whatever the coordinate.
    datas.SetCoordState(1, 2);
    datas.SetCoordState(3, 3);
    EXPECT_FALSE(datas.Recording);
    EXPECT_EQ(view.indicators, (std::array<TColor, 3>{Yellow, Green, Black}));
    datas.SetCoordState(3, 9);
    EXPECT_EQ(datas.Coord3State, 9);
    EXPECT_EQ(view.indicators[2], Black) << "a state above 3 keeps the colour";
    EXPECT_EQ(log.lines.size(), 1u);
}

TEST_F(CommonDatas, CoordinateDialogSequenceWithReentrantBoxes) {
    datas.SetCoordSelected(1, false);
    datas.SetCoordSelected(2, true);
    datas.SetCoordSelected(3, false);
    EXPECT_TRUE(!datas.Coord1Selected && datas.Coord2Selected && !datas.Coord3Selected);
    EXPECT_EQ(view.boxes, (std::array<bool, 3>{false, true, false}));
    EXPECT_EQ(view.coordinatesCaption, "Coordinates:  2  ");
    EXPECT_GT(view.boxClicks, 0);

    // The main window's button passes several changes at once.
    datas.SetSelectedCoords(true, false, true);
    EXPECT_TRUE(datas.Coord1Selected && !datas.Coord2Selected && datas.Coord3Selected);
    EXPECT_EQ(view.boxes, (std::array<bool, 3>{true, false, true}));
    EXPECT_EQ(view.coordinatesCaption, "Coordinates:  1  3  ");
    datas.SetSelectedCoords(false, false, false);
    EXPECT_EQ(view.coordinatesCaption, "Coordinates:  ");
}

TEST_F(CommonDatas, AnyStartedFollowsTheThreeFlags) {
    datas.SetCoordStarted(1, true);
    datas.SetCoordStarted(3, true);
    datas.SetCoordStarted(1, false);
    EXPECT_TRUE(datas.AnyStarted);
    datas.SetCoordStarted(3, false);
    EXPECT_FALSE(datas.AnyStarted);
    datas.SetCoordStarted(4, true);
    EXPECT_FALSE(datas.AnyStarted);
}
