// The program's core against the controller simulator over a real pseudo-terminal: the
// test thread is the main thread, zavsim plays the controller.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>

#include "fakes.h"
#include "state/paths.h"
#include "zavsim.h"

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

class EndToEnd : public ::testing::Test {
protected:
    void Start(zavsim::TSimOptions options = {}) {
        options.Port = 1;
        options.PortsDir = (folder.Path() / "ports").string();
        if (options.TimeScale == 1.0)
            options.TimeScale = 0.01;
        sim = std::make_unique<zavsim::TSimulator>(options);
        sim->Start();
        SetAppDir(folder.Path().string());
        TControllerViews v = views.Views();
        v.CommonDatasView = &history;
        controller = std::make_unique<TController>(dispatcher, v);
        OpenPort();
        views.log.lines.clear();
        views.messageBox.shown.clear();
    }
    void OpenPort() {
        controller->Port().SetPortsDir((folder.Path() / "ports").string());
        controller->Port().SetPortNumber(1);
        controller->Port().Open();
        controller->Port().SetReceiving(true);
    }
    ~EndToEnd() override {
        controller.reset();
        dispatcher.Drain();
    }

    void Send(std::vector<std::string> lines) {
        controller->MemoSend.SetLines(std::move(lines));
        controller->btnRunTRClick();
    }
    bool Until(const std::function<bool()>& done, int ms = 10000) {
        return dispatcher.ProcessUntil(done, ms);
    }
    bool ExchangeDone(int ms = 10000) {
        return Until([&] { return !controller->ExchangeRunning(); }, ms);
    }
    TCommonDatas& Datas() { return controller->CommonDatas(); }
    std::string M(int n) { return controller->Lang().Message(n); }

    TempFolder folder;
    TQueueDispatcher dispatcher;
    RecordingViews views;
    StateHistoryView history;
    std::unique_ptr<zavsim::TSimulator> sim;
    std::unique_ptr<TController> controller;
};

TEST_F(EndToEnd, OneRequestFromRecordingToCompletion) {
    Start();
    Send({"LD1", "BG", "EN", "AL0", "SD200", "DL", "MV200", "ED", "ST1"});
    ASSERT_TRUE(ExchangeDone());
    // The program runs (200 steps at 200 steps/s, scaled) and reports code 4.
    ASSERT_TRUE(Until([&] { return history.history.size() >= 4 && Datas().Coord1State == 0; }));
    EXPECT_THAT(history.history, ElementsAre(0, 2, 0, 1, 0));
    EXPECT_THAT(views.log.Texts(),
                ElementsAre(M(30) + "1" + M(31), M(28) + "1" + M(29), M(30) + "1" + M(32),
                            "Coord 1: program executing", M(30) + "1" + M(35)));
    EXPECT_EQ(controller->MemoRead.Count(), 6u); // BG .. MV200, each with its acknowledgement
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
    EXPECT_TRUE(views.log.Red(views.log.lines.size() - 1));

    Datas().StopOnCommandError = 0;
    Send({"LD2", "XX", "ED"});
    ASSERT_TRUE(ExchangeDone());
    EXPECT_THAT(sim->Requests(), ElementsAre("LD2", "XX", "LD2", "XX", "ED"));
    EXPECT_EQ(Datas().Coord2State, 0);
}

TEST_F(EndToEnd, DataTransferErrorRunsTheRecovery) {
    zavsim::TSimOptions options;
    options.E5Every = 2;
    Start(options);
    Datas().ReplyTimeout = 5000;
    Send({"BG", "EN"});
    ASSERT_TRUE(ExchangeDone());
    ASSERT_TRUE(sim->WaitForRequests(3, std::chrono::seconds(5)));
    // The recovery's ED* reaches the controller after the request that failed.
    EXPECT_THAT(sim->Requests(), ElementsAre("BG", "EN", "ED"));
    // The acknowledgement of that ED* is taken as the reply to EN, so the list ends
    // without a time-out.
    EXPECT_THAT(views.log.Texts(), ElementsAre(M(12), M(41), M(40)));
    EXPECT_TRUE(views.log.Red(0));
    EXPECT_THAT(views.messageBox.shown, ElementsAre(M(12)));
}

TEST_F(EndToEnd, RepliesSplitAcrossWritesAreReassembled) {
    zavsim::TSimOptions options;
    options.Split = true;
    Start(options);
    Send({"LD3", "MV10", "ED", "ST3"});
    ASSERT_TRUE(ExchangeDone());
    ASSERT_TRUE(Until([&] { return Datas().Coord3State == 0 && !Datas().AnyStarted; }));
    EXPECT_THAT(views.log.Texts(), Contains(M(30) + "3" + M(35)));
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
    sim = std::make_unique<zavsim::TSimulator>(fresh);
    sim->Start();
    OpenPort();
    ASSERT_TRUE(controller->Port().Connected());
    Send({"BG"});
    ASSERT_TRUE(ExchangeDone());
    EXPECT_THAT(sim->Requests(), ElementsAre("BG"));
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
    EXPECT_THAT(controller->MemoSend.Lines(), ElementsAre("SD300"));
    ASSERT_TRUE(ExchangeDone());
    editor.AddToolCommand(ciSD, "20000"); // refused: the list is emptied, nothing sent
    EXPECT_TRUE(controller->MemoSend.Empty());
    EXPECT_FALSE(controller->ExchangeRunning());

    editor.btnLD1Click(); // LD1 alone in direct control
    ASSERT_TRUE(controller->ExchangeRunning());
    editor.AddToolCommand(ciMV, "500");
    EXPECT_THAT(controller->MemoSend.Lines(), ElementsAre("MV500")); // kept, unsent
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
    EXPECT_THAT(sim->Requests(), ElementsAreArray(expected));
    ASSERT_TRUE(Until([&] {
        return Datas().Coord1State == 0 && Datas().Coord3State == 0 && history.history.size() >= 5;
    }));

    controller->Tracking().btnTrackApplyClick(TTrackingValues{});
    ASSERT_TRUE(ExchangeDone());
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
    options.Baud = 9600;
    Start(options);
    Datas().ReplyTimeout = 300;
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

    TChanRead& read = controller->ChanRead();
    read.btnReadClick();
    ASSERT_TRUE(Until([&] { return !read.Reading(); }, 30000));
    EXPECT_EQ(read.StringGridRead.Lines(), program);
    read.btnAddToListClick();
    EXPECT_FALSE(controller->Editor().ListHasWrongCommand());

    std::filesystem::create_directories(folder.Path() / "Users");
    const std::string file = folder.File("Users/read.zav");
    ASSERT_TRUE(controller->Files().SaveToFile(file));
    controller->MemoSend.Clear();
    ASSERT_TRUE(controller->Files().LoadFromFile(file));
    EXPECT_EQ(controller->MemoSend.Lines(), program);

    // In direct control the command buffer is read.
    Datas().DirectControl = true;
    read.btnReadClick();
    ASSERT_TRUE(Until([&] { return !read.Reading(); }, 30000));
    EXPECT_EQ(sim->Requests().back(), "RB");
}

} // namespace
