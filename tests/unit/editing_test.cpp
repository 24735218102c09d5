// The command list editor, the program buttons and simple mode, without a window and
// without a port: what each action leaves in the send list, and what it refuses.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>

#include "fakes.h"
#include "state/number_format.h"
#include "state/paths.h"

using namespace zav;
using namespace zav::test;

using ::testing::ElementsAre;
using ::testing::ElementsAreArray;
using ::testing::IsEmpty;

namespace {

class Editing : public ::testing::Test {
protected:
    Editing() {
        SetDecimalSeparator('.');
        // No language files: the built-in texts, each with its leading "*".
        SetAppDir((std::filesystem::temp_directory_path() / "zav-no-lang").string());
        controller = std::make_unique<TController>(dispatcher, views.Views());
        views.messageBox.shown.clear();
        views.log.lines.clear();
    }

    std::vector<std::string> Commands() const { return controller->MemoSend().Lines(); }
    std::vector<std::string> Descriptions() const {
        std::vector<std::string> texts;
        for (const TCommandRow& row : controller->MemoSend().Rows())
            texts.push_back(row.Description);
        return texts;
    }
    TCommandEditor& Editor() { return controller->Editor(); }
    TCommonDatas& Datas() { return controller->CommonDatas(); }
    std::string M(int n) { return controller->Lang().Message(n); }

    TQueueDispatcher dispatcher;
    RecordingViews views;
    std::unique_ptr<TController> controller;
};

TEST_F(Editing, RemovingAndDraggingKeepCommandsAndDescriptionsTogether) {
    // Grid rows 1..3 hold A, B, C; row 4 is the trailing empty row.
    struct Case {
        const char* action;
        int from, to; // delete: row in from
        std::vector<std::string> expected;
    } cases[] = {
        {"delete", 2, 0, {"A", "C"}},
        {"delete", 4, 0, {"A", "B", "C"}}, // the trailing empty row
        {"delete", 0, 0, {"A", "B", "C"}}, // the header
        {"move", 3, 1, {"C", "A", "B"}},
        {"move", 1, 3, {"B", "C", "A"}},
        {"move", 2, 2, {"A", "B", "C"}},
        {"move", 1, 4, {"B", "C"}},      // dropped onto the trailing row: deleted
        {"move", 4, 1, {"A", "B", "C"}}, // the trailing row cannot be dragged
        {"move", 1, 5, {"A", "B", "C"}}, // below the trailing row
        {"move", -1, 1, {"A", "B", "C"}},
    };
    for (const Case& c : cases) {
        controller->MemoSend().Clear();
        for (const char* command : {"A", "B", "C"})
            controller->MemoSend().Append(command, std::string("about ") + command);
        if (std::string(c.action) == "delete")
            Editor().btnDelRawClick(c.from);
        else
            Editor().StringGridSendRowMoved(c.from, c.to);
        EXPECT_EQ(Commands(), c.expected) << c.action << " " << c.from << " " << c.to;
        std::vector<std::string> about;
        for (const std::string& command : c.expected)
            about.push_back("about " + command);
        EXPECT_EQ(Descriptions(), about) << c.action << " " << c.from << " " << c.to;
    }
}

TEST_F(Editing, ProgramButtonsFollowTheAutomaticAdditions) {
    struct Case {
        bool bg, en;
        std::vector<std::string> expected;
    } cases[] = {
        {true, true, {"LD1", "BG", "EN", "ED", "ST", "PS1"}},
        {false, true, {"LD1", "EN", "ED", "ST", "PS1"}},
        {false, false, {"LD1", "ED", "ST", "PS1"}},
    };
    for (const Case& c : cases) {
        Editor().btnAllClearClick();
        Datas().AutoAddBG = c.bg;
        Datas().AutoAddEN = c.en;
        Editor().btnLD1Click();
        Editor().btnEDClick();
        Editor().btnSTClick();
        Editor().btnPS1Click();
        EXPECT_EQ(Commands(), c.expected) << c.bg << c.en;
    }
    EXPECT_EQ(Descriptions().front(), M(46) + "1" + M(44));
    EXPECT_FALSE(controller->ExchangeRunning()); // without direct control nothing is sent
}

TEST_F(Editing, BadValuesAddNothingAndShowOneMessage) {
    const std::string huge(10000, '7');
    struct Case {
        int index;
        std::string value;
        bool rangeMessage; // else message 14
    } cases[] = {
        {ciSD, "", true},     {ciSD, "1e30", true},   {ciSD, "-5", true},   {ciSD, "0x10", true},
        {ciSD, "   ", true},  {ciSD, "двести", true}, {ciSD, huge, true},   {ciAL, "1001", true},
        {ciMV, "0", true},    {ciSP, "1.5", false},   {ciSP, "1e3", false}, {ciSP, "5 ", false},
        {ciSF, "2.0", false}, {ciWL, "1.5", false},   {ciMH, "3.5", false}, {ciSB, "0x10", true},
        {ciJP, "-1", true},   {ciCF, huge, true},
    };
    for (const Case& c : cases) {
        views.messageBox.shown.clear();
        EXPECT_FALSE(Editor().AddToolCommand(c.index, c.value)) << c.index << " " << c.value;
        const std::string expected =
            c.rangeMessage ? controller->Commands().Commands(c.index).RangeMessage : M(14);
        EXPECT_THAT(views.messageBox.shown, ElementsAre(expected)) << c.index << " " << c.value;
    }
    EXPECT_THAT(Commands(), IsEmpty());
    // What is good is taken, the sign of a positive acceleration included.
    EXPECT_TRUE(Editor().AddToolCommand(ciAL, "15"));
    EXPECT_TRUE(Editor().AddToolCommand(ciSD, " 300 "));
    EXPECT_TRUE(Editor().AddToolCommand(ciMV, "no"));
    EXPECT_THAT(Commands(), ElementsAre("AL+15", "SD300", "MV"));
}

TEST_F(Editing, ClearAllAndTheDirectControlSwitchResetTheList) {
    Editor().AddToolCommand(ciBG, "no");
    controller->MemoRead().Add("BG* OK");
    Editor().SetListHasWrongCommand(true);
    Editor().chbDirectControlClick(true);
    EXPECT_TRUE(Datas().DirectControl);
    EXPECT_THAT(Commands(), IsEmpty());
    EXPECT_TRUE(controller->MemoRead().Empty());
    EXPECT_FALSE(Editor().ListHasWrongCommand());

    // The response list always ends with an open item.
    controller->lbBufRead().AppendReplies("ST1*E10*");
    Editor().btnlbbufclearClick();
    EXPECT_THAT(controller->lbBufRead().Lines(), ElementsAre(""));
}

// Simple mode builds its lists without sending: the selection and the states decide.
TEST_F(Editing, SimpleModeListsFollowSelectionAndStates) {
    const std::vector<std::string> motion13 = {"LD1",   "BG", "EN",    "AL0", "SD200", "DL",
                                               "MV200", "ED", "LD3",   "BG",  "EN",    "AL0",
                                               "SD200", "DL", "MV200", "ED"};
    struct Case {
        const char* action;
        std::array<bool, 3> selected;
        std::array<std::uint8_t, 3> states;
        std::vector<std::string> expected;
    } cases[] = {
        {"write", {true, false, true}, {0, 0, 0}, motion13},
        {"write", {true, true, true}, {1, 2, 3}, {}},
        {"start", {true, true, true}, {0, 0, 0}, {"ST"}},
        {"start", {true, false, true}, {0, 0, 0}, {"ST1", "ST3"}},
        {"start", {true, true, true}, {0, 1, 0}, {"ST1", "ST3"}},
        {"stop", {true, true, false}, {0, 1, 0}, {"ST2"}},
        {"stop", {true, true, true}, {3, 0, 1}, {"ST1", "ST3"}},
    };
    for (const Case& c : cases) {
        Datas().SetSelectedCoords(c.selected[0], c.selected[1], c.selected[2]);
        Datas().SetCoordStates(c.states[0], c.states[1], c.states[2]);
        TCommandList list;
        const std::string action = c.action;
        if (action == "write")
            EXPECT_TRUE(controller->SimpleMode().WriteSelected(TMotion{}, list));
        else if (action == "start")
            controller->SimpleMode().StartSelected(list);
        else
            controller->SimpleMode().StopSelected(list);
        EXPECT_EQ(list.Lines(), c.expected) << action;
    }
    EXPECT_TRUE(Datas().CoordStarted(1) && Datas().CoordStarted(3)); // set by the stop

    TMotion motion;
    motion.Accelerate = true;
    motion.Accel = "40";
    motion.BeginSpeed = "100";
    motion.Backward = true;
    motion.Permanent = true;
    TCommandList list;
    EXPECT_TRUE(controller->SimpleMode().AppendMotionCommands(motion, list));
    EXPECT_THAT(list.Lines(), ElementsAre("BG", "EN", "AL+40", "SS100", "SD200", "DR", "MV"));
}

TEST_F(Editing, SimpleModeSendsNothingOfAnActionWithARefusedValue) {
    Datas().SetSelectedCoords(true, true, true);
    Datas().SetCoordStates(0, 0, 0);
    Datas().DirectControl = true; // simple mode ignores it
    controller->MemoSend().Append("EN");
    TMotion motion;
    motion.Speed = "20000";
    controller->SimpleMode().btnLoadClick(motion);
    controller->SimpleMode().btnPuskClick(motion);
    // One message per press, not one per coordinate, and no exchange at all.
    EXPECT_THAT(views.messageBox.shown,
                ElementsAre(controller->Commands().Commands(ciSD).RangeMessage,
                            controller->Commands().Commands(ciSD).RangeMessage));
    EXPECT_FALSE(controller->ExchangeRunning());
    EXPECT_THAT(Commands(), ElementsAre("EN"));
}

} // namespace
