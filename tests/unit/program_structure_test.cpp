#include "command-language/program_structure.h"

#include <gtest/gtest.h>

namespace zav {
namespace {

TEST(ProgramStructure, LinesReadAsTheControllerReadsThem) {
    const struct {
        const char* text;
        const char* mnemonic;
        std::optional<long long> value;
    } rows[] = {
        {"MV1000", "MV", 1000}, {"al+50", "AL", 50}, {"AL-50", "AL", -50}, {" ED ", "ED", {}},
        {"SP1.5", "SP", {}},    {"M", "", {}},       {"", "", {}},         {"LD", "LD", {}},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.text);
        const TProgramLine line = ParseProgramLine(row.text);
        EXPECT_EQ(line.Mnemonic, row.mnemonic);
        EXPECT_EQ(line.Value, row.value);
    }
}

TEST(ProgramStructure, RecordingsEndAtTheirEdOrWhereTheyAreCut) {
    // 0 BG, 1 LD1, 2 MV5, 3 ED, 4 ED, 5 LD2, 6 SD9, 7 LD3, 8 MV1
    const std::vector<std::string> lines{"BG",  "LD1", "MV5", "ED", "ED",
                                         "LD2", "SD9", "LD3", "MV1"};
    const std::vector<TRecordingSpan> spans = FindRecordings(lines);
    ASSERT_EQ(spans.size(), 3u);
    const struct {
        std::size_t begin, end;
        int coordinate;
        bool closed;
    } expected[] = {{1, 3, 1, true}, {5, 6, 2, false}, {7, 8, 3, false}};
    for (std::size_t i = 0; i < spans.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(spans[i].Begin, expected[i].begin);
        EXPECT_EQ(spans[i].End, expected[i].end);
        EXPECT_EQ(spans[i].Coordinate, expected[i].coordinate);
        EXPECT_EQ(spans[i].Closed, expected[i].closed);
    }
    // Lines outside every recording, and the lone ED, belong to none.
    for (std::size_t outside : {0u, 4u})
        EXPECT_FALSE(RecordingAt(lines, outside));
    EXPECT_EQ(RecordingAt(lines, 2)->Begin, 1u);
    EXPECT_EQ(RecordingAt(lines, 6)->Begin, 5u);
    EXPECT_EQ(RecordingAt(lines, 7)->Begin, 7u);
}

} // namespace
} // namespace zav
