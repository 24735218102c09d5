// The send journal of real exchanges over a pseudo-terminal, read back with the reader.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "controller_on_pty.h"
#include "journal/journal.h"

using namespace zav;
using namespace zav::test;

namespace {

class JournalOnPty : public ControllerOnPty {
protected:
    JournalOnPty() : ControllerOnPty("journal") {
        controller->Port().Open();
        controller->Port().SetReceiving(true);
    }
    // Waits until the journal of the last send, as read, satisfies done; returns it.
    std::optional<TJournal> WaitJournal(const std::function<bool(const TJournal&)>& done) {
        std::optional<TJournal> journal;
        dispatcher.ProcessUntil(
            [&] {
                TJournalProblem problem;
                const auto path = controller->SendJournal().Current();
                journal = path.empty() ? std::nullopt : ReadJournal(path, problem);
                return journal && done(*journal);
            },
            10000);
        return journal;
    }
};

struct ExchangeRow {
    const char* what;
    const char* silentAt; // the request the controller leaves unanswered
    bool unplugAtSilence; // and then the device goes
    std::vector<std::pair<std::size_t, std::string>> entries; // line, outcome
    TJournalEnd end;
};

TEST_F(JournalOnPty, EachExchangeLeavesAJournalOfItsLinesAndHowItEnded) {
    const ExchangeRow rows[] = {
        {"completed",
         "",
         false,
         {{0, "accepted"}, {2, "accepted"}, {3, "accepted"}},
         TJournalEnd::Completed},
        {"no reply stops it",
         "MV100*",
         false,
         {{0, "accepted"}, {2, "no-answer"}},
         TJournalEnd::Stopped},
        // The line in flight when the device went has no record: no reply ended it.
        {"device unplugged", "MV100*", true, {{0, "accepted"}}, TJournalEnd::DeviceLost},
    };
    const std::vector<std::string> list = {"BG", "", "MV100", "EN"};
    for (const ExchangeRow& row : rows) {
        SCOPED_TRACE(row.what);
        const std::string silentAt = row.silentAt;
        TScriptedController plc(peer, [&](const std::string& request) {
            return request == silentAt ? std::string() : request + "E10*";
        });
        // The silent line's wait is the only one to run out, even on a loaded machine.
        const bool timesOut = *row.silentAt && !row.unplugAtSilence;
        controller->CommonDatas().ReplyTimeout = timesOut ? 2000 : 10000;
        controller->MemoSend().SetLines(list);
        ASSERT_TRUE(controller->btnRunTRClick());
        if (row.unplugAtSilence) {
            ASSERT_TRUE(plc.WaitForRequests(2, 10000));
            plc.Stop();
            peer.Close();
            // The exchange has ended, and the window thread (this one) has not yet taken
            // its end: the file is as a crash at this point would leave it, each line in it.
            ASSERT_TRUE(controller->ExchangeControl().WaitEnded(10000));
            TJournalProblem problem;
            const auto cut = ReadJournal(controller->SendJournal().Current(), problem);
            ASSERT_TRUE(cut);
            EXPECT_EQ(cut->End, TJournalEnd::Open);
            EXPECT_EQ(cut->Entries.size(), 1u);
        }
        const auto journal =
            WaitJournal([](const TJournal& j) { return j.End != TJournalEnd::Open; });
        plc.Stop();
        ASSERT_TRUE(journal);
        EXPECT_EQ(journal->Lines, list);
        EXPECT_EQ(journal->FirstLine, 0u);
        std::vector<std::pair<std::size_t, std::string>> entries;
        for (const TJournalEntry& entry : journal->Entries) {
            entries.emplace_back(entry.Line, entry.Outcome);
            EXPECT_EQ(entry.Request, list[entry.Line]);
        }
        EXPECT_EQ(entries, row.entries);
        EXPECT_EQ(journal->Entries[0].Reply, "E10*");
        EXPECT_EQ(journal->End, row.end);
        EXPECT_EQ(EndedNormally(*journal), row.end != TJournalEnd::DeviceLost);
        EXPECT_EQ(UnfinishedJournals(dir / "Log").size(), row.unplugAtSilence ? 1u : 0u);
    }
}

} // namespace
