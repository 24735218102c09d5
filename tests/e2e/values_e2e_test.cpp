// What is shown is what is sent: scale changes, rounded and limited values and the
// tracking group, checked on the wire against the simulator.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "fakes.h"
#include "sim_peer.h"
#include "state/number_format.h"
#include "state/paths.h"

using namespace zav;
using namespace zav::test;
using ::testing::ElementsAre;

namespace {

class ScaleField : public IUnitsView, public ICommandEditorView {
public:
    std::string text = "1";
    bool sendEnabled = true;
    std::string ScaleText() const override { return text; }
    void EnableScaleControls(bool) override {}
    void SetSendEnabled(bool enabled) override { sendEnabled = enabled; }
};

class Values : public ::testing::Test {
protected:
    Values() {
        SetDecimalSeparator('.');
        zavsim::TSimOptions options;
        options.Port = 1;
        options.PortsDir = (folder.Path() / "ports").string();
        options.TimeScale = 0.01;
        sim = std::make_unique<TSimPeer>(options);
        sim->Start();
        SetAppDir(folder.Path().string());
        controller = std::make_unique<TController>(dispatcher, views.Views());
        controller->Units().AttachView(&field);
        controller->Editor().AttachView(&field);
        controller->Port().SetPortsDir(options.PortsDir);
        controller->Port().SetPortNumber(1);
        controller->Port().Open();
        controller->Port().SetReceiving(true);
        views.log.lines.clear();
        views.messageBox.shown.clear();
    }
    ~Values() override {
        controller.reset();
        dispatcher.Drain();
    }
    bool ExchangeDone() {
        return dispatcher.ProcessUntil([&] { return !controller->ExchangeRunning(); }, 10000);
    }
    // The units strip: "other units" with this scale typed, or "steps".
    void ChooseScale(const std::string& text) {
        field.text = text;
        views.hooks.unitsIndex = 1;
        controller->Units().rgrUnitsClick();
    }
    std::string M(int n) { return controller->Lang().Message(n); }
    const CommandEntry& Row(int index) { return controller->Commands().Commands(index); }

    TempFolder folder;
    TQueueDispatcher dispatcher;
    RecordingViews views;
    ScaleField field;
    std::unique_ptr<TSimPeer> sim;
    std::unique_ptr<TController> controller;
};

TEST_F(Values, ScaleTypoAndItsCorrectionSendTheListOfTheRightScale) {
    TCommandEditor& editor = controller->Editor();
    editor.AddToolCommand(ciMV, "1000");
    editor.AddToolCommand(ciSD, "50");

    ChooseScale("100000"); // a typo: both values leave their ranges, and are not clipped
    EXPECT_THAT(controller->MemoSend.Lines(), ElementsAre("MV100000000", "SD5000000"));
    const std::string named = "1 (MV100000000), 2 (SD5000000)";
    ASSERT_EQ(views.log.lines.size(), 1u);
    EXPECT_EQ(views.log.lines[0].text, M(msgLinesOutOfRange) + named);
    EXPECT_TRUE(views.log.Red(0));
    EXPECT_FALSE(field.sendEnabled);
    EXPECT_FALSE(controller->btnRunTRClick());
    EXPECT_EQ(views.log.lines.back().text, M(msgListNotSentOutOfRange) + named);

    field.text = "100"; // corrected: the list of scale 100, as if typed at once
    controller->Units().btnScaleChangeClick();
    EXPECT_THAT(controller->MemoSend.Lines(), ElementsAre("MV100000", "SD5000"));
    EXPECT_TRUE(field.sendEnabled);
    ASSERT_TRUE(controller->btnRunTRClick());
    ASSERT_TRUE(ExchangeDone());
    EXPECT_THAT(sim->Requests(), ElementsAre("MV100000", "SD5000")); // nothing before them
}

TEST_F(Values, ListShowsTheRoundedAndLimitedValueThatIsSent) {
    struct Case {
        int unitsIndex;
        double scale;
        int index;
        const char *typed, *sent, *shown;
    };
    const Case cases[] = {
        {0, 1, ciSD, "2.9", "SD2", "2"},
        {0, 1, ciMV, "10.7", "MV10", "10"},
        {0, 1, ciAL, "800", "AL+500", "500"},
        {0, 1, ciAL, "-800", "AL-500", "-500"},
        {0, 1, ciSP, "+250", "SP250", "250"},
        // User units: the steps sent, divided by the scale.
        {1, 2.5, ciMV, "3.3", "MV8", "3.2"},
        {1, 3, ciSD, "0.5", "SD1", "0.333333333333333"},
        {1, 2, ciAL, "-300", "AL-500", "-250"},
    };
    std::vector<std::string> sent;
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.typed) + " -> " + c.sent);
        views.hooks.unitsIndex = c.unitsIndex;
        controller->CommonDatas().SetScale(c.scale); // the list is not converted by this
        ASSERT_TRUE(controller->Editor().AddToolCommand(c.index, c.typed));
        const TCommandRow& row = controller->MemoSend.Row(controller->MemoSend.Count() - 1);
        EXPECT_EQ(row.Command, c.sent);
        EXPECT_EQ(row.Description, Row(c.index).Description + c.shown + Row(c.index).ParamLabel);
        sent.push_back(c.sent);
    }
    ASSERT_TRUE(controller->btnRunTRClick());
    ASSERT_TRUE(ExchangeDone());
    EXPECT_EQ(sim->Requests(), sent);
}

// Each tracking send is logged, a limited value says so, and the movement scale has the
// controller's own range 1..2147483647 whatever the units scale.
TEST_F(Values, TrackingSendsAreLoggedWithTheirLimits) {
    auto& tracking = controller->Tracking();
    const std::string scaleRange = M(52) + "1" + M(53) + "2147483647";
    struct Case {
        double unitsScale;
        std::function<void()> press;
        std::vector<std::string> sent;
        std::vector<std::string> log;
        std::vector<std::string> boxes;
    };
    const Case cases[] = {
        {1,
         [&] { tracking.btnTrackAccelClick("-600"); },
         {"AL-500"},
         {M(msgValueLimited) + "-600" + M(msgValueSentAs) + "AL-500",
          M(msgTrackingSent) + "AL-500"},
         {}},
        {1,
         [&] { tracking.btnTrackAccelClick("-400"); },
         {"AL-400"},
         {M(msgTrackingSent) + "AL-400"},
         {}},
        {1,
         [&] { tracking.btnTrackApplyClick({}); },
         {"SS200", "SD200", "AL0", "SC1"},
         {M(msgTrackingSent) + "SS200, SD200, AL0, SC1"},
         {}},
        {1, [&] { tracking.btnTrackScaleClick("1"); }, {"SC1"}, {M(msgTrackingSent) + "SC1"}, {}},
        {1,
         [&] { tracking.btnTrackScaleClick("2147483647"); },
         {"SC2147483647"},
         {M(msgTrackingSent) + "SC2147483647"},
         {}},
        {1000,
         [&] { tracking.btnTrackScaleClick("5000000"); },
         {"SC5000000"},
         {M(msgTrackingSent) + "SC5000000"},
         {}},
        {1, [&] { tracking.btnTrackScaleClick("0"); }, {}, {}, {scaleRange}},
        {1000, [&] { tracking.btnTrackScaleClick("2147483648"); }, {}, {}, {scaleRange}},
        {1, [&] { tracking.btnTrackScaleClick("x"); }, {}, {}, {scaleRange}},
        {1, [&] { tracking.btnTrackScaleClick("1.5"); }, {}, {}, {M(14)}},
    };
    std::vector<std::string> requests;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.sent.empty() ? c.boxes.front() : c.sent.front());
        views.hooks.unitsIndex = c.unitsScale == 1 ? 0 : 1;
        controller->CommonDatas().SetScale(c.unitsScale);
        views.log.lines.clear();
        views.messageBox.shown.clear();
        c.press();
        ASSERT_TRUE(ExchangeDone());
        dispatcher.Drain();
        requests.insert(requests.end(), c.sent.begin(), c.sent.end());
        EXPECT_EQ(sim->Requests(), requests);
        EXPECT_EQ(views.log.Texts(), c.log);
        EXPECT_EQ(views.messageBox.shown, c.boxes);
    }
}

} // namespace
