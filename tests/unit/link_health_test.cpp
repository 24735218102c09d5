// The link health: records of lines and transfer errors in, counts, reply times and
// colour out.

#include <gtest/gtest.h>

#include "controller/link_health.h"

namespace zav {
namespace {

using std::chrono::milliseconds;

// A line answered after ms with the echo given; "-" stands for a transfer error, "t/o"
// for a line without a reply and "lost" for a lost port.
struct TEvent {
    std::string echo;
    int ms = 10;
};

TEST(LinkHealth, CountsFaultsTimesAndColour) {
    struct TRow {
        const char* name;
        std::vector<TEvent> events;
        TLinkCounts expected;
    };
    const TLinkColour G = TLinkColour::Green, A = TLinkColour::Amber, R = TLinkColour::Red;
    std::vector<TEvent> faultsThenClean = {{"-"}, {"t/o"}, {"MV9"}};
    for (int i = 0; i < 100; ++i)
        faultsThenClean.push_back({"MV1", i < 50 ? 5 : 7});
    const TRow rows[] = {
        {"nothing yet", {}, {}},
        {"clean replies",
         {{"MV1", 10}, {"MV1", 30}, {"MV1", 20}},
         {3, 0, 0, 0, 0, 0, true, milliseconds(20), milliseconds(30), G}},
        {"an even count takes the middle two",
         {{"MV1", 10}, {"MV1", 40}, {"MV1", 20}, {"MV1", 30}},
         {4, 0, 0, 0, 0, 0, true, milliseconds(25), milliseconds(40), G}},
        {"noise before the echo is no fault",
         {{"\x07MV1", 10}},
         {1, 0, 0, 0, 0, 0, true, milliseconds(10), milliseconds(10), G}},
        {"a changed echo",
         {{"MV9", 10}},
         {1, 1, 0, 0, 0, 0, true, milliseconds(10), milliseconds(10), A}},
        {"a missing echo",
         {{"", 10}},
         {1, 0, 1, 0, 0, 0, true, milliseconds(10), milliseconds(10), A}},
        {"a time-out has no reply time", {{"t/o"}}, {0, 0, 0, 0, 1, 0, false, {}, {}, A}},
        {"a transfer error",
         {{"-"}, {"MV1", 8}},
         {1, 0, 0, 1, 0, 0, true, milliseconds(8), milliseconds(8), A}},
        {"a lost port", {{"lost"}}, {0, 0, 0, 0, 0, 1, false, {}, {}, A}},
        {"three faults pile up",
         {{"-"}, {"MV1", 8}, {"t/o"}, {"MV9", 9}},
         {2, 1, 0, 1, 1, 0, true, milliseconds(8), milliseconds(9), R}},
        {"faults older than the last 100 stay counted but no longer red",
         faultsThenClean,
         {101, 1, 0, 1, 1, 0, true, milliseconds(6), milliseconds(7), A}},
    };
    for (const TRow& row : rows) {
        SCOPED_TRACE(row.name);
        TLinkHealth health;
        for (const TEvent& e : row.events) {
            if (e.echo == "-" || e.echo == "lost") {
                e.echo == "-" ? health.TransferError() : health.PortLost();
                continue;
            }
            TExchangeRecord record;
            record.Request = "MV1";
            const bool timeOut = e.echo == "t/o";
            record.Echo = timeOut ? "" : e.echo;
            record.Reply = timeOut ? "" : "E10*";
            record.Outcome = timeOut ? TSendOutcome::NoAnswer : TSendOutcome::Accepted;
            record.Latency = milliseconds(e.ms);
            health.LineDone(record);
        }
        EXPECT_EQ(health.Counts(), row.expected);
    }
}

// The window is told of a change once until it reads the counts.
TEST(LinkHealth, ChangesAreToldOnceUntilRead) {
    TLinkHealth health;
    int told = 0;
    health.SetChanged([&] { ++told; });
    health.TransferError();
    health.TransferError();
    EXPECT_EQ(told, 1);
    EXPECT_EQ(health.Counts().TransferErrors, 2u);
    health.TransferError();
    EXPECT_EQ(told, 2);
}

} // namespace
} // namespace zav
