// Which received text is taken as the echo of the line in flight, and its verdict.

#include <gtest/gtest.h>

#include "serial/echo_check.h"

namespace zav {
namespace {

TEST(EchoCheck, TakesTheFirstTextAfterTheRequestThatBelongsToIt) {
    // Each step: ">X" expects the echo of request X, "<X*" receives X*, "=V" takes the
    // verdict V of the line in flight (M match, X mismatch, ? missing, - none awaited)
    // with an accepting code, "!V" with a refusing one; "R" ends the exchange.
    struct TRow {
        const char* name;
        std::vector<std::string> steps;
        std::string lastEcho; // of the last verdict
    };
    const TRow rows[] = {
        {"echo then code", {">MV1000", "<MV1000*", "=M"}, "MV1000"},
        {"a changed digit", {">MV1000", "<MV1900*", "=X"}, "MV1900"},
        {"only the first text counts", {">ST1", "<ST2*", "<ST1*", "=X"}, "ST2"},
        {"a stray byte before the echo",
         {">BG",
          "<\x07"
          "BG*",
          "=M"},
         "\x07"
         "BG"},
        {"no echo", {">BG", "=?"}, ""},
        {"text before the request is sent", {"<BG*", ">EN", "=?"}, ""},
        {"text after the code", {">BG", "<BG*", "=M", "<EN*", "=-"}, ""},
        {"the late echo of the line before", {">BG", "=?", ">EN", "<BG*", "<EN*", "=M"}, "EN"},
        {"a second late echo is an echo",
         {">BG", "=?", ">EN", "<BG*", "<EN*", "=M", ">DL", "<BG*", "=X"},
         "BG"},
        {"read-back items up to ED",
         {">RD1", "<RD1*", "=M", ">ED", "<SD200*", "<MV5*", "<ED*", "<ED*", "=M"},
         "ED"},
        {"a late echo after the next send began",
         {">BG", "=?", "R", ">EN", "<BG*", "<EN*", "=M"},
         "EN"},
        {"a refused read sends no items", {">RD1", "<RD1*", "!M", ">BG", "<BG*", "=M"}, "BG"},
    };
    for (const TRow& row : rows) {
        SCOPED_TRACE(row.name);
        TEchoCheck check;
        TEchoResult last;
        for (const std::string& step : row.steps) {
            const std::string arg = step.substr(1);
            if (step == "R") {
                check.Reset();
            } else if (step[0] == '>') {
                check.Expect(arg);
            } else if (step[0] == '<') {
                check.Received(arg);
            } else {
                last = check.Take(step[0] == '=');
                const char verdict[] = {'-', 'M', 'X', '?'};
                EXPECT_EQ(verdict[static_cast<int>(last.Verdict)], arg[0]) << step;
            }
        }
        EXPECT_EQ(last.Echo, row.lastEcho);
    }
}

} // namespace
} // namespace zav
