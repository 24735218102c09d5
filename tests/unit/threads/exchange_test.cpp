#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>

#include "controller_on_pty.h"

using namespace zav;
using namespace zav::test;

using ::testing::ElementsAre;
using ::testing::IsEmpty;

namespace {

// The test thread is the main thread and plays the controller on the pty's master.
class Exchange : public ControllerOnPty {
protected:
    Exchange() : ControllerOnPty("exchange") {
        controller->Port().Open();
        controller->Port().SetReceiving(true);
        views.log.lines.clear();
        views.messageBox.shown.clear();
    }

    void Send(std::vector<std::string> lines) {
        controller->MemoSend().SetLines(std::move(lines));
        controller->btnRunTRClick();
    }
    bool WaitExchangeEnd(int ms = 10000) {
        return dispatcher.ProcessUntil([&] { return !controller->ExchangeRunning(); }, ms);
    }
    // Echoes every request and answers it with code (none: stays silent).
    static std::function<std::string(const std::string&)> Answer(std::string code) {
        return [code](const std::string& request) { return code.empty() ? "" : request + code; };
    }
};

TEST_F(Exchange, SendsEachLineInOrderAndSkipsEmptyOnes) {
    ASSERT_TRUE(controller->Port().Connected());
    TScriptedController plc(peer, Answer("E10*"));
    Send({"BG", "", "MV100", "EN"});
    ASSERT_TRUE(WaitExchangeEnd());
    plc.Stop();
    EXPECT_THAT(plc.Requests(), ElementsAre("BG*", "MV100*", "EN*"));
    EXPECT_TRUE(controller->SenderIdleEvent().IsSet());
    EXPECT_THAT(views.log.lines, IsEmpty());
}

TEST_F(Exchange, SilentControllerStopsTheListWithNoReplyInRed) {
    controller->CommonDatas().ReplyTimeout = 300;
    TScriptedController plc(peer, Answer(""));
    Send({"BG", "EN"});
    ASSERT_TRUE(WaitExchangeEnd());
    ASSERT_TRUE(dispatcher.ProcessUntil([&] { return !views.log.lines.empty(); }, 5000));
    plc.Stop();
    EXPECT_THAT(plc.Requests(), ElementsAre("BG*")); // EN was never sent
    EXPECT_EQ(views.log.lines[0].text, "*No reply from the controller!");
    EXPECT_TRUE(views.log.Red(0));
}

TEST_F(Exchange, CommandErrorStopsTheListOnlyWhenSetTo) {
    for (std::uint8_t stop : {1, 0}) {
        controller->CommonDatas().StopOnCommandError = stop;
        TScriptedController plc(peer, [](const std::string& request) {
            return request + (request == "XX*" ? "E26*" : "E10*");
        });
        Send({"BG", "XX", "EN"});
        ASSERT_TRUE(WaitExchangeEnd());
        plc.Stop();
        if (stop)
            EXPECT_THAT(plc.Requests(), ElementsAre("BG*", "XX*"));
        else
            EXPECT_THAT(plc.Requests(), ElementsAre("BG*", "XX*", "EN*"));
    }
}

TEST_F(Exchange, SecondSendWhileRunningStartsNothing) {
    // The reply comes while the exchange thread is still blocked writing its line (the
    // far end reads nothing yet), so the reply event is set and not yet taken when the
    // second Send comes: that Send must leave it to the running exchange.
    controller->CommonDatas().ReplyTimeout = 2000;
    const std::string tooLong(256 * 1024, 'X');
    Send({tooLong, "EN"});
    peer.Write("E10*");
    ASSERT_TRUE(controller->ReplyEvent().WaitFor(5000));
    controller->MemoSend().SetLines({"DL"});
    EXPECT_FALSE(controller->btnRunTRClick());
    TScriptedController plc(
        peer, [](const std::string& request) { return request == "EN*" ? request + "E10*" : ""; });
    ASSERT_TRUE(WaitExchangeEnd());
    plc.Stop();
    const auto requests = plc.Requests();
    ASSERT_EQ(requests.size(), 2u); // the early reply was taken: EN followed
    EXPECT_EQ(requests[0].size(), tooLong.size() + 1);
    EXPECT_EQ(requests[1], "EN*");
    EXPECT_THAT(controller->MemoSend().Lines(), ElementsAre("DL")); // kept, unsent
    EXPECT_THAT(views.log.Texts(), ElementsAre(controller->Lang().Message(msgListNotSent)));
}

TEST_F(Exchange, LongListsAreSentWhole) {
    TScriptedController plc(peer, Answer("E10*"));
    Send(std::vector<std::string>(300, "BG"));
    ASSERT_TRUE(WaitExchangeEnd(30000));
    plc.Stop();
    EXPECT_EQ(plc.Requests().size(), 300u);
}

TEST_F(Exchange, ClosingWhileWaitingForAReplyNeitherHangsNorCrashes) {
    controller->CommonDatas().ReplyTimeout = 600000;
    TScriptedController plc(peer, Answer(""));
    Send({"BG", "EN"});
    ASSERT_TRUE(plc.WaitForRequests(1, 5000));
    controller.reset(); // would wait ten minutes if the exchange were not told to stop
    dispatcher.Drain(); // posts from the ended exchange must not touch the freed objects
    plc.Stop();
    EXPECT_THAT(plc.Requests(), ElementsAre("BG*"));
}

// Closing the program never waits for the line: the exchange is told to stop and the
// port closed before the threads are joined. (A hang here fails by the test time-out.)
TEST_F(Exchange, ShutdownNeverHangs) {
    struct TRow {
        const char* name;
        std::vector<std::string> list;
        bool vanish;   // the device goes away just before closing
        bool readBack; // a read-back instead of the list
    };
    const std::vector<TRow> rows = {
        // Nobody reads the line: the write of a long line blocks once the queue is full.
        {"while a write blocks", {std::string(1 << 20, 'A')}, false, false},
        {"while the exchange waits for a reply", {"BG", "EN"}, false, false},
        {"while the device is vanishing", {"BG", "EN"}, true, false},
        {"while a read-back waits for its answer", {}, false, true},
    };
    for (const TRow& row : rows) {
        SCOPED_TRACE(row.name);
        TPtyPeer line;
        line.Link(dir / "ports", 2);
        auto program = std::make_unique<TController>(dispatcher, views.Views());
        program->Port().SetPortsDir((dir / "ports").string());
        program->Port().SetPortNumber(2);
        program->Port().Open();
        ASSERT_TRUE(program->Port().Connected());
        program->Port().SetReceiving(true);
        program->CommonDatas().ReplyTimeout = 600000;
        program->MemoSend().SetLines(row.list);
        if (row.readBack)
            program->ChanRead().btnReadClick();
        else
            program->btnRunTRClick();
        ASSERT_TRUE(line.Readable(5000)); // the exchange or the read is under way
        if (row.vanish)
            line.Close();
        program.reset();    // would wait ten minutes, or for ever, if it waited for the line
        dispatcher.Drain(); // posts of the ended threads must not touch freed objects
    }
}

} // namespace
