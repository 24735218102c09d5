#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>

#include "fakes.h"
#include "state/paths.h"

using namespace zav;
using namespace zav::test;

using ::testing::ElementsAre;

namespace {

class ReplyProcessing : public ::testing::Test {
protected:
    ReplyProcessing() {
        // No language files: the built-in texts, each with its leading "*".
        SetAppDir((std::filesystem::temp_directory_path() / "zav-no-lang").string());
        controller = std::make_unique<TController>(dispatcher, views.Views());
        views.messageBox.shown.clear();
        views.log.lines.clear();
    }

    void Receive(const std::string& bytes) {
        controller->HandleReceived(reinterpret_cast<const std::uint8_t*>(bytes.data()),
                                   static_cast<std::uint32_t>(bytes.size()), 0);
    }
    TCommonDatas& Datas() { return controller->CommonDatas(); }

    TQueueDispatcher dispatcher;
    RecordingViews views;
    std::unique_ptr<TController> controller;
};

TEST_F(ReplyProcessing, OneProgramFromRecordingToCompletion) {
    Receive("LD1*E10*");
    EXPECT_EQ(Datas().Coord1State, 2);
    EXPECT_TRUE(Datas().Recording);
    EXPECT_FALSE(views.commonDatasView.programButtons[0]);
    EXPECT_EQ(Datas().LastError.Get(), "E10*");
    EXPECT_TRUE(controller->ReplyEvent().IsSet());

    Receive("BG*E10*MV200*E10*");
    EXPECT_THAT(controller->MemoRead().Lines(),
                ElementsAre("BG*\xD0\x9E\xD0\x9A", "MV200*\xD0\x9E\xD0\x9A"));

    Receive("ED*E10*");
    EXPECT_EQ(Datas().Coord1State, 0);
    EXPECT_FALSE(Datas().Recording);

    Receive("ST1*E10*");
    EXPECT_TRUE(Datas().Coord1Started);
    EXPECT_EQ(Datas().Coord1State, 1);
    EXPECT_EQ(views.commonDatasView.indicators[0], (TColor{255, 0, 0}));

    controller->ReplyEvent().Reset();
    Receive("E14*");
    EXPECT_EQ(Datas().Coord1State, 0);
    EXPECT_FALSE(Datas().Coord1Started);
    EXPECT_FALSE(Datas().AnyStarted);
    // The start had its reply (E10*): the program's end answers no command.
    EXPECT_FALSE(controller->ReplyEvent().IsSet());

    EXPECT_THAT(views.log.Texts(), ElementsAre("*Coordinate 1* is in communication mode",
                                               "*Program recording to coordinate1* completed ",
                                               "*Coordinate 1*: program executing started",
                                               "Coord 1: program executing",
                                               "*Coordinate 1*: Program executing completed"));
    EXPECT_THAT(controller->lbBufRead().Lines(),
                ElementsAre("LD1*", "E10*", "BG*", "E10*", "MV200*", "E10*", "ED*", "E10*", "ST1*",
                            "E10*", "E14*", ""));
}

TEST_F(ReplyProcessing, ReplyCutAcrossBlocksWaitsForItsStar) {
    Receive("ST");
    EXPECT_EQ(controller->Replies().ReceiveBuffer(), "ST");
    EXPECT_EQ(Datas().LastReply.Get(), "  ");
    Receive("2*E2");
    EXPECT_TRUE(Datas().Coord2Started);
    EXPECT_FALSE(controller->ReplyEvent().IsSet());
    Receive("0*");
    EXPECT_EQ(Datas().Coord2State, 1);
    EXPECT_TRUE(controller->ReplyEvent().IsSet());
}

TEST_F(ReplyProcessing, DataTransferErrorIsTakenOutAndReportedFirst) {
    Datas().AutoRecovery = false;
    Receive("ST1*E25*E10*");
    EXPECT_EQ(views.log.lines.front().text, "*Data transfer error!");
    EXPECT_TRUE(views.log.Red(0));
    EXPECT_THAT(views.messageBox.shown, ElementsAre("*Data transfer error!"));
    // The later coded reply replaces it; the others are processed as usual.
    EXPECT_EQ(Datas().LastError.Get(), "E10*");
    EXPECT_EQ(Datas().Coord1State, 1);

    Receive("E35*");
    EXPECT_EQ(Datas().LastError.Get(), "E35*");
    EXPECT_EQ(controller->Replies().ReceiveBuffer(), "");
}

TEST_F(ReplyProcessing, AutomaticRecoveryClearsWhatWasPending) {
    Datas().RecoveryStopRecording = false; // nothing to send on a closed port
    controller->ReplyEvent().Set();
    Receive("E15*ST1*E10*");
    EXPECT_THAT(views.log.Texts(),
                ElementsAre("*Data transfer error!",
                            "*Error recovering: clear program buffers and labels"));
    EXPECT_EQ(controller->Replies().ReceiveBuffer(), "");
    EXPECT_EQ(Datas().LastReply.Get(), "");
    EXPECT_FALSE(controller->ReplyEvent().IsSet());
    EXPECT_TRUE(controller->SenderIdleEvent().IsSet());
    EXPECT_FALSE(Datas().Coord1Started);
}

TEST_F(ReplyProcessing, OnlyTheFirstCarriageReturnAndLineFeedAreRemoved) {
    Receive("ST1*\r\n\rE10*");
    // The second CR stays in front of the coded reply, which is then an echo.
    EXPECT_EQ(Datas().LastReply.Get(), "\rE10*");
    EXPECT_EQ(Datas().LastError.Get(), "");
    EXPECT_FALSE(controller->ReplyEvent().IsSet());
}

TEST_F(ReplyProcessing, CodesLogAndChangeStatesAsTheyMean) {
    Receive("PS1*E12*");
    EXPECT_EQ(Datas().Coord1State, 3);
    Receive("E14*"); // last echo contains PS: no change
    EXPECT_EQ(Datas().Coord1State, 3);
    Receive("E18*");
    EXPECT_EQ(Datas().Coord1State, 1);
    Receive("E46*E49*E43*"); // coordinate digit 4: logged, no state
    EXPECT_THAT(views.log.Texts(),
                ElementsAre("*Program executing is suspended. Chanel 1",
                            "*Resume program executing - coordinate1", "Coord 1: program executing",
                            "*Error - incorrect command!", "*Error - incorrect command data!"));
    EXPECT_TRUE(views.log.Red(3));
    EXPECT_TRUE(views.log.Red(4));
    EXPECT_THAT(views.messageBox.shown, ElementsAre("*Program error - coordinate4"));
}

TEST_F(ReplyProcessing, SuspensionCodesWakeTheExchangeOnlyWhileStarted) {
    Datas().AutoRecovery = false;
    Receive("E12*E13*E14*E18*E11*E15*E17*");
    EXPECT_FALSE(controller->ReplyEvent().IsSet());
    Receive("ST*E30*");
    EXPECT_TRUE(Datas().Coord1Started && Datas().Coord2Started && Datas().Coord3Started);
    // Each coordinate's own end clears its flag, whatever echo came last; after the
    // start's own reply it answers nothing.
    controller->ReplyEvent().Reset();
    Receive("E34*");
    EXPECT_FALSE(controller->ReplyEvent().IsSet());
    EXPECT_FALSE(Datas().Coord3Started);
    // Right after an echo it is the answer: to a stop, or to a pause and a resumption,
    // which leave the program started.
    for (const char* exchange : {"ST1*E14*", "PS2*E22*", "PS2*E28*"}) {
        controller->ReplyEvent().Reset();
        Receive(exchange);
        EXPECT_TRUE(controller->ReplyEvent().IsSet()) << exchange;
    }
    EXPECT_FALSE(Datas().Coord1Started);
    EXPECT_TRUE(Datas().Coord2Started);
    Receive("E24*");
    EXPECT_FALSE(Datas().AnyStarted);
}

TEST_F(ReplyProcessing, ReadBackIsCollectedUntilEnd) {
    Receive("RD1*MV100*AL32818*");
    EXPECT_TRUE(Datas().ReadCapture);
    EXPECT_FALSE(controller->ReadDoneEvent().IsSet());
    Receive("ED*E10*");
    EXPECT_EQ(Datas().ReadBuffer.Get(), "RD1*MV100*AL32818*ED*");
    EXPECT_TRUE(controller->ReadDoneEvent().IsSet());
}

TEST_F(ReplyProcessing, NoiseWithoutTerminatorIsBoundedAndReported) {
    const std::string noise(1 << 20, 'x');
    for (std::size_t i = 0; i < noise.size(); i += 1000)
        Receive(noise.substr(i, 1000));
    EXPECT_LE(controller->Replies().ReceiveBuffer().size(), 4096u);
    ASSERT_FALSE(views.log.lines.empty());
    EXPECT_TRUE(views.log.Red(views.log.lines.size() - 1));
    // The noise still in the buffer joins the next reply; the one after it is clean.
    Receive("ST3*E30*ST3*E30*");
    EXPECT_TRUE(Datas().Coord3Started);
    EXPECT_EQ(Datas().LastReply.Get(), "ST3*");
}

TEST_F(ReplyProcessing, HostileStreamsLeaveAConsistentState) {
    Datas().AutoRecovery = false;
    // NUL bytes and garbage become part of echoes, which then match no rule; a storm
    // of "*" gives empty echoes. Nothing is started, logged or signalled.
    Receive(std::string("\0\0ST1*", 7) + "*****" +
            "\xff\x80"
            "E10*");
    EXPECT_EQ(Datas().LastReply.Get(), "\xD1\x8F\xD0\x82"
                                       "E10*"); // shown in UTF-8
    EXPECT_EQ(Datas().LastError.Get(), "");
    EXPECT_FALSE(Datas().AnyStarted);
    EXPECT_FALSE(controller->ReplyEvent().IsSet());
    EXPECT_TRUE(views.log.lines.empty());
    EXPECT_EQ(controller->lbBufRead().Count(), 8u); // seven replies and the open item
    // A controller that answers twice sets the reply event twice; nothing else changes.
    Receive("E30*E30*");
    EXPECT_TRUE(controller->ReplyEvent().IsSet());
    EXPECT_EQ(controller->Replies().ReceiveBuffer(), "");
}

// The same stream, cut at every possible place, leaves the same state behind.
TEST(ReplyProcessingCuts, EveryCutGivesTheSameResult) {
    SetAppDir((std::filesystem::temp_directory_path() / "zav-no-lang").string());
    const std::string stream = "LD2*E20*BG*E20*MV50*E20*ED*E20*ST2*E20*PS2*E22*E28*E24*";
    auto run = [&](std::size_t cut) {
        TQueueDispatcher dispatcher;
        RecordingViews views;
        TController c(dispatcher, views.Views());
        auto feed = [&](const std::string& part) {
            c.HandleReceived(reinterpret_cast<const std::uint8_t*>(part.data()),
                             static_cast<std::uint32_t>(part.size()), 0);
        };
        feed(stream.substr(0, cut));
        feed(stream.substr(cut));
        auto& d = c.CommonDatas();
        return std::make_tuple(
            views.log.Texts(), d.Coord2State.load(), d.Coord2Started.load(), d.LastReply.Get(),
            d.LastError.Get(),
            std::vector<std::string>(c.MemoRead().Lines().begin(), c.MemoRead().Lines().end()));
    };
    const auto whole = run(stream.size());
    for (std::size_t cut = 1; cut < stream.size(); ++cut)
        EXPECT_EQ(run(cut), whole) << "cut at " << cut;
}

TEST_F(ReplyProcessing, RecoveryRunsOnlyTheStepsSwitchedOn) {
    Datas().RecoveryStopRecording = false;
    Datas().RecoveryClearBuffers = false;
    controller->Recovery().RunRecovery();
    EXPECT_TRUE(views.log.lines.empty());
    Datas().RecoveryClearBuffers = true;
    controller->ProcessReplies("ST");
    controller->Recovery().RunRecovery();
    EXPECT_THAT(views.log.Texts(),
                ElementsAre("*Error recovering: clear program buffers and labels"));
    EXPECT_EQ(controller->Replies().ReceiveBuffer(), "");
}

} // namespace
