// The program's core against the controller simulator over a real pseudo-terminal: the
// test thread is the main thread, zavsim plays the controller.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "sim_fixture.h"

using namespace zav;
using namespace zav::test;
using ::testing::Contains;
using ::testing::ElementsAre;
using ::testing::ElementsAreArray;

namespace {

// Remembers every colour indicator 1 was given, as the states it stands for.
class StateHistoryView : public FakeCommonDatasView {
public:
    void SetIndicatorColor(int n, TColor color) override {
        FakeCommonDatasView::SetIndicatorColor(n, color);
        if (n != 1)
            return;
        const TColor colors[4] = {{0, 128, 0}, {255, 0, 0}, {255, 255, 0}, {0, 0, 0}};
        for (int state = 0; state < 4; ++state)
            if (color == colors[state] && (history.empty() || history.back() != state))
                history.push_back(state);
    }
    std::vector<int> history;
};

class EndToEnd : public SimFixture {
protected:
    // The indicators of coordinate 1 are remembered as the states they stand for.
    void Start(zavsim::TSimOptions options = {}) {
        TControllerViews v = views.Views();
        v.CommonDatasView = &history;
        SimFixture::Start(options, v);
    }
    ~EndToEnd() override { controller.reset(); } // before the history it reports to

    StateHistoryView history;
};

TEST_F(EndToEnd, OneRequestFromRecordingToCompletion) {
    Start();
    Send({"LD1", "BG", "EN", "AL0", "SD200", "DL", "MV200", "ED", "ST1"});
    ASSERT_TRUE(ExchangeDone());
    // The program runs (200 steps at 200 steps/s, scaled) and reports code 4.
    // States change where the replies arrive; the indicators follow on this thread.
    ASSERT_TRUE(Until([&] { return views.log.lines.size() >= 5 && !Datas().AnyStarted; }));
    EXPECT_THAT(views.log.Texts(),
                ElementsAre(M(30) + "1" + M(31), M(28) + "1" + M(29), M(30) + "1" + M(32),
                            "Coord 1: program executing", M(30) + "1" + M(35)));
    ASSERT_TRUE(Until([&] { return history.history.size() >= 5; }));
    EXPECT_THAT(history.history, ElementsAre(0, 2, 0, 1, 0)); // each state shown in turn
    EXPECT_EQ(controller->MemoRead().Count(), 6u); // BG .. MV200, each with its acknowledgement
    EXPECT_FALSE(Datas().AnyStarted);
}

TEST_F(EndToEnd, SilentControllerGetsOneRequestAndARedNoReply) {
    zavsim::TSimOptions options;
    options.SilentAfter = 0;
    Start(options);
    Datas().ReplyTimeout = 300;
    Send({"BG", "EN", "DL"});
    ASSERT_TRUE(ExchangeDone());
    ASSERT_TRUE(Until([&] { return !views.log.lines.empty(); }));
    EXPECT_THAT(views.log.Texts(), ElementsAre(M(22)));
    EXPECT_TRUE(views.log.Red(0));
    EXPECT_THAT(sim->Requests(), ElementsAre("BG"));
}

TEST_F(EndToEnd, CommandErrorOnTheSecondLineStopsOnlyWhenSetTo) {
    Start();
    // An unknown command while coordinate 2 records is refused with E26*.
    Send({"LD2", "XX", "ED"});
    ASSERT_TRUE(ExchangeDone());
    EXPECT_THAT(sim->Requests(), ElementsAre("LD2", "XX"));
    ASSERT_TRUE(Until([&] { return views.log.lines.size() >= 2; }));
    EXPECT_TRUE(views.log.Red(views.log.lines.size() - 1));

    Datas().StopOnCommandError = 0;
    Send({"LD2", "XX", "ED"});
    ASSERT_TRUE(ExchangeDone());
    EXPECT_THAT(sim->Requests(), ElementsAre("LD2", "XX", "LD2", "XX", "ED"));
    EXPECT_EQ(Datas().Coord2State, 0);
}

TEST_F(EndToEnd, DataTransferErrorStopsTheListAndRunsTheRecovery) {
    zavsim::TSimOptions options;
    options.E5Every = 2;
    Start(options);
    Datas().ReplyTimeout = 5000;
    Send({"LD1", "BG", "EN", "ED"});
    ASSERT_TRUE(ExchangeDone(3000)); // at once, not after the reply time-out
    ASSERT_TRUE(sim->WaitForRequests(3, std::chrono::seconds(5)));
    ASSERT_TRUE(Until([&] { return views.log.lines.size() >= 6; }));
    // The list stops at the failed BG; the recovery's ED* ends the recording, and its
    // acknowledgement is not taken for BG's reply: EN never goes out as a direct command.
    EXPECT_THAT(sim->Requests(), ElementsAre("LD1", "BG", "ED"));
    EXPECT_THAT(views.log.Texts(),
                ElementsAre(M(30) + "1" + M(31), M(12),
                            M(msgListStoppedAtLine) + "2" + M(msgListStoppedOf) + "4", M(41), M(40),
                            M(msgRecordingCut) + "1" + M(msgRecordingCutEnd)));
    EXPECT_TRUE(views.log.Red(1) && views.log.Red(2) && views.log.Red(5));
    EXPECT_THAT(views.messageBox.shown, ElementsAre(M(12)));
    EXPECT_EQ(Datas().Coord1State, 0);
}

TEST_F(EndToEnd, RepliesSplitAcrossWritesAreReassembled) {
    zavsim::TSimOptions options;
    options.Split = true;
    Start(options);
    Send({"LD3", "MV10", "ED", "ST3"});
    ASSERT_TRUE(ExchangeDone());
    // The log line is posted before the started flag is cleared, where the reply arrives.
    ASSERT_TRUE(Until([&] {
        return testing::Value(views.log.Texts(), Contains(M(30) + "3" + M(35))) &&
               !Datas().AnyStarted;
    }));
    EXPECT_EQ(Datas().Coord3State, 0);
    EXPECT_EQ(sim->Requests().size(), 4u);
}

TEST_F(EndToEnd, ControllerHangingUpMidExchange) {
    zavsim::TSimOptions options;
    options.HangupAfter = 1;
    Start(options);
    Datas().ReplyTimeout = 300;
    Send({"BG", "EN", "DL"});
    ASSERT_TRUE(ExchangeDone());
    ASSERT_TRUE(Until([&] { return !controller->Port().Connected(); }));
    ASSERT_TRUE(Until([&] {
        for (const auto& text : views.log.Texts())
            if (text.find("was lost") != std::string::npos)
                return true;
        return false;
    }));

    // A new controller on the same port: it can be opened and used again.
    zavsim::TSimOptions fresh;
    fresh.Port = 1;
    fresh.PortsDir = (folder.Path() / "ports").string();
    sim.reset(); // first, so that its clean-up cannot take the new link with it
    sim = std::make_unique<TSimPeer>(fresh);
    sim->Start();
    OpenPort();
    ASSERT_TRUE(controller->Port().Connected());
    // The short reply time was for the hang-up: on a loaded machine it would end this
    // send before the simulator has read the line.
    Datas().ReplyTimeout = 10000;
    Send({"BG"});
    ASSERT_TRUE(ExchangeDone());
    EXPECT_THAT(sim->Requests(), ElementsAre("BG"));
}

// The simulator hangs up and a new one takes its link: the port is reopened with the
// settings it had, and the line works again.
TEST_F(EndToEnd, LostDeviceIsReopenedWhenItIsBack) {
#ifdef _WIN32
    GTEST_SKIP() << "a port mapped by Wine is not in the system's list of serial ports";
#else
    zavsim::TSimOptions options;
    options.HangupAfter = 1;
    Start(options);
    ManualTimer timer;
    controller->Reconnect().AttachTimer(&timer);
    controller->Port().SetBaudIndex(8);
    controller->PortConnection()
        .btnOpenPortClick(); // as the operator does: what was opened is known
    views.log.lines.clear();
    const std::string device = sim->SlavePath();
    Send({"BG", "EN"});
    ASSERT_TRUE(Until([&] { return timer.running && !controller->ExchangeRunning(); }));
    ASSERT_EQ(views.log.lines.size(), 2u);
    EXPECT_TRUE(views.log.Red(0));
    EXPECT_EQ(views.log.lines[1].text, "Com1 (" + device + ")" + M(msgReconnectWaiting));

    sim.reset();
    options = {};
    options.Port = 1;
    options.PortsDir = (folder.Path() / "ports").string();
    sim = std::make_unique<TSimPeer>(options); // takes over the link COM1
    sim->Start();
    timer.Tick();
    ASSERT_TRUE(controller->Port().Connected());
    EXPECT_FALSE(timer.running);
    ASSERT_EQ(views.log.lines.size(), 3u);
    EXPECT_THAT(views.log.lines[2].text,
                ::testing::StartsWith("Com1 (" + sim->SlavePath() + ")" + M(msgPortReconnected) +
                                      "19200" + M(msgBaud)));
    Send({"BG"});
    ASSERT_TRUE(ExchangeDone());
    dispatcher.Drain();
    EXPECT_THAT(sim->Requests(), ElementsAre("BG"));
    EXPECT_EQ(views.log.lines.size(), 3u) << views.log.lines.back().text; // no "no reply"
#endif
}

// Every fault of the line, one row each: the list ends within the row's bound, each
// report reaches the log once, nothing of the list goes out after the exchange should
// have stopped, and the settings files are left alone.
TEST_F(EndToEnd, FaultMatrix) {
    Start(); // for the message texts
    const std::vector<std::string> five = {"BG", "EN", "DL", "DR", "ED"};
    const std::string lost = "was lost";
    struct TRow {
        const char* name;
        std::function<void(zavsim::TSimOptions&)> fault;
        int replyTimeout;
        std::vector<std::string> list;
        int boundMs;                       // the exchange has ended by then
        std::vector<std::string> requests; // exactly these reach the controller; empty: a
                                           // prefix of the list
        std::vector<std::string> required; // log lines that must appear (a part of a line
                                           // for the port loss)
        std::vector<std::string> allowed;  // further lines that may appear
        std::vector<std::string> boxes;
        bool connected;
    };
    auto stopped = [&](int n) {
        return M(msgListStoppedAtLine) + std::to_string(n) + M(msgListStoppedOf) + "5";
    };
    const std::vector<TRow> rows = {
        {"silent from the start",
         [](auto& o) { o.SilentAfter = 0; },
         300,
         five,
         3000,
         {"BG"},
         {M(22)},
         {},
         {},
         true},
        {"silent mid-list",
         [](auto& o) { o.SilentAfter = 2; },
         300,
         five,
         3000,
         {"BG", "EN", "DL"},
         {M(22)},
         {},
         {},
         true},
        {"--e5-every 1",
         [](auto& o) { o.E5Every = 1; },
         5000,
         five,
         3000,
         {"BG", "ED"},
         {M(12), stopped(1), M(41), M(40)},
         {},
         {M(12)},
         true},
        {"--e5-every 3",
         [](auto& o) { o.E5Every = 3; },
         5000,
         five,
         3000,
         {"BG", "EN", "DL", "ED"},
         {M(12), stopped(3), M(41), M(40)},
         {},
         {M(12)},
         true},
        {"--garbage 0.01",
         [](auto& o) {
             o.Garbage = 0.01;
             o.RandomStart = 7;
         },
         300,
         five,
         5000,
         {},
         {},
         {M(22)},
         {},
         true},
        {"--garbage 0.3",
         [](auto& o) {
             o.Garbage = 0.3;
             o.RandomStart = 7;
         },
         300,
         five,
         5000,
         {},
         {},
         {M(22)},
         {},
         true},
        {"--split", [](auto& o) { o.Split = true; }, 1000, five, 10000, five, {}, {}, {}, true},
        // The third line may go out before the line is found gone: a prefix.
        {"hang-up mid-exchange",
         [](auto& o) { o.HangupAfter = 2; },
         10000,
         five,
         5000,
         {},
         {lost},
         {M(msgReconnectWaiting)},
         {},
         false},
        {"hang-up between commands",
         [](auto& o) { o.HangupAfter = 2; },
         10000,
         {"BG", "EN"},
         5000,
         {"BG", "EN"},
         {lost},
         {M(msgReconnectWaiting)},
         {},
         false},
        {"simulator at 110 baud, program at 9600",
         [](auto& o) { o.Baud = 110; },
         300,
         five,
         3000,
         {"BG"},
         {M(22)},
         {},
         {},
         true},
        {"1 MB without a reply end",
         [](auto& o) { o.NoiseAt = 2; },
         300,
         five,
         10000,
         {"BG", "EN"},
         {M(msgDiscarded), M(22)},
         {},
         {},
         true},
    };
    for (const TRow& row : rows) {
        SCOPED_TRACE(row.name);
        zavsim::TSimOptions options;
        row.fault(options);
        controller.reset();
        dispatcher.Drain();
        sim.reset(); // first, so that its clean-up cannot take the new link with it
        folder.Write("Data/portp.dat", "\x01\x02settings\r\n");
        Start(options);
        controller->Port().SetBaudIndex(6);
        Datas().ReplyTimeout = row.replyTimeout;
        Send(row.list);
        ASSERT_TRUE(ExchangeDone(row.boundMs));
        const auto has = [&](const std::string& wanted) {
            for (const auto& text : views.log.Texts())
                if (text.find(wanted) != std::string::npos)
                    return true;
            return false;
        };
        ASSERT_TRUE(Until([&] {
            return std::all_of(row.required.begin(), row.required.end(), has) &&
                   views.messageBox.shown.size() >= row.boxes.size();
        }));
        if (!row.requests.empty()) {
            ASSERT_TRUE(sim->WaitForRequests(row.requests.size(), std::chrono::seconds(5)));
            // A recovery that answered its own failure with another would go on for ever.
            EXPECT_FALSE(
                sim->WaitForRequests(row.requests.size() + 1, std::chrono::milliseconds(500)));
            EXPECT_EQ(sim->Requests(), row.requests);
        } else {
            const auto sent = sim->Requests();
            ASSERT_LE(sent.size(), row.list.size());
            EXPECT_TRUE(std::equal(sent.begin(), sent.end(), row.list.begin()));
            // A list that stopped early says so (a lost port in its own words).
            if (row.connected) {
                EXPECT_EQ(has(M(22)), sent.size() < row.list.size());
            }
        }
        dispatcher.Drain();
        const auto texts = views.log.Texts();
        for (const auto& text : texts) {
            EXPECT_EQ(std::count(texts.begin(), texts.end(), text), 1) << text;
            const auto matches = [&](const std::string& w) {
                return text.find(w) != std::string::npos;
            };
            EXPECT_TRUE(std::any_of(row.required.begin(), row.required.end(), matches) ||
                        std::any_of(row.allowed.begin(), row.allowed.end(), matches))
                << text;
        }
        EXPECT_EQ(views.messageBox.shown, row.boxes);
        EXPECT_EQ(controller->Port().Connected(), row.connected);
        EXPECT_EQ(folder.Read("Data/portp.dat"), "\x01\x02settings\r\n");
    }
}

// Replies are taken where they arrive: a window thread that does not run for the whole
// exchange (about 2 s of line time at 9600 baud) does not make any of them late.
TEST_F(EndToEnd, BusyWindowThreadTimesNoReplyOut) {
    zavsim::TSimOptions options;
    options.Baud = 9600;
    Start(options);
    Datas().ReplyTimeout = 300;
    Send(std::vector<std::string>(150, "BG"));
    // This thread is the window thread; it waits here without running anything posted.
    ASSERT_TRUE(controller->ExchangeControl().WaitEnded(30000));
    EXPECT_EQ(sim->Requests().size(), 150u);
    // What is shown follows the replies: the last may still be on its way here.
    EXPECT_TRUE(Until([&] { return controller->lbBufRead().Count() == 301u; }))
        << controller->lbBufRead().Count(); // echo and reply of each, and the open line
    EXPECT_THAT(views.log.Texts(), ::testing::IsEmpty());
}

// Replies taken on the receive thread reach the window within a moment, also while the
// exchange waits a long time for the next: not only once the list has ended.
TEST_F(EndToEnd, ReceivedTextIsShownWhileTheNextReplyIsAwaited) {
    zavsim::TSimOptions options;
    options.SilentAfter = 2;
    Start(options);
    Datas().ReplyTimeout = 60000;
    Send({"BG", "BG", "BG"});
    EXPECT_TRUE(Until([&] { return controller->lbBufRead().Count() >= 4u; }, 5000))
        << controller->lbBufRead().Count(); // echo and reply of the two answered
    EXPECT_TRUE(controller->ExchangeRunning());
}

// A 2,000-command list at 9600 baud, stopped by the operator: the command in flight has
// its reply, nothing follows it, and the log says where the send stopped.
TEST_F(EndToEnd, StopSendingEndsAfterTheCommandInFlight) {
    struct TView : ISendProgressView {
        void SendStarted() override { ++started; }
        void SendEnded() override { ++ended; }
        int started = 0, ended = 0;
    } view;
    zavsim::TSimOptions options;
    options.Baud = 9600;
    Start(options);
    TSendProgress& progress = controller->SendProgress();
    progress.AttachView(&view);
    Send(std::vector<std::string>(2000, "MV10"));
    ASSERT_TRUE(Until([&] { return progress.State().Line >= 20; }));
    EXPECT_THAT(progress.Text(progress.State()),
                ::testing::HasSubstr(M(msgCtlLineOf) + "2000" + M(msgProgressElapsed)));
    ASSERT_TRUE(progress.StopSending());
    ASSERT_TRUE(ExchangeDone());
    controller->SettleReceived();
    dispatcher.Drain();

    const std::string prefix = M(msgSendStoppedAtLine);
    const auto texts = views.log.Texts();
    ASSERT_EQ(texts.size(), 1u) << ::testing::PrintToString(texts); // no "No reply" either
    ASSERT_EQ(texts[0].rfind(prefix, 0), 0u) << texts[0];
    const std::size_t line = std::stoul(texts[0].substr(prefix.size()));
    EXPECT_EQ(texts[0], prefix + std::to_string(line) + M(msgListStoppedOf) + "2000");
    EXPECT_EQ(sim->Requests().size(), line);
    EXPECT_EQ(Datas().LastError.Get(), "E10*"); // the last command's reply was taken
    EXPECT_EQ(view.started, 1);
    // The end reaches the window after the exchange thread has finished.
    EXPECT_TRUE(Until([&] { return view.ended == 1; }));
    EXPECT_FALSE(progress.StopSending()); // nothing runs any more
}

// The operator's stop waits for the reply in flight; a device lost meanwhile ends that
// wait at once, not after the reply time.
TEST_F(EndToEnd, LostDeviceEndsAWaitTheOperatorStopBegan) {
    zavsim::TSimOptions options;
    options.SilentAfter = 2;
    Start(options);
    Datas().ReplyTimeout = 60000;
    Send({"BG", "BG", "BG", "BG"});
    ASSERT_TRUE(sim->WaitForRequests(3, std::chrono::seconds(10)));
    ASSERT_TRUE(controller->SendProgress().StopSending());
    sim.reset();
    EXPECT_TRUE(ExchangeDone(10000));
}

// A program composed with the tool and program buttons, sent, then started.
TEST_F(EndToEnd, ProgramComposedWithTheButtonsRecordsAndRuns) {
    Start();
    TCommandEditor& editor = controller->Editor();
    editor.btnLD1Click(); // with BG and EN, the automatic additions
    editor.AddToolCommand(ciSD, "300");
    editor.AddToolCommand(ciMV, "2000");
    editor.btnEDClick();
    controller->btnRunTRClick();
    ASSERT_TRUE(ExchangeDone());
    editor.btnAllClearClick();
    editor.btnSTClick();
    controller->btnRunTRClick();
    ASSERT_TRUE(ExchangeDone());
    ASSERT_TRUE(Until([&] { return history.history.size() >= 5; }));
    EXPECT_THAT(sim->Requests(), ElementsAre("LD1", "BG", "EN", "SD300", "MV2000", "ED", "ST"));
    EXPECT_THAT(history.history, ElementsAre(0, 2, 0, 1, 0));
}

TEST_F(EndToEnd, DirectControlSendsEachCommandAloneAndKeepsWhatItCannotSend) {
    zavsim::TSimOptions options;
    options.Baud = 1200; // slow enough to find the exchange still running
    Start(options);
    Datas().ReplyTimeout = 5000;
    TCommandEditor& editor = controller->Editor();
    editor.chbDirectControlClick(true);
    editor.AddToolCommand(ciSD, "300");
    EXPECT_THAT(controller->MemoSend().Lines(), ElementsAre("SD300"));
    ASSERT_TRUE(ExchangeDone());
    editor.AddToolCommand(ciSD, "20000"); // refused: the list is emptied, nothing sent
    EXPECT_TRUE(controller->MemoSend().Empty());
    EXPECT_FALSE(controller->ExchangeRunning());

    editor.btnLD1Click(); // LD1 alone in direct control
    ASSERT_TRUE(controller->ExchangeRunning());
    editor.AddToolCommand(ciMV, "500");
    EXPECT_THAT(controller->MemoSend().Lines(), ElementsAre("MV500")); // kept, unsent
    EXPECT_THAT(views.log.Texts(), Contains(M(msgListNotSent)));
    ASSERT_TRUE(ExchangeDone());
    EXPECT_THAT(sim->Requests(), ElementsAre("SD300", "LD1"));
}

TEST_F(EndToEnd, SimpleModeWritesAndStartsTheSelectedCoordinates) {
    Start();
    Datas().SetSelectedCoords(true, false, true);
    TMotion motion;
    motion.Steps = "100";
    controller->SimpleMode().btnPuskClick(motion);
    ASSERT_TRUE(ExchangeDone());
    const std::vector<std::string> expected = {"LD1",   "BG", "EN",    "AL0", "SD200", "DL",
                                               "MV100", "ED", "LD3",   "BG",  "EN",    "AL0",
                                               "SD200", "DL", "MV100", "ED",  "ST1",   "ST3"};
    // Coordinate 1's end, while a start is known, may be taken as the answer to ST3 and
    // end the list before the simulator has read ST3.
    EXPECT_TRUE(sim->WaitForRequests(expected.size(), std::chrono::seconds(5)));
    EXPECT_THAT(sim->Requests(), ElementsAreArray(expected));
    // Both programs have ended, and the replies that said so have been taken in full: a
    // "program finished" still on its way would be taken as the answer to the first line
    // of the next list.
    ASSERT_TRUE(Until([&] {
        const auto texts = views.log.Texts();
        return testing::Value(texts, Contains(M(30) + "1" + M(35))) &&
               testing::Value(texts, Contains(M(30) + "3" + M(35))) && history.history.size() >= 5;
    })) << ::testing::PrintToString(views.log.Texts());
    controller->SettleReceived();
    EXPECT_EQ(Datas().Coord1State, 0);
    EXPECT_EQ(Datas().Coord3State, 0);

    controller->Tracking().btnTrackApplyClick(TTrackingValues{});
    ASSERT_TRUE(ExchangeDone());
    ASSERT_TRUE(sim->WaitForRequests(expected.size() + 4, std::chrono::seconds(5)));
    const auto requests = sim->Requests();
    EXPECT_THAT(std::vector<std::string>(requests.end() - 4, requests.end()),
                ElementsAre("SS200", "SD200", "AL0", "SC1"));
}

} // namespace

namespace {

// A program recorded into the controller comes back whole through "Load from device",
// even on a slow line where the answer takes far longer than the reply time-out, and
// the list taken over is saved as exactly what was recorded.
TEST_F(EndToEnd, RecordReadBackTakeOverAndSave) {
    zavsim::TSimOptions options;
    options.Baud = 4800;
    Start(options);
    std::vector<std::string> program;
    for (int i = 1; i <= 120; ++i)
        program.push_back(i % 3 ? "MV" + std::to_string(1000 + i) : "SD" + std::to_string(i));
    program.push_back("AL-100");
    program.push_back("AL+250");
    std::vector<std::string> recording = {"LD1"};
    recording.insert(recording.end(), program.begin(), program.end());
    recording.push_back("ED");
    Send(recording);
    ASSERT_TRUE(ExchangeDone(60000));
    ASSERT_EQ(sim->Requests().size(), recording.size());

    // The answer (some 800 characters) takes about 2 s: three times the time-out.
    Datas().ReplyTimeout = 600;
    TChanRead& read = controller->ChanRead();
    read.btnReadClick();
    ASSERT_TRUE(Until([&] { return !read.Reading(); }, 30000));
    EXPECT_EQ(read.StringGridRead.Lines(), program);
    read.btnAddToListClick();
    EXPECT_FALSE(controller->Editor().ListHasWrongCommand());

    std::filesystem::create_directories(folder.Path() / "Users");
    const std::string file = folder.File("Users/read.zav");
    ASSERT_TRUE(controller->Files().SaveToFile(file));
    controller->MemoSend().Clear();
    ASSERT_TRUE(controller->Files().LoadFromFile(file));
    EXPECT_EQ(controller->MemoSend().Lines(), program);

    // In direct control the command buffer is read.
    Datas().DirectControl = true;
    read.btnReadClick();
    ASSERT_TRUE(Until([&] { return !read.Reading(); }, 30000));
    EXPECT_EQ(sim->Requests().back(), "RB");
}

// The device goes while a read-back waits for its answer: the read ends at once, not
// after its reply time, the loss is logged once with no "No reply" after it, and nothing
// more is sent.
TEST_F(EndToEnd, HangUpMidReadBack) {
    zavsim::TSimOptions options;
    options.SilentAfter = 0;
    Start(options);
    Datas().ReplyTimeout = 60000;
    TChanRead& read = controller->ChanRead();
    read.btnReadClick();
    ASSERT_TRUE(sim->WaitForRequests(1, std::chrono::seconds(10)));
    EXPECT_THAT(sim->Requests(), ElementsAre("RD1"));
    sim.reset();
    ASSERT_TRUE(Until([&] { return !read.Reading(); }, 10000));
    ASSERT_TRUE(Until([&] { return !controller->Port().Connected(); }));
    dispatcher.Drain();
    const auto texts = views.log.Texts();
    EXPECT_EQ(std::count_if(texts.begin(), texts.end(),
                            [](const std::string& t) { return t.find("was lost") != t.npos; }),
              1);
    EXPECT_THAT(texts, ::testing::Not(Contains(M(22)))); // no "No reply" after it
    EXPECT_TRUE(read.MemoChan().empty());
}

} // namespace
