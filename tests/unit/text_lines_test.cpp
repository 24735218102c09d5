#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "controller/text_lines.h"

using zav::TTextLines;

namespace {

// Each reply takes a line and the last line is open; no line, the open one included,
// outgrows MaxLineLength, and a Cyrillic letter is not cut in two.
TEST(TextLines, RepliesTakeALineEachAndNoLineOutgrowsTheCap) {
    const std::size_t cap = TTextLines::MaxLineLength;
    const std::string cyrillic = "\xD0\x9E"; // one letter, two bytes
    struct TRow {
        const char* name;
        std::vector<std::string> blocks;
        std::vector<std::string> lines;
    };
    const std::vector<TRow> rows = {
        {"replies", {"LD1*E1", "0*x"}, {"LD1*", "E10*", "x"}},
        {"an open line of noise",
         {std::string(cap + 10, 'a')},
         {std::string(cap, 'a'), std::string(10, 'a')}},
        {"noise in many blocks",
         {std::string(cap - 1, 'b'), "bb", "*"},
         {std::string(cap, 'b'), "b*", ""}},
        {"a letter across the cap",
         {std::string(cap - 1, 'c') + cyrillic},
         {std::string(cap - 1, 'c'), cyrillic}},
    };
    for (const TRow& row : rows) {
        SCOPED_TRACE(row.name);
        TTextLines list;
        for (const auto& block : row.blocks)
            list.AppendReplies(block);
        EXPECT_EQ(std::vector<std::string>(list.Lines().begin(), list.Lines().end()), row.lines);
    }
}

} // namespace
