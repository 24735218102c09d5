#include "program-check/program_check.h"

#include <gtest/gtest.h>

#include "localisation/lang.h"
#include "state/common_datas.h"

namespace zav {
namespace {

using K = TWarningKind;
using TLines = std::vector<std::string>;
using TWarnings = std::vector<TProgramWarning>;

TEST(ProgramCheck, EachRuleFlagsWhatItNamesAndNothingElse) {
    constexpr TCheckScope List = TCheckScope::WholeList, Body = TCheckScope::RecordingBody;
    const struct {
        const char* rule;
        TLines lines;
        TCheckScope scope;
        TWarnings expected;
    } rows[] = {
        {"direct motion", {"DL", "SD200", "MV1000"}, List, {{2, K::DirectMotion}}},
        {"no direct motion in a recording, a buffer, or without a move",
         {"LD1", "SD200", "MV1000", "ED", "LB", "MV100", "SB5", "DL", "DR", "RS", "ST1", "SF1"},
         List,
         {}},
        {"motion after the buffer's SB is direct again",
         {"LB", "MV100", "SB5", "MV7"},
         List,
         {{3, K::DirectMotion}}},
        {"LD without ED", {"LD1", "SD1", "MV5"}, List, {{0, K::LdWithoutEd}}},
        {"LD with ED, and an ED alone", {"ED", "LD1", "ED", "ED"}, List, {}},
        {"LD inside a recording",
         {"LD1", "LD2", "ED"},
         List,
         {{0, K::LdWithoutEd}, {1, K::LdInsideRecording}}},
        {"recordings one after the other", {"LD1", "ED", "LD2", "ED"}, List, {}},
        {"LD in a read-back list", {"SD5", "LD1", "ED"}, Body, {{1, K::LdInsideRecording}}},
        {"JP with the LL of another recording only",
         {"LD1", "LL", "ED", "LD2", "JP5", "ED"},
         List,
         {{4, K::JpWithoutLl}}},
        {"JP after its LL", {"LD1", "LL", "SP10", "JP5", "ED"}, List, {}},
        {"SB without LB", {"LD1", "SB3", "ED"}, List, {{1, K::SbWithoutLb}}},
        {"SB after its LB", {"LD1", "LB", "SP10", "SB3", "ED"}, List, {}},
        {"MV before SD", {"LD1", "MV10", "SD200", "MV10", "ED"}, List, {{1, K::MoveBeforeSd}}},
        {"MV before SD in a read-back list", {"MV10", "SD5"}, Body, {{0, K::MoveBeforeSd}}},
        {"MV after SD in a read-back list", {"SD5", "MV10"}, Body, {}},
        {"waits for the machine",
         {"LD1", "SD5", "WL1", "WH2", "MH1", "ML1", "HM", "ED"},
         List,
         {{2, K::MachineDependentWait},
          {3, K::MachineDependentWait},
          {4, K::MachineDependentWait},
          {5, K::MachineDependentWait},
          {6, K::MachineDependentWait}}},
        {"timed commands", {"LD1", "SD5", "SP100", "SF1", "CF1", "MV1", "ED"}, List, {}},
        {"a direct home move is both",
         {"HM"},
         List,
         {{0, K::DirectMotion}, {0, K::MachineDependentWait}}},
        {"junk", {"", "X", "??????", std::string(8, '\0'), "\xff\xfe"}, List, {}},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.rule);
        EXPECT_EQ(CheckProgram(row.lines, row.scope), row.expected);
    }
}

TEST(ProgramCheck, CountsTakeTheFormTheirNumberNeeds) {
    TCommonDatas datas;
    TLang lang(datas, nullptr, nullptr);
    lang.Messages[msgCheckWarningOne] = " one";
    lang.Messages[msgCheckWarningsEndingIn1] = " ends-in-1";
    lang.Messages[msgCheckWarningsFew] = " few";
    lang.Messages[msgCheckWarningsMany] = " many";
    const std::pair<std::size_t, const char*> rows[] = {
        {0, "0 many"},  {1, "1 one"},      {2, "2 few"},           {4, "4 few"},
        {5, "5 many"},  {11, "11 many"},   {12, "12 many"},        {21, "21 ends-in-1"},
        {22, "22 few"}, {111, "111 many"}, {101, "101 ends-in-1"},
    };
    for (const auto& [count, text] : rows)
        EXPECT_EQ(WarningCountText(lang, count), text);
    // Send asks only when the option is on and the list has warnings.
    EXPECT_EQ(SendQuestion(lang, false, {"MV5"}), "");
    EXPECT_EQ(SendQuestion(lang, true, {"LD1", "SD5", "MV5", "ED"}), "");
    EXPECT_EQ(SendQuestion(lang, true, {"MV5"}), "1 one" + lang.Message(msgCheckSendQuestion));
}

} // namespace
} // namespace zav
