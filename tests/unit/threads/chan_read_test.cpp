// The read-back window's logic with its thread; the test thread is the main thread
// and hands the controller's answer to reply processing itself.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>

#include "fakes.h"
#include "pty_peer.h"
#include "state/paths.h"

using namespace zav;
using namespace zav::test;
using ::testing::ElementsAre;
using ::testing::IsEmpty;

namespace {

class FakeChanReadView : public IChanReadView {
public:
    bool readEnabled = true;
    bool addToEnd = false;
    std::vector<std::string> memoChan;
    void SetReadEnabled(bool enabled) override { readEnabled = enabled; }
    bool AddToEnd() const override { return addToEnd; }
    void ShowMemoChan(const std::vector<std::string>& lines) override { memoChan = lines; }
};

class ChanRead : public ::testing::Test {
protected:
    ChanRead() {
        SetAppDir((std::filesystem::temp_directory_path() / "zav-no-lang").string());
        controller = std::make_unique<TController>(dispatcher, views.Views());
        Read().AttachView(&view);
        views.log.lines.clear();
        views.messageBox.shown.clear();
    }
    ~ChanRead() override {
        controller.reset();
        dispatcher.Drain();
        if (!portsDir.empty())
            std::filesystem::remove_all(portsDir);
    }
    // The Send action needs an open port: this one's far end never answers.
    void OpenSilentPort() {
        portsDir = std::filesystem::temp_directory_path() /
                   ("zav-chan-read-" + std::to_string(::getpid()));
        peer.Link(portsDir, 1);
        controller->Port().SetPortsDir(portsDir.string());
        controller->Port().SetPortNumber(1);
        controller->Port().Open();
        ASSERT_TRUE(controller->Port().Connected());
    }
    TChanRead& Read() { return controller->ChanRead(); }
    std::string M(int n) { return controller->Lang().Message(n); }
    // Presses "Read from controller", lets the controller answer, waits for the end.
    bool ReadAnswer(const std::string& answer) {
        Read().btnReadClick();
        if (!answer.empty())
            controller->ProcessReplies(answer);
        return dispatcher.ProcessUntil([&] { return !Read().Reading(); }, 10000);
    }

    TQueueDispatcher dispatcher;
    RecordingViews views;
    FakeChanReadView view;
    std::unique_ptr<TController> controller;
    TPtyPeer peer;
    std::filesystem::path portsDir;
};

TEST_F(ChanRead, ReadShowAppendAndTakeOver) {
    ASSERT_TRUE(ReadAnswer("RD1*E10*SD200*MV1000*ED*"));
    EXPECT_THAT(Read().StringGridRead.Lines(), ElementsAre("SD200", "MV1000"));
    EXPECT_THAT(view.memoChan, ElementsAre("RD1*SD200*MV1000*ED*"));
    EXPECT_TRUE(view.readEnabled);
    EXPECT_FALSE(controller->CommonDatas().ReadCapture);

    view.addToEnd = true;
    ASSERT_TRUE(ReadAnswer("RD1*XY5*BG*ED*"));
    EXPECT_THAT(Read().StringGridRead.Lines(), ElementsAre("SD200", "MV1000", "", "BG"));
    EXPECT_TRUE(Read().ReadHasWrongCommand());

    // Dragging keeps command and description together.
    const TCommandRow moved = Read().StringGridRead.Row(0);
    Read().StringGridReadRowMoved(1, 5);
    EXPECT_EQ(Read().StringGridRead.Row(3), moved);

    controller->MemoSend().Append("EN");
    Read().btnAddToListClick();
    EXPECT_EQ(controller->MemoSend().Rows(), Read().StringGridRead.Rows());
    EXPECT_TRUE(controller->Editor().ListHasWrongCommand());
    EXPECT_THAT(views.log.Texts(), ElementsAre(M(msgReadWrongCommand)));
    EXPECT_TRUE(views.log.Red(0));
}

TEST_F(ChanRead, SilentAndPartialAnswers) {
    controller->CommonDatas().ReplyTimeout = 100;
    ASSERT_TRUE(ReadAnswer("RD1*E10*BG*ED*"));
    ASSERT_TRUE(ReadAnswer(""));
    EXPECT_THAT(views.log.Texts(), ElementsAre(M(22)));
    EXPECT_TRUE(views.log.Red(0));
    EXPECT_THAT(Read().StringGridRead.Lines(), ElementsAre("BG")); // as it was

    views.log.lines.clear();
    ASSERT_TRUE(ReadAnswer("RD1*SD200*MV1"));
    EXPECT_THAT(views.log.Texts(), ElementsAre(M(msgNoCorrectProgram)));
    EXPECT_THAT(Read().StringGridRead.Lines(), ElementsAre("SD200"));
}

// However many items of a read are refused, the operator gets one message naming them
// (the first ten, each cut to 24 characters), and the items that were kept are listed.
TEST_F(ChanRead, RefusedItemsOfAReadAreReportedInOneMessage) {
    std::string twelve;
    for (int i = 0; i < 12; ++i)
        twelve += "MV0*";
    // 23 characters, then a letter of two bytes in UTF-8 where the cut at 24 falls.
    const std::string cyrillic = "SD" + std::string(21, '1') + "\xC6\xC6";
    const std::string long26 = "SD" + std::string(24, '7');
    struct TRow {
        const char* name;
        std::string answer;
        std::vector<std::string> kept;
        std::vector<std::string> messages; // after the catalogue text
    } rows[] = {
        {"none refused", "SD200*ED*", {"SD200"}, {}},
        {"two", "SD99999*SD200*MV0*ED*", {"SD200"}, {"SD99999, MV0"}},
        {"twelve",
         twelve + "BG*ED*",
         {"BG"},
         {"MV0, MV0, MV0, MV0, MV0, MV0, MV0, MV0, MV0, MV0, ... (12)"}},
        {"long items are cut",
         long26 + "*" + cyrillic + "*ED*",
         {},
         {long26.substr(0, 24) + "..., " + cyrillic.substr(0, 23) + "..."}},
    };
    for (const TRow& row : rows) {
        SCOPED_TRACE(row.name);
        views.messageBox.shown.clear();
        ASSERT_TRUE(ReadAnswer("RD1*E10*" + row.answer));
        EXPECT_EQ(Read().StringGridRead.Lines(), row.kept);
        std::vector<std::string> expected;
        for (const std::string& items : row.messages)
            expected.push_back(M(msgReadItemsRefused) + items);
        EXPECT_EQ(views.messageBox.shown, expected);
    }
}

TEST_F(ChanRead, RefusedWhenTheControllerIsBusy) {
    TCommonDatas& datas = controller->CommonDatas();
    datas.SetCoordState(1, 2); // recording
    Read().btnReadClick();
    datas.SetCoordState(1, 1); // executing
    Read().btnReadClick();
    datas.SetCoordState(1, 0);
    datas.ReplyTimeout = 600000;
    OpenSilentPort();
    controller->MemoSend().SetLines({"BG"});
    ASSERT_TRUE(controller->btnRunTRClick()); // waits for a reply that never comes
    Read().btnReadClick();
    EXPECT_THAT(views.messageBox.shown,
                ElementsAre(M(msgReadRecording), M(24), M(msgReadDuringExchange)));
    EXPECT_FALSE(Read().Reading());
}

TEST_F(ChanRead, ExchangeRefusedDuringARead) {
    controller->CommonDatas().ReplyTimeout = 600000;
    OpenSilentPort();
    Read().btnReadClick();
    ASSERT_TRUE(Read().Reading());
    EXPECT_FALSE(view.readEnabled);
    controller->MemoSend().SetLines({"BG"});
    EXPECT_FALSE(controller->btnRunTRClick());
    EXPECT_THAT(views.log.Texts(), ElementsAre(M(msgExchangeDuringRead)));
}

TEST_F(ChanRead, ClosingTheWindowDropsTheResult) {
    Read().btnReadClick();
    Read().FormClose();
    controller->ProcessReplies("RD1*SD200*ED*");
    ASSERT_TRUE(dispatcher.ProcessUntil([&] { return !Read().Reading(); }, 10000));
    EXPECT_THAT(Read().StringGridRead.Lines(), IsEmpty());
    EXPECT_THAT(Read().MemoChan(), IsEmpty());
    EXPECT_THAT(view.memoChan, IsEmpty());

    // Closing the program during a read neither hangs nor touches freed objects.
    controller->CommonDatas().ReplyTimeout = 600000;
    Read().AttachView(&view);
    Read().btnReadClick();
    controller.reset();
    dispatcher.Drain();
}

} // namespace
