// What is shown is what is sent: scale changes, rounded and limited values and the
// tracking group, checked on the wire against the simulator.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "sim_fixture.h"
#include "state/number_format.h"

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

class Values : public SimFixture {
protected:
    Values() {
        SetDecimalSeparator('.');
        Start();
        controller->Units().AttachView(&field);
        controller->Editor().AttachView(&field);
    }
    ~Values() override { controller.reset(); } // before the field it reports to
    const CommandEntry& Row(int index) { return controller->Commands().Commands(index); }

    ScaleField field;
};

TEST_F(Values, ScaleTypoAndItsCorrectionSendTheListOfTheRightScale) {
    TCommandEditor& editor = controller->Editor();
    editor.AddToolCommand(ciMV, "1000");
    editor.AddToolCommand(ciSD, "50");

    field.text = "100000"; // "other units" with a typo: both values leave their ranges
    views.hooks.unitsIndex = 1;
    controller->Units().rgrUnitsClick();
    EXPECT_THAT(controller->MemoSend().Lines(), ElementsAre("MV100000000", "SD5000000"));
    const std::string named = "1 (MV100000000), 2 (SD5000000)";
    ASSERT_EQ(views.log.lines.size(), 1u);
    EXPECT_EQ(views.log.lines[0].text, M(msgLinesOutOfRange) + named);
    EXPECT_TRUE(views.log.Red(0));
    EXPECT_FALSE(field.sendEnabled);
    EXPECT_FALSE(controller->btnRunTRClick());
    EXPECT_EQ(views.log.lines.back().text, M(msgListNotSentOutOfRange) + named);

    field.text = "100"; // corrected: the list of scale 100, as if typed at once
    controller->Units().btnScaleChangeClick();
    EXPECT_THAT(controller->MemoSend().Lines(), ElementsAre("MV100000", "SD5000"));
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
        const TCommandRow& row = controller->MemoSend().Row(controller->MemoSend().Count() - 1);
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
        char field; // A: acceleration, C: movement scale, *: Apply with the defaults
        const char* value;
        std::vector<std::string> sent;
        bool limited;
        std::string box;
    };
    const Case cases[] = {
        {1, 'A', "-600", {"AL-500"}, true, ""},
        {1, '*', "", {"SS200", "SD200", "AL0", "SC1"}, false, ""},
        {1, 'C', "2147483647", {"SC2147483647"}, false, ""},
        {1000, 'C', "5000000", {"SC5000000"}, false, ""},
        {1, 'C', "0", {}, false, scaleRange},
        {1000, 'C', "2147483648", {}, false, scaleRange},
        {1, 'C', "1.5", {}, false, M(14)},
    };
    std::vector<std::string> requests;
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(1, c.field) + c.value);
        views.hooks.unitsIndex = c.unitsScale == 1 ? 0 : 1;
        controller->CommonDatas().SetScale(c.unitsScale);
        views.log.lines.clear();
        views.messageBox.shown.clear();
        if (c.field == 'A')
            tracking.btnTrackAccelClick(c.value);
        else if (c.field == 'C')
            tracking.btnTrackScaleClick(c.value);
        else
            tracking.btnTrackApplyClick({});
        ASSERT_TRUE(ExchangeDone());
        dispatcher.Drain();
        requests.insert(requests.end(), c.sent.begin(), c.sent.end());
        EXPECT_EQ(sim->Requests(), requests);
        std::vector<std::string> log;
        if (c.limited)
            log.push_back(M(msgValueLimited) + c.value + M(msgValueSentAs) + c.sent[0]);
        std::string sent;
        for (const std::string& line : c.sent)
            sent += (sent.empty() ? "" : ", ") + line;
        if (!sent.empty())
            log.push_back(M(msgTrackingSent) + sent);
        EXPECT_EQ(views.log.Texts(), log);
        EXPECT_EQ(views.messageBox.shown,
                  c.box.empty() ? std::vector<std::string>{} : std::vector<std::string>{c.box});
    }
}

} // namespace
