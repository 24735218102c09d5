#include <gtest/gtest.h>

#include "command-language/zav_commands.h"
#include "fakes.h"
#include "localisation/lang.h"
#include "program-editing/command_list.h"
#include "state/common_datas.h"
#include "state/number_format.h"
#include "state/paths.h"

using namespace zav;
using namespace zav::test;

namespace {
// Built-in messages (no language files), steps mode, scale 1, rounding decreasing.
class ZavCommands : public testing::Test {
protected:
    ZavCommands() {
        SetDecimalSeparator('.');
        commands.BuildCatalogue();
        commands.AttachDirectControl(&hooks);
        datas.AttachCatalogue(&commands);
    }
    ~ZavCommands() override { SetDecimalSeparator('.'); }

    const CommandEntry& Row(int index) const { return commands.Commands(index); }
    void Add(int index, const std::string& value) { commands.AddCommand(index, value, &list); }
    bool NothingAdded() const { return list.Empty(); }

    TempFolder dir;
    bool appDirSet = (SetAppDir(dir.Path().string()), true);
    TCommonDatas datas;
    TLang lang{datas, nullptr, nullptr};
    RecordingMessageBox box;
    FakeHooks hooks;
    TZavCommands commands{datas, lang, &box, &hooks};
    TCommandList list;
};
} // namespace

TEST_F(ZavCommands, CatalogueInStepsMode) {
    struct Case {
        int index;
        const char *mnemonic, *description, *label, *min, *max, *range;
    } cases[] = {
        {0, "", "*!!!Command incorrect!!!", "", "", "", ""},
        {1, "ST", "*Start/Stop program executing: ", "* coordinate ", "1", "3", ""},
        {2, "LD", "*Start commands recording:  ", "* coordinate ", "1", "3", ""},
        {3, "ED", "*End commands recording  ", "", "", "", ""},
        {4, "BG", "*Program begin  ", "", "", "", ""},
        {5, "EN", "*Set \"Enable\"", "", "", "", ""},
        {6, "MV", "*Move  ", "* steps ", "1", "10000000",
         "*Input correct steps number: from  1* to  10000000"},
        {7, "SD", "*speed ", "* steps/sec  ", "1", "10000",
         "*Input correct speed: from 1* to  10000"},
        {8, "SS", "*Start speed ", "* steps/sec  ", "1", "2000",
         "*Input correct start speed: from  1* to  2000"},
        {9, "AL", "*Acceleration  ", "", "-1000", "1000",
         "*Input correct acceleration: from -1000* to  1000"},
        {10, "RS", "*Reverse   ", "", "", "", ""},
        {11, "SP", "*Pause for  ", "* ms  ", "1", "99999999",
         "*Input correct pause duration from 1* to  99999999"},
        {12, "DS", "*Set \"Disable\"", "", "", "", ""},
        {13, "LL", "*Set label ", "", "", "", ""},
        {14, "JP", "*Repeat from label ", "* times ", "0", "255",
         "*Input correct cycles number from  0* to  255"},
        {15, "DL", "*Forward motion  ", "", "", "", ""},
        {16, "DR", "*Backward motion ", "", "", "", ""},
        {17, "SF", "*Set signal to output ", " ", "1", "4",
         "*Input correct output number from  1* to  4"},
        {18, "WL", "*Wait signal WL to input ", " ", "1", "4",
         "*Insert correct input number from 1* to  4"},
        {19, "WH", "*Wait signal WH to input ", " ", "1", "4",
         "*Insert correct input number from 1* to  4"},
        {20, "CF", "*Clear signal from output  ", " ", "1", "4",
         "*Input correct output number from  1* to  4"},
        {21, "", "", "", "", "", ""},
        {22, "", "", "", "", "", ""},
        {23, "PS", "*Set/take off pause: ", "* coordinate ", "1", "3", ""},
        {24, "MH", "*Move till input signal MH ", "", "1", "4",
         "*Insert correct input number from 1* to  4"},
        {25, "ML", "*Move till input signal ML ", "", "1", "4",
         "*Insert correct input number from 1* to  4"},
        {26, "HM", "*Move till zero limit switch ", "", "", "", ""},
        {27, "LB", "*Record commands to buffer ", "", "", "", ""},
        {28, "SB", "*Repeat buffer ", "* times ", "1", "250",
         "*Input correct cycles number from  1* to  250"},
        {29, "RB", "Buffer: ", "", "", "", ""},
        {30, "RD", "EEPROM: ", "", "1", "3", ""},
        {31, "SC", "", "* steps ", "1", "2147483647",
         "*Input correct steps number: from  1* to  2147483647"},
    };
    for (const auto& c : cases) {
        const CommandEntry& row = Row(c.index);
        EXPECT_EQ(row.Mnemonic, c.mnemonic) << c.index;
        EXPECT_EQ(row.Description, c.description) << c.index;
        EXPECT_EQ(row.ParamLabel, c.label) << c.index;
        EXPECT_EQ(row.MinText, c.min) << c.index;
        EXPECT_EQ(row.MaxText, c.max) << c.index;
        EXPECT_EQ(row.RangeMessage, c.range) << c.index;
    }
}

TEST_F(ZavCommands, UnitsModeScaleAndLanguageRebuild) {
    SetDecimalSeparator(',');
    hooks.unitsIndex = 1;
    datas.SetScale(200);
    EXPECT_EQ(Row(ciSD).ParamLabel, " Step* /sec ");
    EXPECT_EQ(Row(ciSD).MinText, "0,005");
    EXPECT_EQ(Row(ciSD).MaxText, "50");
    EXPECT_EQ(Row(ciAL).MinText, "-5");
    EXPECT_EQ(Row(ciAL).MaxText, "5");
    EXPECT_EQ(Row(ciAL).ParamLabel, "");
    EXPECT_EQ(Row(ciMV).ParamLabel, " Step");
    EXPECT_EQ(Row(ciMV).RangeMessage, "*Input correct * number: from 0,005* to  50000");
    EXPECT_EQ(Row(ciSC).MaxText, "10737418,235");
    EXPECT_EQ(Row(21).Mnemonic + Row(21).Description + Row(22).MinText, "");

    // Back to steps: the labels follow without leftovers of units mode.
    hooks.unitsIndex = 0;
    datas.SetScale(1);
    EXPECT_EQ(Row(ciSD).ParamLabel, "* steps/sec  ");
    EXPECT_EQ(Row(ciMV).RangeMessage, "*Input correct steps number: from  1* to  10000000");

    // A new language replaces every text, also those it leaves empty.
    for (std::size_t n = 1; n < lang.Messages.size(); ++n)
        lang.Messages[n] = "";
    lang.Messages[86] = "Movement scale ";
    commands.BuildCatalogue();
    for (int index : {ciST, ciMV, ciSP, ciJP, ciSB})
        EXPECT_EQ(Row(index).Description + Row(index).ParamLabel, "") << index;
    EXPECT_EQ(Row(ciSC).Description, "Movement scale ");
    EXPECT_EQ(Row(ciRB).Description, "Buffer: ");
    EXPECT_EQ(Row(ciRD).Description, "EEPROM: ");
}

TEST_F(ZavCommands, WorkedExamples) {
    struct Case {
        int index;
        const char *value, *command, *listText;
    } cases[] = {
        {ciMV, "1500", "MV1500", "*Move  1500* steps "},
        {ciAL, "40", "AL+40", "*Acceleration  40"},
        {ciAL, "-40", "AL-40", "*Acceleration  -40"},
        // Limited to what the controller takes; the list shows the value sent.
        {ciAL, "800", "AL+500", "*Acceleration  500"},
        {ciAL, "-800", "AL-500", "*Acceleration  -500"},
        {ciAL, "0", "AL0", "*Acceleration  0"},
        {ciST, "2", "ST2", "*Start/Stop program executing: 2* coordinate "},
        {ciST, "no", "ST", "*Start/Stop program executing: "},
        {ciSP, "250", "SP250", "*Pause for  250* ms  "},
        {ciED, "no", "ED", "*End commands recording  "},
        {ciUnknown, "anything", "", "*!!!Command incorrect!!!"},
        {ciRD, "no", "RD", "EEPROM: "},
        {ciRD, "1", "RD1", "EEPROM: 1"},
        {ciJP, "0", "JP0", "*Repeat from label 0* times "},
        {ciSS, "2000", "SS2000", "*Start speed 2000* steps/sec  "},
    };
    for (const auto& c : cases) {
        list.Clear();
        Add(c.index, c.value);
        EXPECT_EQ(list.Lines(), std::vector<std::string>{c.command}) << c.index << " " << c.value;
        ASSERT_EQ(list.Count(), 1u) << c.index;
        EXPECT_EQ(list.Row(0).Description, c.listText) << c.index;
    }
    EXPECT_TRUE(box.shown.empty());
}

TEST_F(ZavCommands, UnitConversionAndClamps) {
    hooks.unitsIndex = 1;
    datas.SetRounding(2);
    datas.SetScale(200);
    Add(ciMV, "2.5");
    EXPECT_EQ(list.Lines().back(), "MV500");
    EXPECT_EQ(list.Rows().back().Description, "*Move  2.5 Step");
    Add(ciMV, "0.0049");
    EXPECT_EQ(box.shown, std::vector<std::string>{Row(ciMV).RangeMessage});
    EXPECT_EQ(list.Lines().size(), 1u);

    // At the lowest value a truncated product is 0 steps: MV and SD never go below 1,
    // SS may be 0.
    datas.SetRounding(0);
    datas.SetScale(3);
    for (int index : {ciMV, ciSD, ciSS})
        Add(index, Row(index).MinText);
    EXPECT_EQ(list.Lines(), (std::vector<std::string>{"MV500", "MV1", "SD1", "SS0"}));
}

TEST_F(ZavCommands, RefusedValuesAddNothing) {
    struct Case {
        int index;
        const char *value, *message;
    } cases[] = {
        {ciST, "5", ""}, // limits without a range message
        {ciST, "x", "?"},
        {ciED, "5", "?"}, // no limits but a value
        {ciRB, "1", "?"},
        {ciMV, "0", "*Input correct steps number: from  1* to  10000000"},
        {ciMV, "", "*Input correct steps number: from  1* to  10000000"},
        {ciMV, "10000001", "*Input correct steps number: from  1* to  10000000"},
        {ciMV, "1,5", "*Input correct steps number: from  1* to  10000000"},
        {ciJP, "256", "*Input correct cycles number from  0* to  255"},
        {ciSB, "0", "*Input correct cycles number from  1* to  250"},
    };
    for (const auto& c : cases) {
        box.shown.clear();
        Add(c.index, c.value);
        EXPECT_EQ(box.shown, std::vector<std::string>{c.message}) << c.index << " " << c.value;
    }
    EXPECT_THROW(Add(ciSP, "1.5"), EConvertError);
    EXPECT_THROW(Add(ciSF, "2.0"), EConvertError);
    EXPECT_TRUE(NothingAdded());
}

TEST_F(ZavCommands, DirectControlClearsFirstAndSendsOnlyWhatWasAdded) {
    hooks.directControl = true;
    Add(ciMV, "100");
    EXPECT_EQ(hooks.presses, (std::vector<std::string>{"clear", "send"}));
    hooks.presses.clear();
    Add(ciMV, "0");
    EXPECT_THROW(Add(ciSP, "1.5"), EConvertError);
    EXPECT_EQ(hooks.presses, (std::vector<std::string>{"clear", "clear"}));

    TZavCommands withoutWindow(datas, lang, nullptr, nullptr);
    withoutWindow.BuildCatalogue();
    EXPECT_TRUE(withoutWindow.AddCommand(ciMV, "7", &list));
    EXPECT_EQ(list.Lines().back(), "MV7");
    hooks.presses.clear();
    EXPECT_TRUE(commands.AddCommand(ciMV, "8", &list, TDirect::Off));
    EXPECT_TRUE(hooks.presses.empty());
}

TEST(FindCommand, ByFirstTwoLetters) {
    const char* mnemonics[CatalogueSize] = {"",   "ST", "LD", "ED", "BG", "EN", "MV", "SD",
                                            "SS", "AL", "RS", "SP", "DS", "LL", "JP", "DL",
                                            "DR", "SF", "WL", "WH", "CF", "ON", "OF", "PS",
                                            "MH", "ML", "HM", "LB", "SB", "RB", "RD", "SC"};
    for (int index = 1; index < CatalogueSize; ++index) {
        EXPECT_EQ(TZavCommands::FindCommand(mnemonics[index]), index) << mnemonics[index];
        EXPECT_EQ(TZavCommands::FindCommand(std::string(mnemonics[index]) + "1000*"), index);
    }
    for (const char* other : {"", "M", "mv", "Mv", "XX", "OK", " MV", "E10*"})
        EXPECT_EQ(TZavCommands::FindCommand(other), 0) << other;
    EXPECT_EQ(TZavCommands::FindCommand("PS2"), ciPS);
}
