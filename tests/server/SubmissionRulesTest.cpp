// The day's field by the clock: the committed daily replay of 1 January 2026
// is taken from that day's first second to the next day's last, and not a
// second outside; the calendar behind the board's pages.

#include <gtest/gtest.h>

#include <algorithm>
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

// The game's own files pass; a redraw the game would not have recorded, or
// more releases between two ticks than the bound, are refused.
TEST(SubmissionRulesTest, ActionsAreThoseTheGameRecords) {
    using submission_rules::ActionProblem;
    using submission_rules::kMaxReleasesPerTick;
    Replay session;
    std::string error;
    ASSERT_TRUE(replay_file::Read(KORVESSA_COMMITTED_REPLAY, session, error)) << error;
    EXPECT_EQ(ActionProblem(session), "");
    std::size_t redraw = 0;
    while (redraw < session.events.size() &&
           session.events[redraw].action != ReplayAction::kRedraw) {
        redraw += 1;
    }
    ASSERT_LT(redraw, session.events.size()) << "the session holds a redraw";
    Replay twice = session;
    twice.events.insert(twice.events.begin() + static_cast<long>(redraw), session.events[redraw]);
    EXPECT_NE(ActionProblem(twice), "");

    // Releases and their redraws at a tick of no actions of its own.
    Replay mashed = session;
    std::uint32_t tick = session.tickCount / 2;
    while (std::any_of(session.events.begin(), session.events.end(),
                       [&](const ReplayEvent& event) { return event.tick == tick; })) {
        tick += 1;
    }
    const long at = std::find_if(mashed.events.begin(), mashed.events.end(),
                                 [&](const ReplayEvent& event) { return event.tick > tick; }) -
                    mashed.events.begin();
    std::vector<ReplayEvent> releases;
    for (int i = 0; i < kMaxReleasesPerTick; ++i) {
        releases.push_back(ReplayEvent{tick, ReplayAction::kSpace});
        releases.push_back(ReplayEvent{tick, ReplayAction::kRedraw});
    }
    mashed.events.insert(mashed.events.begin() + at, releases.begin(), releases.end());
    EXPECT_EQ(ActionProblem(mashed), "");
    mashed.events.insert(mashed.events.begin() + at, ReplayEvent{tick, ReplayAction::kAlt});
    EXPECT_NE(ActionProblem(mashed), "");
}

TEST(SubmissionRulesTest, Calendar) {
    using submission_rules::AddDays;
    using submission_rules::IsDate;
    EXPECT_TRUE(IsDate(20240229));
    EXPECT_FALSE(IsDate(20250229));
    EXPECT_FALSE(IsDate(20261301));
    EXPECT_FALSE(IsDate(20260100));
    EXPECT_FALSE(IsDate(99999999));
    // Any number at all, refused before its year could overflow a sum.
    EXPECT_FALSE(IsDate(4294967295u));
    EXPECT_FALSE(IsDate(19691231));
    EXPECT_TRUE(IsDate(19700101));
    EXPECT_EQ(AddDays(20241231, 1), 20250101u);
    EXPECT_EQ(AddDays(20240301, -1), 20240229u);
}

}  // namespace
