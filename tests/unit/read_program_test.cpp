// What a read-back answer becomes in the read list.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>

#include "fakes.h"
#include "program-editing/read_program.h"
#include "state/number_format.h"
#include "state/paths.h"

using namespace zav;
using namespace zav::test;

namespace {

class ReadProgram : public ::testing::Test {
protected:
    ReadProgram() {
        SetDecimalSeparator('.');
        SetAppDir((std::filesystem::temp_directory_path() / "zav-no-lang").string());
        controller = std::make_unique<TController>(dispatcher, views.Views());
    }
    std::string M(int n) { return controller->Lang().Message(n); }
    std::string D(int index) { return controller->Commands().Commands(index).Description; }
    std::string L(int index) { return controller->Commands().Commands(index).ParamLabel; }

    TQueueDispatcher dispatcher;
    RecordingViews views;
    std::unique_ptr<TController> controller;
};

TEST_F(ReadProgram, AnswersAndTheirLists) {
    struct Case {
        const char* name;
        std::vector<std::string> lines;
        std::vector<std::string> commands;
        bool wrong;
        std::vector<std::string> refused;
    };
    const Case cases[] = {
        {"plain", {"RD1*SD200*MV1000*ED*"}, {"SD200", "MV1000"}, false, {}},
        {"buffer echo", {"RB*BG*EN*ED*"}, {"BG", "EN"}, false, {}},
        {"negative acceleration", {"AL32868*AL100*AL0*"}, {"AL-100", "AL+100", "AL0"}, false, {}},
        {"doubled and leading stars", {"**SD200***MV5**"}, {"SD200", "MV5"}, false, {}},
        {"item across lines", {"RD1*SD2", "00*ED*"}, {"SD200"}, false, {}},
        {"unknown mnemonic", {"XY5*BG*"}, {"", "BG"}, true, {}},
        {"one character", {"X*"}, {""}, true, {}},
        {"out of range and junk",
         {"MV0*SD10001*SS2001*MV10000000*LD4*SPx*BG1*ST2*"},
         {"MV10000000", "ST2"},
         false,
         {"MV0", "SD10001", "SS2001", "LD4", "SPx", "BG1"}},
        {"no end mark", {"RD1*SD200*MV10"}, {"SD200"}, false, {}},
        {"empty", {}, {}, false, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TCommandList list;
        list.Append("OLD", "old");
        const TReadResult r = TReadProgramParser::Parse(c.lines, controller->Commands(),
                                                        controller->CommonDatas(), list);
        EXPECT_EQ(list.Lines(), c.commands);
        EXPECT_EQ(r.HasWrongCommand, c.wrong);
        EXPECT_EQ(r.Refused, c.refused);
    }
}

TEST_F(ReadProgram, StepsStayExactDescriptionsInUserUnits) {
    views.hooks.unitsIndex = 1;
    controller->CommonDatas().SetScale(4);
    controller->CommonDatas().DirectControl = true;
    controller->MemoSend().Append("BG");
    TCommandList list;
    TReadProgramParser::Parse({"RD1*MV1001*AL-6*SP500*XY*"}, controller->Commands(),
                              controller->CommonDatas(), list);
    EXPECT_EQ(list.Rows(), (std::vector<TCommandRow>{{"MV1001", D(ciMV) + "250.25" + L(ciMV)},
                                                     {"AL-6", D(ciAL) + "-1.5" + L(ciAL)},
                                                     {"SP500", D(ciSP) + "500" + L(ciSP)},
                                                     {"", M(42)}}));
    // Nothing is sent, whatever the Direct Control switch says.
    EXPECT_FALSE(controller->ExchangeRunning());
    EXPECT_EQ(controller->MemoSend().Count(), 1u);
}

} // namespace
