// The reply side around a send: how each send ends, and the recovery that runs outside
// the reply lock but before any further reply is processed.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <future>
#include <mutex>

#include "controller_on_pty.h"

using namespace zav;
using namespace zav::test;

namespace {

class ReplySide : public ControllerOnPty {
protected:
    ReplySide() : ControllerOnPty("reply-side") {}
};

TEST_F(ReplySide, EachSendEndsWithTheOutcomeOfItsLastLine) {
    controller->Port().Open();
    controller->Port().SetReceiving(true);
    TCommonDatas& datas = controller->CommonDatas();
    datas.ReplyTimeout = 300;
    datas.StopOnCommandError = 1;
    datas.StopOnDataError = 1;
    // Echo, then the coded reply that the request names; "EN" gets none.
    TScriptedController plc(peer, [](const std::string& request) -> std::string {
        if (request == "EN*")
            return "";
        const std::string code = request == "XX*" ? "E16*" : request == "SP5*" ? "E19*" : "E10*";
        return request + code;
    });
    // Each row differs from the one before, so a send that left the outcome alone fails.
    const struct {
        std::vector<std::string> lines;
        TSendOutcome outcome;
    } rows[] = {
        {{"XX", "BG"}, TSendOutcome::CommandError}, {{"BG"}, TSendOutcome::Accepted},
        {{"SP5", "BG"}, TSendOutcome::DataError},   {{"BG", "EN", "BG"}, TSendOutcome::NoAnswer},
        {{"BG", "BG"}, TSendOutcome::Accepted},
    };
    // Every line that got its coded reply, or ran out of time, is reported once, in order.
    struct TRecorder : IExchangeObserver {
        std::mutex mutex;
        std::vector<std::string> done;
        void ExchangeStarted(const std::vector<std::string>&) override {}
        void LineDone(const TExchangeRecord& r) override {
            std::lock_guard lock(mutex);
            done.push_back(std::to_string(r.Index) + r.Request + ":" + r.Reply);
        }
        void ExchangeEnded(TSendOutcome) override {}
    } recorder;
    controller->SendAction().AddObserver(recorder);
    for (const auto& row : rows) {
        SCOPED_TRACE(row.lines.front());
        controller->MemoSend().SetLines(row.lines);
        ASSERT_TRUE(controller->btnRunTRClick());
        dispatcher.ProcessUntil([&] { return controller->LastSendOutcome() == row.outcome; },
                                10000);
        ASSERT_EQ(controller->LastSendOutcome(), row.outcome);
        ASSERT_TRUE(dispatcher.ProcessUntil([&] { return !controller->ExchangeRunning(); }, 10000));
    }
    plc.Stop();
    // A stopping outcome ends the list at its line.
    EXPECT_EQ(plc.Requests(),
              (std::vector<std::string>{"XX*", "BG*", "SP5*", "BG*", "EN*", "BG*", "BG*"}));
    std::lock_guard lock(recorder.mutex);
    EXPECT_EQ(recorder.done,
              (std::vector<std::string>{"0XX:E16*", "0BG:E10*", "0SP5:E19*", "0BG:E10*",
                                        "1EN:", "0BG:E10*", "1BG:E10*"}));
}

TEST_F(ReplySide, RecoveryRunsWithoutTheReplyLockBeforeTheRestIsProcessed) {
    TCommonDatas& datas = controller->CommonDatas();
    datas.AutoRecovery = true;
    datas.RecoveryStopRecording = false;
    datas.RecoveryClearBuffers = false;
    bool lockFree = false;
    std::string keptMeanwhile;
    bool startedMeanwhile = true;
    // Outside the recovery, so that a lock held by mistake fails the test, not hangs it.
    std::future<std::string> other;
    controller->Replies().SetRecovery([&] {
        // Another thread reaches the kept text while the recovery runs.
        other =
            std::async(std::launch::async, [&] { return controller->Replies().ReceiveBuffer(); });
        lockFree = other.wait_for(std::chrono::seconds(10)) == std::future_status::ready;
        if (lockFree)
            keptMeanwhile = other.get();
        startedMeanwhile = datas.Coord1Started;
    });
    const std::string block = "E15*ST1*E10*";
    controller->HandleReceived(reinterpret_cast<const std::uint8_t*>(block.data()),
                               static_cast<std::uint32_t>(block.size()), 0);
    ASSERT_TRUE(lockFree);
    // Nothing after the error was processed while the recovery ran; all of it was after.
    EXPECT_EQ(keptMeanwhile, block);
    EXPECT_FALSE(startedMeanwhile);
    EXPECT_TRUE(datas.Coord1Started);
    EXPECT_EQ(datas.LastError.Get(), "E10*");
    EXPECT_EQ(controller->Replies().ReceiveBuffer(), "");
}

} // namespace
