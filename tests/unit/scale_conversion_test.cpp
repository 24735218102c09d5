// Units and scale: reading the scale, converting the list, the strip's handlers.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>

#include "fakes.h"
#include "program-editing/scale_conversion.h"
#include "state/number_format.h"
#include "state/paths.h"

using namespace zav;
using namespace zav::test;
using ::testing::ElementsAre;

namespace {

class FakeUnitsView : public IUnitsView {
public:
    std::string text = "1";
    bool enabled = false;
    std::string ScaleText() const override { return text; }
    void EnableScaleControls(bool e) override { enabled = e; }
};

class Units : public ::testing::Test {
protected:
    Units() {
        SetAppDir((std::filesystem::temp_directory_path() / "zav-no-lang").string());
        controller = std::make_unique<TController>(dispatcher, views.Views());
        controller->Units().AttachView(&unitsView);
        views.messageBox.shown.clear();
    }
    ~Units() override { SetDecimalSeparator('.'); }
    std::vector<std::string> Lines() { return controller->MemoSend().Lines(); }
    TCommonDatas& Datas() { return controller->CommonDatas(); }
    // Types text into the scale field and presses Change.
    void Change(const std::string& text) {
        unitsView.text = text;
        controller->Units().btnScaleChangeClick();
    }

    TQueueDispatcher dispatcher;
    RecordingViews views;
    FakeUnitsView unitsView;
    std::unique_ptr<TController> controller;
};

TEST_F(Units, ScaleTextWithEitherSeparator) {
    struct Case {
        char separator;
        const char* text;
        bool ok;
        double scale;
    };
    const Case cases[] = {
        {',', "2.5", true, 2.5},  {',', "2,5", true, 2.5},   {'.', "2,5", true, 2.5},
        {'.', " 4 ", true, 4},    {'.', "0", false, 0},      {'.', "-2", false, 0},
        {'.', "abc", false, 0},   {'.', "", false, 0},       {'.', "1e-320", false, 0},
        {'.', "1e308", false, 0}, {'.', "1e-5", true, 1e-5}, {'.', "2.5.1", false, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.text) + " with separator " + c.separator);
        SetDecimalSeparator(c.separator);
        double scale = 0;
        EXPECT_EQ(TScaleConversion::ParseScale(c.text, scale), c.ok);
        if (c.ok) {
            EXPECT_DOUBLE_EQ(scale, c.scale);
        }
    }
}

TEST_F(Units, ConversionByFactorAndRounding) {
    struct Case {
        std::vector<std::string> before;
        double factor;
        std::uint8_t rounding;
        std::vector<std::string> after;
    };
    const Case cases[] = {
        {{"MV1000", "SD200", "AL+100", "SP500"}, 2, 0, {"MV2000", "SD400", "AL+200", "SP500"}},
        {{"MV1001"}, 1.5, 0, {"MV1501"}},
        {{"MV1001"}, 1.5, 1, {"MV1502"}},
        {{"MV1001"}, 1.5, 2, {"MV1502"}},
        {{"AL-15"}, 1.5, 0, {"AL-22"}},
        {{"AL-15"}, 1.5, 1, {"AL-22"}},
        {{"AL-15"}, 1.5, 2, {"AL-22"}},
        // Not clipped to the step ranges: the lines outside them are marked instead, and
        // a correction of the scale gives them back. A positive AL keeps "+".
        {{"MV9000000", "SD9000", "SS1500", "AL+400", "AL-400"},
         2,
         0,
         {"MV18000000", "SD18000", "SS3000", "AL+800", "AL-800"}},
        {{"MV3", "SD1", "SS1", "AL+1"}, 0.1, 0, {"MV0", "SD0", "SS0", "AL0"}},
        {{"MV10000000"}, 1000, 0, {"MV10000000000"}},
        // Not motion or without value: left alone. SC is sent unscaled.
        {{"MV", "SC100", "LD1", "BG", ""}, 3, 0, {"MV", "SC100", "LD1", "BG", ""}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.before.front() + " x" + std::to_string(c.factor));
        Datas().SetRounding(c.rounding);
        controller->MemoSend().SetLines(c.before);
        EXPECT_TRUE(
            TScaleConversion::Convert(controller->MemoSend(), c.factor, 1, Datas()).empty());
        EXPECT_EQ(Lines(), c.after);
    }
}

TEST_F(Units, UnconvertibleLinesAreReportedOnceAndTheRestConverted) {
    const std::string huge = "AL+99999999999999999999"; // beyond 64 bits
    controller->MemoSend().SetLines({"MV10", "MVx", "SD5", huge, "SS7"});
    views.hooks.unitsIndex = 1;
    Change("2");
    EXPECT_THAT(Lines(), ElementsAre("MV20", "MVx", "SD10", huge, "SS14"));
    ASSERT_EQ(views.log.lines.size(), 1u);
    EXPECT_TRUE(views.log.Red(0));
    EXPECT_EQ(views.log.lines[0].text,
              controller->Lang().Message(msgLinesNotConverted) + "2 (MVx), 4 (" + huge + ")");
    EXPECT_TRUE(views.messageBox.shown.empty());
}

TEST_F(Units, ChoosingTheUnitAndChangingTheScale) {
    SetDecimalSeparator(',');
    controller->MemoSend().SetLines({"MV1000", "SP500"});
    auto& units = controller->Units();

    views.hooks.unitsIndex = 1; // "other units" with "4" in the field
    unitsView.text = "4";
    units.rgrUnitsClick();
    EXPECT_TRUE(unitsView.enabled);
    EXPECT_EQ(Datas().Scale, 4);
    EXPECT_THAT(Lines(), ElementsAre("MV4000", "SP500"));

    Change("2.5"); // shown with the system's separator
    EXPECT_EQ(Datas().Scale, 2.5);
    EXPECT_EQ(views.commonDatasView.scaleText, "2,5");
    EXPECT_THAT(Lines(), ElementsAre("MV2500", "SP500"));

    // A refused scale: message 20, scale 1, the list follows the scale.
    Change("0");
    EXPECT_THAT(views.messageBox.shown, ElementsAre(controller->Lang().Message(20)));
    EXPECT_EQ(Datas().Scale, 1);
    EXPECT_EQ(views.commonDatasView.scaleText, "1");
    EXPECT_THAT(Lines(), ElementsAre("MV1000", "SP500"));

    Change("3");
    views.hooks.unitsIndex = 0; // "steps": scale 1, the list as it was
    units.rgrUnitsClick();
    EXPECT_FALSE(unitsView.enabled);
    EXPECT_EQ(Datas().Scale, 1);
    EXPECT_EQ(views.commonDatasView.scaleText, "1");
    EXPECT_THAT(Lines(), ElementsAre("MV3000", "SP500"));
}

} // namespace
