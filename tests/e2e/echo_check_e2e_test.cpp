// The echo check against a simulator whose line changes a digit of one request: the
// controller echoes, stores and carries out what it received.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <mutex>

#include "sim_fixture.h"

using namespace zav;
using namespace zav::test;

namespace {

// The records of every line, as the send journal and the link health get them.
class RecordingObserver : public IExchangeObserver {
public:
    void ExchangeStarted(const std::vector<std::string>&) override {}
    void LineDone(const TExchangeRecord& record) override {
        std::lock_guard lock(mutex);
        records.push_back(record);
    }
    void ExchangeEnded(TSendOutcome) override {}
    std::mutex mutex;
    std::vector<TExchangeRecord> records;
};

using Program = std::vector<zavsim::TStoredCommand>;

TEST_F(SimFixture, EchoCheckStopsTheListAtTheCorruptedLine) {
    Start();
    struct TRow {
        const char* name;
        bool check;
        std::vector<std::string> list;
        std::vector<std::string> requests; // what the controller received, in order
        Program stored;                    // coordinate 1's program at the end
        std::vector<std::string> log;      // the operation log, in order
        TSendOutcome outcome;              // the corrupted line's
    };
    const std::string mismatch = M(msgEchoMismatch) + "3" + M(msgListStoppedOf) + "5" +
                                 M(msgEchoMismatchSent) + "MV1000" + M(msgEchoMismatchEchoed) +
                                 "MV1900" + M(msgEchoMismatchEnd);
    const std::vector<std::string> recording = {"LD1", "SD200", "MV1000", "MV500", "ED"};
    const std::vector<TRow> rows = {
        // Inside a recording: the recovery ends it with its own ED, and the end is
        // reported as cut short.
        {"in a recording",
         true,
         recording,
         {"LD1", "SD200", "MV1900", "ED"},
         {{"SD", 200}, {"MV", 1900}},
         {M(30) + "1" + M(31), mismatch, M(41), M(40),
          M(msgRecordingCut) + "1" + M(msgRecordingCutEnd)},
         TSendOutcome::EchoMismatch},
        {"outside a recording",
         true,
         {"BG", "EN", "MV1000", "MV500", "DL"},
         {"BG", "EN", "MV1900"},
         {},
         {mismatch},
         TSendOutcome::EchoMismatch},
        {"check turned off",
         false,
         recording,
         {"LD1", "SD200", "MV1900", "MV500", "ED"},
         {{"SD", 200}, {"MV", 1900}, {"MV", 500}},
         {M(30) + "1" + M(31), M(28) + "1" + M(29)},
         TSendOutcome::Accepted},
    };
    for (const TRow& row : rows) {
        SCOPED_TRACE(row.name);
        controller.reset();
        dispatcher.Drain();
        sim.reset();
        zavsim::TSimOptions options;
        options.CorruptAt = 3;
        Start(options);
        RecordingObserver observer;
        controller->SendAction().AddObserver(observer);
        Datas().EchoCheck = row.check;
        Send(row.list);
        ASSERT_TRUE(ExchangeDone());
        ASSERT_TRUE(sim->WaitForRequests(row.requests.size(), std::chrono::seconds(5)));
        ASSERT_TRUE(Until([&] { return views.log.lines.size() >= row.log.size(); }));
        // Nothing of the list follows the corrupted line.
        EXPECT_FALSE(sim->WaitForRequests(row.requests.size() + 1, std::chrono::milliseconds(500)));
        EXPECT_EQ(sim->Requests(), row.requests);
        EXPECT_EQ(sim->Program(1), row.stored);
        dispatcher.Drain();
        EXPECT_EQ(views.log.Texts(), row.log);
        for (std::size_t i = 0; i < views.log.lines.size(); ++i)
            EXPECT_EQ(views.log.Red(i), views.log.lines[i].text == mismatch ||
                                            views.log.lines[i].text.starts_with(M(msgRecordingCut)))
                << views.log.lines[i].text;
        // The corrupted line's record carries the echo, and no line is reported after it
        // while the check is on.
        std::lock_guard lock(observer.mutex);
        ASSERT_EQ(observer.records.size(), row.check ? 3u : 5u);
        EXPECT_EQ(observer.records[2].Request, "MV1000");
        EXPECT_EQ(observer.records[2].Echo, "MV1900");
        EXPECT_EQ(observer.records[2].Outcome, row.outcome);
        controller.reset(); // before the observer goes
    }
}

} // namespace
