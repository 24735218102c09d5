// Each fault of the line, as zavsim plays it, shows on the link health: the counts of the
// run after a list of five commands (two where said).

#include <gtest/gtest.h>

#include <functional>
#include <tuple>

#include "sim_fixture.h"

using namespace zav;
using namespace zav::test;

namespace {

// What the indicator shows of a run, but for the reply times.
auto Shown(const TLinkCounts& c) {
    return std::make_tuple(c.InTime, c.EchoMismatches, c.EchoesMissing, c.TransferErrors,
                           c.TimeOuts, c.PortLosses, c.Colour);
}

TEST_F(SimFixture, EachFaultOfTheLineShowsOnTheLinkHealth) {
    const std::vector<std::string> five = {"BG", "EN", "DL", "DR", "ED"};
    const TLinkColour G = TLinkColour::Green, A = TLinkColour::Amber;
    struct TRow {
        const char* name;
        std::function<void(zavsim::TSimOptions&)> fault;
        int replyTimeout;
        std::vector<std::string> list;
        // in time, echo mismatches, missing echoes, transfer errors, time-outs, port losses
        std::tuple<std::size_t, std::size_t, std::size_t, std::size_t, std::size_t, std::size_t,
                   TLinkColour>
            shown;
    };
    const std::vector<TRow> rows = {
        {"silent from the start",
         [](auto& o) { o.SilentAfter = 0; },
         300,
         five,
         {0, 0, 0, 0, 1, 0, A}},
        {"silent mid-list", [](auto& o) { o.SilentAfter = 2; }, 300, five, {2, 0, 0, 0, 1, 0, A}},
        // The recovery's ED* is garbled too: two on the line.
        {"--e5-every 1", [](auto& o) { o.E5Every = 1; }, 5000, five, {0, 0, 0, 2, 0, 0, A}},
        {"--e5-every 3", [](auto& o) { o.E5Every = 3; }, 5000, five, {2, 0, 0, 1, 0, 0, A}},
        {"--split", [](auto& o) { o.Split = true; }, 1000, five, {5, 0, 0, 0, 0, 0, G}},
        // A device lost while the reply is awaited ends the exchange at once: the line in
        // flight is no time-out, the loss is counted.
        {"hang-up mid-exchange",
         [](auto& o) { o.HangupAfter = 2; },
         10000,
         five,
         {2, 0, 0, 0, 0, 1, A}},
        {"hang-up between commands",
         [](auto& o) { o.HangupAfter = 2; },
         10000,
         {"BG", "EN"},
         {2, 0, 0, 0, 0, 1, A}},
        {"simulator at 110 baud", [](auto& o) { o.Baud = 110; }, 300, five, {0, 0, 0, 0, 1, 0, A}},
        {"1 MB without a reply end",
         [](auto& o) { o.NoiseAt = 2; },
         300,
         five,
         {1, 0, 0, 0, 1, 0, A}},
        {"a changed digit",
         [](auto& o) { o.CorruptAt = 3; },
         5000,
         {"BG", "EN", "MV1000", "MV500", "ED"},
         {3, 1, 0, 0, 0, 0, A}},
    };
    for (const TRow& row : rows) {
        SCOPED_TRACE(row.name);
        zavsim::TSimOptions options;
        row.fault(options);
        controller.reset();
        dispatcher.Drain();
        sim.reset();
        Start(options);
        Datas().ReplyTimeout = row.replyTimeout;
        Send(row.list);
        ASSERT_TRUE(ExchangeDone());
        // A transfer error of the recovery and a lost port may come after the end.
        Until([&] { return Shown(controller->LinkHealth().Counts()) == row.shown; }, 5000);
        EXPECT_EQ(Shown(controller->LinkHealth().Counts()), row.shown);
    }
    // A stray byte before a reply: an echo with noise before it is no fault, and a coded
    // reply made unreadable is the one time-out, after which the list stops.
    for (const double garbage : {0.01, 0.3}) {
        zavsim::TSimOptions options;
        options.Garbage = garbage;
        options.RandomStart = 7;
        controller.reset();
        dispatcher.Drain();
        sim.reset();
        Start(options);
        Datas().ReplyTimeout = 300;
        Send(five);
        ASSERT_TRUE(ExchangeDone());
        const TLinkCounts c = controller->LinkHealth().Counts();
        const std::size_t sent = sim->Requests().size();
        EXPECT_EQ(c.InTime + c.TimeOuts, sent) << garbage;
        EXPECT_EQ(c.TimeOuts, sent < five.size() ? 1u : 0u) << garbage;
        EXPECT_EQ(c.EchoMismatches + c.EchoesMissing + c.TransferErrors, 0u) << garbage;
    }
}

} // namespace
