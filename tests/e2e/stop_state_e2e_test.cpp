// Stop and the coordinate states against the controller simulator: what Stop sends follows
// what the controller acknowledged, and ST n toggles, so a stop must never reach a
// coordinate that is idle or already stopping.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <array>

#include "sim_fixture.h"

using namespace zav;
using namespace zav::test;
using ::testing::Contains;
using ::testing::ElementsAreArray;
using ::testing::Not;

namespace {

using TStates = std::array<std::uint8_t, 3>;

class StopState : public SimFixture {
protected:
    bool StatesAre(const TStates& states) {
        return Until([&] {
            return Datas().Coord1State == states[0] && Datas().Coord2State == states[1] &&
                   Datas().Coord3State == states[2];
        });
    }
    bool Logged(const std::string& line) {
        return Until([&] { return testing::Value(views.log.Texts(), Contains(line)); });
    }
    // Requests the simulator received after the first skip ones.
    std::vector<std::string> RequestsAfter(std::size_t skip) {
        const auto all = sim->Requests();
        return {all.begin() + static_cast<std::ptrdiff_t>(std::min(skip, all.size())), all.end()};
    }
    // Simple mode: records a motion too long to end by itself into the selected
    // coordinates and starts them.
    void WriteAndStartLong() {
        TMotion motion;
        motion.Steps = "10000000";
        controller->SimpleMode().btnPuskClick(motion);
        ASSERT_TRUE(ExchangeDone());
    }
    std::string Started(int n) { return M(30) + std::to_string(n) + M(32); }
};

// One "ST" starts the three coordinates; each then counts as executing and started, and
// Stop stops exactly those the program believes running, never an idle one (which the
// stop would start).
TEST_F(StopState, OneStartMarksAllThreeAndStopReachesOnlyTheRunningOnes) {
    Start();
    Datas().SetSelectedCoords(true, true, true);
    WriteAndStartLong();
    ASSERT_EQ(sim->Requests().size(), 25u);
    EXPECT_EQ(sim->Requests().back(), "ST");
    ASSERT_TRUE(StatesAre({1, 1, 1}));
    EXPECT_TRUE(Datas().Coord1Started && Datas().Coord2Started && Datas().Coord3Started);
    for (int n = 1; n <= 3; ++n)
        EXPECT_TRUE(Logged(Started(n))) << n;

    struct Press {
        std::array<bool, 3> selected;
        std::vector<std::string> sent;
        TStates after;
    } presses[] = {
        {{false, true, false}, {"ST2"}, {1, 0, 1}},
        {{true, true, true}, {"ST1", "ST3"}, {0, 0, 0}}, // coordinate 2 is idle: no ST2
        {{true, true, true}, {}, {0, 0, 0}},             // a second Stop sends nothing
    };
    for (const Press& p : presses) {
        const std::size_t before = sim->Requests().size();
        Datas().SetSelectedCoords(p.selected[0], p.selected[1], p.selected[2]);
        controller->SimpleMode().btnStopClick();
        ASSERT_TRUE(ExchangeDone());
        EXPECT_THAT(RequestsAfter(before), ElementsAreArray(p.sent));
        EXPECT_TRUE(StatesAre(p.after));
        for (int n = 1; n <= 3; ++n)
            EXPECT_EQ(sim->RunState(n) == zavsim::TRunState::Idle, p.after[n - 1] == 0) << n;
    }
    EXPECT_FALSE(Datas().AnyStarted);

    // Programs that end by themselves clear the flags that "ST*" set, each by its own
    // end code: a later end code is no reply to anything.
    dispatcher.Drain(); // the stops' end lines, posted before their exchange ended
    views.log.lines.clear();
    TMotion shortMotion;
    shortMotion.Steps = "100";
    controller->SimpleMode().btnPuskClick(shortMotion);
    ASSERT_TRUE(ExchangeDone());
    EXPECT_EQ(sim->Requests().back(), "ST");
    for (int n = 1; n <= 3; ++n)
        ASSERT_TRUE(Logged(M(30) + std::to_string(n) + M(35))) << n;
    EXPECT_FALSE(Datas().AnyStarted);
}

// A Direct Control box left ticked when the window went to simple mode changes nothing
// there: the start is shown, Stop stops, and the read-back reads the program, not the
// command buffer. Back in extended mode it acts again.
TEST_F(StopState, HiddenDirectControlHasNoEffectInSimpleMode) {
    Start();
    controller->Editor().chbDirectControlClick(true);
    controller->Editor().SetExtendedMode(false);
    WriteAndStartLong();
    EXPECT_EQ(sim->Requests().back(), "ST1");
    ASSERT_TRUE(StatesAre({1, 0, 0}));
    EXPECT_TRUE(Logged(Started(1)));

    controller->SimpleMode().btnStopClick();
    ASSERT_TRUE(ExchangeDone());
    EXPECT_EQ(sim->Requests().back(), "ST1");
    ASSERT_TRUE(StatesAre({0, 0, 0}));
    EXPECT_EQ(sim->RunState(1), zavsim::TRunState::Idle);

    TChanRead& read = controller->ChanRead();
    for (const bool extended : {false, true}) {
        controller->Editor().SetExtendedMode(extended);
        read.btnReadClick();
        ASSERT_TRUE(Until([&] { return !read.Reading(); }));
        EXPECT_EQ(sim->Requests().back(), extended ? "RB" : "RD1");
    }
}

// In direct control a start the controller acknowledged shows the coordinates executing:
// ST n the one, ST all three.
TEST_F(StopState, StartAcknowledgedInDirectControlShowsExecuting) {
    Start();
    std::vector<std::string> recordings;
    for (const char* n : {"1", "2", "3"})
        for (const std::string& line : {"LD" + std::string(n), std::string("SD200"),
                                        std::string("MV10000000"), std::string("ED")})
            recordings.push_back(line);
    controller->MemoSend().SetLines(recordings);
    controller->btnRunTRClick();
    ASSERT_TRUE(ExchangeDone());
    TCommandEditor& editor = controller->Editor();
    editor.chbDirectControlClick(true);

    struct Case {
        std::function<void()> press;
        std::string sent;
        TStates states;
    } cases[] = {
        {[&] { editor.AddToolCommand(ciST, "2"); }, "ST2", {0, 1, 0}},
        {[&] { editor.AddToolCommand(ciST, "2"); }, "ST2", {0, 0, 0}}, // the stop
        {[&] { editor.btnSTClick(); }, "ST", {1, 1, 1}},
    };
    for (const Case& c : cases) {
        c.press();
        ASSERT_TRUE(ExchangeDone());
        EXPECT_EQ(sim->Requests().back(), c.sent);
        EXPECT_TRUE(StatesAre(c.states)) << c.sent;
    }
    for (int n = 1; n <= 3; ++n)
        EXPECT_TRUE(Logged(Started(n))) << n;
}

// ST n toggles: a stop that the controller accepted but has not yet reported ended is not
// sent again (it would start the program); one that got no answer may be sent again.
TEST_F(StopState, StopIsNotRepeatedBeforeItIsAnswered) {
    struct Case {
        const char* name;
        zavsim::TSimOptions options;
        std::vector<std::string> secondStop; // what the second Stop sends
        int stopReplyTimeout;                // ms
    };
    // The second Stop comes right after the first one's exchange, long before the end.
    zavsim::TSimOptions rampDown;
    rampDown.StopMs = 3000;
    zavsim::TSimOptions silentAtStop;
    silentAtStop.SilentAfter = 9; // the recording and ST1 are answered
    for (const Case& c : {Case{"accepted, end to come", rampDown, {}, 2000},
                          Case{"no answer", silentAtStop, {"ST1"}, 500}}) {
        SCOPED_TRACE(c.name);
        Start(c.options);
        WriteAndStartLong();
        ASSERT_TRUE(StatesAre({1, 0, 0}));
        Datas().ReplyTimeout = c.stopReplyTimeout;
        const std::size_t started = sim->Requests().size();
        controller->SimpleMode().btnStopClick();
        ASSERT_TRUE(ExchangeDone());
        controller->SimpleMode().btnStopClick();
        ASSERT_TRUE(ExchangeDone());
        std::vector<std::string> sent = {"ST1"};
        sent.insert(sent.end(), c.secondStop.begin(), c.secondStop.end());
        ASSERT_TRUE(sim->WaitForRequests(started + sent.size(), std::chrono::seconds(10)));
        EXPECT_THAT(RequestsAfter(started), ElementsAreArray(sent));
        const std::string leftOut = M(msgStopOutstanding) + "1" + M(msgStopOutstandingEnd);
        if (c.secondStop.empty()) {
            EXPECT_TRUE(Logged(leftOut));
            ASSERT_TRUE(StatesAre({0, 0, 0})); // the end code comes
            EXPECT_EQ(sim->RunState(1), zavsim::TRunState::Idle);
            // The acceptance is no second start.
            const auto texts = views.log.Texts();
            EXPECT_EQ(std::count(texts.begin(), texts.end(), Started(1)), 1);
        } else {
            dispatcher.Drain();
            EXPECT_THAT(views.log.Texts(), Not(Contains(leftOut)));
        }
        controller.reset();
        sim.reset();
        dispatcher.Drain();
        views.log.lines.clear();
    }
}

// A data transfer error inside a recording: whichever ED ends it, the recovery's or the
// operator's, the log says the stored program is incomplete, not that it was completed.
TEST_F(StopState, RecordingCutByATransferErrorIsReportedIncomplete) {
    for (const bool autoRecovery : {true, false}) {
        SCOPED_TRACE(autoRecovery ? "recovery's ED" : "operator's ED");
        zavsim::TSimOptions options;
        options.E5Every = 2; // BG, the second request
        Start(options);
        Datas().AutoRecovery = autoRecovery;
        controller->MemoSend().SetLines({"LD1", "BG", "EN", "ED"});
        controller->btnRunTRClick();
        ASSERT_TRUE(ExchangeDone());
        if (!autoRecovery) {
            ASSERT_TRUE(StatesAre({2, 0, 0})); // still recording until an ED
            controller->MemoSend().SetLines({"ED"});
            controller->btnRunTRClick();
            ASSERT_TRUE(ExchangeDone());
        }
        ASSERT_TRUE(StatesAre({0, 0, 0}));
        EXPECT_EQ(sim->Requests().back(), "ED");
        ASSERT_TRUE(Logged(M(msgRecordingCut) + "1" + M(msgRecordingCutEnd)));
        EXPECT_THAT(views.log.Texts(), Not(Contains(M(28) + "1" + M(29))));
        controller.reset();
        sim.reset();
        dispatcher.Drain();
        views.log.lines.clear();
    }
}

} // namespace
