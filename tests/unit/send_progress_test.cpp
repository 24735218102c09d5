#include <gtest/gtest.h>

#include "controller/send_progress.h"

using namespace zav;
using std::chrono::milliseconds;

TEST(SendProgress, EstimateAndDurations) {
    struct Row {
        std::size_t done, total;
        long long elapsedMs;
        std::optional<long long> remainingMs;
    };
    const Row rows[] = {
        {0, 2000, 5000, std::nullopt}, // no pace yet
        {1, 1, 300, 0},
        {10, 40, 1000, 3000},
        {3, 7, 1000, 1333},
        {1'000'000, 2'000'000, 86'400'000'000, 86'400'000'000}, // no overflow
        {5, 4, 1000, std::nullopt},                             // more done than there are
    };
    for (const Row& r : rows) {
        const auto remaining = EstimateRemaining(r.done, r.total, milliseconds(r.elapsedMs));
        ASSERT_EQ(remaining.has_value(), r.remainingMs.has_value()) << r.done << "/" << r.total;
        if (remaining) {
            EXPECT_EQ(remaining->count(), *r.remainingMs) << r.done << "/" << r.total;
        }
    }

    const std::pair<long long, const char*> durations[] = {
        {0, "0:00"},          {999, "0:00"},          {61'000, "1:01"},
        {3'599'999, "59:59"}, {3'600'000, "1:00:00"}, {90'061'000, "25:01:01"},
        {-5, "0:00"}};
    for (const auto& [ms, text] : durations)
        EXPECT_EQ(FormatDuration(milliseconds(ms)), text) << ms;

    TSendProgressState state;
    state.Total = 2000;
    for (const auto& [line, percent] : {std::pair{0, 0}, {1, 0}, {21, 1}, {2000, 99}}) {
        state.Line = line;
        EXPECT_EQ(state.Percent(), percent) << line;
    }
}
