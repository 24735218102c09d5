// Where a cut send goes on: one row per case of the rule.

#include <gtest/gtest.h>

#include "journal/resume_point.h"

using namespace zav;

namespace {

using K = TResumePoint::TKind;
constexpr std::size_t None = static_cast<std::size_t>(-1);

TEST(ResumePoint, StartsAfterTheAcknowledgedOrRecordsTheCutRecordingAgain) {
    //                                    0       1      2        3        4     5      6   7
    const std::vector<std::string> list = {"SD200", "LD1", "MV100", "MV200",
                                           "ED",    "ST1", "",      "MV300"};
    struct Row {
        const char* name;
        std::size_t first;                 // the send's first line
        std::vector<std::size_t> accepted; // lines acknowledged, in order
        bool resend;
        K kind;
        std::size_t start;
        std::size_t inFlight; // None: no line in flight is shown
        bool edFirst;
    };
    const Row rows[] = {
        {"nothing acknowledged", 0, {}, false, K::FromLine, 1, 0, false},
        {"nothing acknowledged, in flight sent again", 0, {}, true, K::FromLine, 0, 0, false},
        {"LD in flight", 0, {0}, false, K::InsideRecording, 1, None, true},
        {"inside the recording", 0, {0, 1, 2}, false, K::InsideRecording, 1, None, true},
        {"inside, resend asked: still the whole recording",
         0,
         {0, 1, 2},
         true,
         K::InsideRecording,
         1,
         None,
         true},
        {"its ED in flight", 0, {0, 1, 2, 3}, false, K::InsideRecording, 1, None, true},
        {"after the recording, empty lines skipped",
         0,
         {0, 1, 2, 3, 4},
         false,
         K::FromLine,
         7,
         5,
         false},
        {"after the recording, in flight sent again",
         0,
         {0, 1, 2, 3, 4},
         true,
         K::FromLine,
         5,
         5,
         false},
        {"only the line in flight left", 0, {0, 1, 2, 3, 4, 5}, false, K::NothingLeft, 8, 7, false},
        {"only the line in flight left, sent again",
         0,
         {0, 1, 2, 3, 4, 5},
         true,
         K::FromLine,
         7,
         7,
         false},
        {"all acknowledged", 0, {0, 1, 2, 3, 4, 5, 7}, false, K::NothingLeft, 8, None, false},
        {"a send from a chosen line, nothing acknowledged", 5, {}, false, K::FromLine, 7, 5, false},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        TJournal journal;
        journal.Lines = list;
        journal.FirstLine = row.first;
        for (const std::size_t line : row.accepted)
            journal.Entries.push_back(
                {0, line, list[line], list[line] + "*", "E10*", "accepted", 1});
        // A line refused or unanswered is not acknowledged.
        if (!row.accepted.empty())
            journal.Entries.push_back({0, row.accepted.back() + 1, "", "", "", "no-answer", 300});
        const TResumePoint point = FindResumePoint(journal, row.resend);
        EXPECT_EQ(point.Kind, row.kind);
        EXPECT_EQ(point.Start, row.start);
        EXPECT_EQ(point.InFlight.value_or(None), row.inFlight);
        EXPECT_EQ(point.EndRecordingFirst(), row.edFirst);
        EXPECT_EQ(point.LastAcknowledged.value_or(None),
                  row.accepted.empty() ? None : row.accepted.back());
    }
}

} // namespace
