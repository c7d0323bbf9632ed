// The day's field by the clock: the committed daily replay of 1 January 2026
// is taken from that day's first second to the next day's last, and not a
// second outside; the calendar behind the board's pages.

#include <gtest/gtest.h>

#include <ctime>
#include <string>

#include "save/ReplayFile.h"
#include "server/SubmissionRules.h"

namespace {

std::time_t Utc(int year, int month, int day, int hour, int minute, int second) {
    std::tm date{};
    date.tm_year = year - 1900;
    date.tm_mon = month - 1;
    date.tm_mday = day;
    date.tm_hour = hour;
    date.tm_min = minute;
    date.tm_sec = second;
    return timegm(&date);
}

TEST(SubmissionRulesTest, ADailyGameCountsOnItsDayAndTheNext) {
    Replay replay;
    std::string error;
    ASSERT_TRUE(replay_file::Read(KORVESSA_OLD_DAILY_REPLAY, replay, error)) << error;
    ASSERT_EQ(replay.seed, 20260101u);
    using submission_rules::FieldProblem;
    EXPECT_EQ(FieldProblem(replay, Utc(2026, 1, 1, 0, 0, 0)), "");
    EXPECT_EQ(FieldProblem(replay, Utc(2026, 1, 2, 23, 59, 59)), "");
    EXPECT_NE(FieldProblem(replay, Utc(2026, 1, 3, 0, 0, 0)), "");
    EXPECT_NE(FieldProblem(replay, Utc(2025, 12, 31, 23, 59, 59)), "");  // not yet its day
}

TEST(SubmissionRulesTest, Calendar) {
    using submission_rules::AddDays;
    using submission_rules::IsDate;
    EXPECT_TRUE(IsDate(20240229));
    EXPECT_FALSE(IsDate(20250229));
    EXPECT_FALSE(IsDate(20261301));
    EXPECT_FALSE(IsDate(20260100));
    EXPECT_FALSE(IsDate(99999999));
    EXPECT_EQ(AddDays(20241231, 1), 20250101u);
    EXPECT_EQ(AddDays(20240301, -1), 20240229u);
}

}  // namespace
