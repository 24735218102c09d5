// Sending from a chosen line, reading back any coordinate, and resuming a cut send, each
// against the controller simulator over a pseudo-terminal.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <array>
#include <fstream>
#include <mutex>

#include "controller/line_send.h"
#include "journal/journal.h"
#include "program-editing/command_files.h"
#include "sim_fixture.h"

using namespace zav;
using namespace zav::test;
using ::testing::ElementsAreArray;

namespace {

using TPrograms = std::array<std::vector<zavsim::TStoredCommand>, 3>;

// The list indexes of the lines the exchanges reported done.
class IndexRecorder : public IExchangeObserver {
public:
    void ExchangeStarted(const std::vector<std::string>&) override {}
    void LineDone(const TExchangeRecord& record) override {
        std::lock_guard lock(mutex);
        indexes.push_back(record.Index);
    }
    void ExchangeEnded(TSendOutcome) override {}
    std::vector<std::size_t> Take() {
        std::lock_guard lock(mutex);
        return std::exchange(indexes, {});
    }
    std::mutex mutex;
    std::vector<std::size_t> indexes; // guarded by mutex
};

class SendParts : public SimFixture {
protected:
    ~SendParts() override { controller.reset(); } // before what it reports to

    std::filesystem::path LogFolder() const { return folder.Path() / "Log"; }
    // The simulator on COM 1 anew (its memory kept in memory), the port reopened on it.
    void NewSimulator(const std::string& memory, std::optional<std::uint64_t> hangupAfter = {}) {
        controller->Port().Close();
        sim.reset(); // first, so that its clean-up cannot take the new link with it
        zavsim::TSimOptions options;
        options.Port = 1;
        options.PortsDir = (folder.Path() / "ports").string();
        options.TimeScale = 0.01;
        options.MemoryFile = memory;
        options.HangupAfter = hangupAfter;
        sim = std::make_unique<TSimPeer>(options);
        sim->Start();
        OpenPort();
    }
    // The program ends and starts again on the same folder.
    void RestartProgram() {
        controller.reset();
        dispatcher.Drain();
        controller = std::make_unique<TController>(dispatcher, views.Views());
        Datas().ReplyTimeout = 5000;
        OpenPort();
    }
    // The journal of the last send has its end record: the send's end was taken back.
    bool LastJournalEnded() const {
        TJournalProblem problem;
        const auto journal = ReadJournal(LastJournal(LogFolder()), problem);
        return journal && journal->End != TJournalEnd::Open;
    }
    bool Logged(const std::string& part) const {
        for (const auto& line : views.log.lines)
            if (line.text.find(part) != std::string::npos)
                return true;
        return false;
    }
    TPrograms Programs() const { return {sim->Program(1), sim->Program(2), sim->Program(3)}; }

    IndexRecorder recorder;
};

TEST_F(SendParts, FromALineOrThatLineOnlyKeepsRecordingsWholeAndTheListsIndexes) {
    Start();
    controller->SendAction().AddObserver(recorder);
    const std::vector<std::string> list = {"BG", "LD2", "SD200", "MV100", "ED", "EN"};
    controller->MemoSend().SetLines(list);
    struct Row {
        const char* name;
        TLineSendKind kind;
        std::size_t line;
        bool asks; // the choice would cut a recording: the plan asks first
        std::vector<std::size_t> sent;
    };
    const Row rows[] = {
        {"from a line after the recording", TLineSendKind::FromLine, 5, false, {5}},
        {"from inside a recording: from its LD", TLineSendKind::FromLine, 3, true, {1, 2, 3, 4, 5}},
        {"only a line inside: its recording", TLineSendKind::LineOnly, 2, true, {1, 2, 3, 4}},
        {"only the ED: its recording", TLineSendKind::LineOnly, 4, true, {1, 2, 3, 4}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const std::size_t before = sim->Requests().size();
        const auto plan = PlanLineSend(list, row.line, row.kind, controller->Lang());
        ASSERT_TRUE(plan);
        EXPECT_EQ(!plan->Question.empty(), row.asks);
        ASSERT_TRUE(controller->SendAction().Run(plan->Range));
        ASSERT_TRUE(ExchangeDone());
        std::vector<std::string> expected;
        for (const std::size_t i : row.sent)
            expected.push_back(list[i]);
        const std::vector<std::string> requests = sim->Requests();
        EXPECT_THAT(
            std::vector<std::string>(requests.begin() + static_cast<long>(before), requests.end()),
            ElementsAreArray(expected));
        EXPECT_THAT(recorder.Take(), ElementsAreArray(row.sent));
        // The journal numbers lines in the whole list, starts where the send did and ends
        // complete at the end of the part sent.
        ASSERT_TRUE(Until([&] { return LastJournalEnded(); }));
        TJournalProblem problem;
        const auto journal = ReadJournal(LastJournal(LogFolder()), problem);
        ASSERT_TRUE(journal);
        EXPECT_EQ(journal->FirstLine, row.sent.front());
        EXPECT_EQ(journal->Lines, list);
        EXPECT_EQ(journal->End, TJournalEnd::Completed);
    }
    // An empty line and the grid's trailing row send nothing.
    EXPECT_FALSE(PlanLineSend({"BG", ""}, 1, TLineSendKind::FromLine, controller->Lang()));
    EXPECT_FALSE(PlanLineSend({"BG"}, 1, TLineSendKind::LineOnly, controller->Lang()));
}

TEST_F(SendParts, ReadBackOfAnyCoordinateAndItsRecordingKeptForTheTakeOver) {
    Start();
    const std::vector<std::vector<std::string>> programs = {
        {"SD100", "MV1000"}, {"SD200", "MV2000", "AL-100"}, {"MV3000"}};
    std::vector<std::string> list;
    for (int n = 1; n <= 3; ++n) {
        list.push_back("LD" + std::to_string(n));
        list.insert(list.end(), programs[n - 1].begin(), programs[n - 1].end());
        list.push_back("ED");
    }
    Send(list);
    ASSERT_TRUE(ExchangeDone());
    TChanRead& read = controller->ChanRead();
    for (const int n : {2, 3, 1}) {
        for (const bool keep : {false, true}) {
            SCOPED_TRACE("coordinate " + std::to_string(n) + (keep ? ", recording kept" : ""));
            read.SetReadCoordinate(n);
            read.SetKeepRecording(keep);
            read.btnReadClick();
            ASSERT_TRUE(Until([&] { return !read.Reading(); }));
            EXPECT_EQ(sim->Requests().back(), "RD" + std::to_string(n));
            EXPECT_EQ(read.StringGridRead.Lines(), programs[n - 1]);
            read.btnAddToListClick();
            std::vector<std::string> taken = programs[n - 1];
            if (keep) {
                taken.insert(taken.begin(), "LD" + std::to_string(n));
                taken.push_back("ED");
            }
            EXPECT_EQ(controller->MemoSend().Lines(), taken);
        }
    }
    // Sent, the list kept with its recording stores the program back where it was read:
    // coordinate 1's, emptied meanwhile.
    const auto taken = controller->MemoSend().Lines();
    Send({"LD1", "ED"});
    ASSERT_TRUE(ExchangeDone());
    ASSERT_TRUE(sim->Program(1).empty());
    Send(taken);
    ASSERT_TRUE(ExchangeDone());
    std::vector<std::string> stored;
    for (const auto& command : sim->Program(1))
        stored.push_back(command.ReadBackText());
    EXPECT_EQ(stored, programs[0]);
}

// A send cut by a hang-up, or by a crash that leaves its journal open, is found when the
// program starts again, offered once, and resumed: the simulator then holds the programs
// an uninterrupted send leaves.
TEST_F(SendParts, ResumeAfterACutLeavesTheProgramsOfAnUninterruptedSend) {
#ifdef _WIN32
    GTEST_SKIP() << "the simulator's memory file would be a Windows path on the Linux side";
#endif
    //                                    0      1        2         3         4     5     6
    const std::vector<std::string> list = {"LD1", "SD200", "MV1000", "MV2000", "ED", "BG", "EN",
                                           //  7    8        9        10        11    12
                                           "LD2", "SD300", "MV500", "AL-100", "ED", "DL"};
    // What the controller held before: the new programs differ from it.
    const std::string before = "R 0\nP 1 MV9\nP 2 MV9\nP 3 MV9\n";
    const auto memoryFile = [&](const std::string& name) {
        const std::string file = folder.File(name);
        std::ofstream(file, std::ios::binary) << before;
        return file;
    };
    Start();
    NewSimulator(memoryFile("whole.mem"));
    Send(list);
    ASSERT_TRUE(ExchangeDone());
    const TPrograms whole = Programs();
    ASSERT_EQ(whole[1].size(), 3u);

    struct Row {
        const char* name;
        std::uint64_t answered; // requests the simulator answers before it hangs up
        bool crash;             // the program died instead: its journal has no end
        bool inside;
    };
    const Row rows[] = {
        {"hang-up outside a recording", 6, false, false},
        {"hang-up inside a recording", 9, false, true},
        {"crash inside a recording", 9, true, true},
        {"crash outside a recording", 6, true, false},
    };
    // Outlives the loop: an offer the device's return posts may still come for the
    // controller of the row before.
    std::vector<TJournal> offered;
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        std::filesystem::remove_all(LogFolder());
        const std::string memory = memoryFile(std::string(row.name) + ".mem");
        NewSimulator(memory, row.answered);
        Send(list);
        ASSERT_TRUE(Until([&] { return !controller->Port().Connected() && LastJournalEnded(); }));
        if (row.crash) {
            // What a crash leaves: every record up to the last reply, and no end.
            const std::filesystem::path path = LastJournal(LogFolder());
            std::ifstream in(path, std::ios::binary);
            std::string text((std::istreambuf_iterator<char>(in)), {});
            in.close();
            const std::size_t end = text.rfind("end\t");
            ASSERT_NE(end, std::string::npos);
            text.erase(end);
            std::ofstream(path, std::ios::binary | std::ios::trunc) << text;
        }
        NewSimulator(memory);
        EXPECT_NE(Programs(), whole);
        RestartProgram();
        offered.clear();
        controller->Resume().ShowOffer = [&](const TJournal& journal) {
            offered.push_back(journal);
        };
        controller->Resume().OfferDue();
        ASSERT_EQ(offered.size(), 1u);
        EXPECT_EQ(offered[0].End, row.crash ? TJournalEnd::Open : TJournalEnd::DeviceLost);
        EXPECT_TRUE(sim->Requests().empty()); // nothing without the operator's answer
        const TResume::TOffer offer = controller->Resume().Describe(offered[0], false);
        EXPECT_EQ(offer.Point.EndRecordingFirst(), row.inside);

        ASSERT_TRUE(controller->Resume().Answer(offered[0], TResume::TAnswer::Resume, false));
        ASSERT_TRUE(Until(
            [&] { return !controller->Resume().Pending() && !controller->ExchangeRunning(); }));
        EXPECT_EQ(Programs(), whole);
        const std::vector<std::string> requests = sim->Requests();
        ASSERT_FALSE(requests.empty());
        EXPECT_EQ(requests.front() == "ED", row.inside);
        EXPECT_EQ(requests.back(), list.back());
        // Offered once: answered, it is not offered again.
        offered.clear();
        controller->Resume().OfferDue();
        EXPECT_TRUE(offered.empty());
    }
}

// A send cut by a lost device is offered as soon as the same device is back, and not
// before; the offer sends nothing.
TEST_F(SendParts, ACutSendIsOfferedWhenTheDeviceIsBack) {
#ifdef _WIN32
    GTEST_SKIP() << "a port mapped by Wine is not in the system's list of serial ports";
#else
    zavsim::TSimOptions options;
    options.HangupAfter = 1;
    Start(options);
    ManualTimer timer;
    controller->Reconnect().AttachTimer(&timer);
    controller->PortConnection().btnOpenPortClick(); // as the operator does
    std::vector<TJournal> offered;
    controller->Resume().ShowOffer = [&](const TJournal& journal) { offered.push_back(journal); };
    Send({"BG", "EN", "DL"});
    ASSERT_TRUE(Until([&] { return timer.running && !controller->SendAction().Busy(); }));
    EXPECT_TRUE(offered.empty());

    sim.reset();
    options = {};
    options.Port = 1;
    options.PortsDir = (folder.Path() / "ports").string();
    sim = std::make_unique<TSimPeer>(options); // takes over the link COM1
    sim->Start();
    timer.Tick();
    ASSERT_TRUE(controller->Port().Connected());
    ASSERT_EQ(offered.size(), 1u);
    EXPECT_EQ(offered[0].End, TJournalEnd::DeviceLost);
    EXPECT_EQ(offered[0].Lines, std::vector<std::string>({"BG", "EN", "DL"}));
    EXPECT_TRUE(sim->Requests().empty());
#endif
}

// What must not go wrong with an offer: a damaged journal is named and kept, a list file
// changed since is said, and an offer due while a send runs waits for its end.
TEST_F(SendParts, OfferSaysWhatIsWrongAndWaitsForARunningSend) {
    zavsim::TSimOptions options;
    options.Baud = 2400; // a send that lasts while the offer is due
    Start(options);
    std::filesystem::create_directories(LogFolder());
    const auto write = [&](const std::filesystem::path& path, const std::string& text) {
        std::ofstream(path, std::ios::binary) << text;
    };
    const std::filesystem::path damaged = LogFolder() / "send-20261209-110000-000.zvj";
    write(damaged, "ZAVJOURNAL 1\nstarted\tnot a time\n");
    // A cut send of a list whose file was edited afterwards.
    std::filesystem::create_directories(folder.Path() / "Users");
    const std::string listFile = folder.File("Users/list.zav");
    SaveCommandFiles(listFile, {{"BG", ""}, {"DL", ""}});
    write(LogFolder() / "send-20261209-120000-000.zvj",
          "ZAVJOURNAL 1\nstarted\t2026-12-09T12:00:00.000Z\nlist\t" + EscapeJournalText(listFile) +
              "\nfirst\t0\nlines\t2\nL\tBG\nL\tEN\n"
              "E\t2026-12-09T12:00:00.010Z\t0\taccepted\t3\tBG\t\tE10*\n");
    std::vector<std::string> offered;
    controller->Resume().ShowOffer = [&](const TJournal& journal) {
        offered.push_back(controller->Resume().Describe(journal, false).Text);
    };
    std::vector<std::string> list(40, "BG");
    Send(list);
    controller->Resume().OfferDue();
    EXPECT_TRUE(offered.empty());
    EXPECT_TRUE(Logged(M(msgResumeAfterSend)));
    ASSERT_TRUE(Until([&] { return !offered.empty(); }, 30000));
    EXPECT_FALSE(controller->ExchangeRunning());
    EXPECT_EQ(sim->Requests().size(), list.size()); // the offer itself sent nothing
    EXPECT_NE(offered[0].find(M(msgResumeListChanged)), std::string::npos);
    EXPECT_TRUE(Logged(M(msgResumeUnreadable) + damaged.string()));
    EXPECT_TRUE(std::filesystem::exists(damaged));
    // A send the Send action refuses (the port is closed) keeps the offer for later.
    controller->Port().Close();
    const std::vector<TJournal> due = controller->Resume().Unfinished();
    ASSERT_EQ(due.size(), 1u);
    EXPECT_FALSE(controller->Resume().Answer(due[0], TResume::TAnswer::StartAgain, false));
    EXPECT_EQ(controller->Resume().Unfinished().size(), 1u);
}

} // namespace
