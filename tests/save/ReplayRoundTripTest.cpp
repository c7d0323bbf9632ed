// Replays recorded from scripted sessions, written, read back and played
// again: the game must go through the very same states, tick for tick.

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "game/GameApp.h"
#include "objects/Asteroid.h"
#include "objects/Explosion.h"
#include "objects/Laser.h"
#include "objects/Photon.h"
#include "objects/Ship.h"
#include "objects/UFO.h"
#include "save/ReplayFile.h"
#include "save/ReplayPlayer.h"
#include "tests/gl/RecordingGL.h"
#include "tests/support/GameStateSnapshot.h"
#include "tests/support/RecordedSession.h"

namespace {

constexpr int kTickLimit = 40000;

std::uint64_t StateOf(const GameApp& app) { return testing_support::GameStateSnapshot(app).Hash(); }

bool SameReplay(const Replay& a, const Replay& b) {
    if (a.inputs.size() != b.inputs.size() || a.events.size() != b.events.size()) return false;
    for (std::size_t i = 0; i < a.inputs.size(); ++i) {
        if (a.inputs[i].bits != b.inputs[i].bits || a.inputs[i].length != b.inputs[i].length) {
            return false;
        }
    }
    for (std::size_t i = 0; i < a.events.size(); ++i) {
        if (a.events[i].tick != b.events[i].tick || a.events[i].action != b.events[i].action) {
            return false;
        }
    }
    return a.formatVersion == b.formatVersion && a.gameVersion == b.gameVersion &&
           a.seed == b.seed && a.seedKind == b.seedKind && a.startTick == b.startTick &&
           a.score == b.score && a.tickCount == b.tickCount;
}

class ReplayRoundTripTest : public ::testing::Test {
protected:
    void SetUp() override { recgl::SetRecording(false); }
    void TearDown() override {
        recgl::SetRecording(true);
        if (!path.empty()) unlink(path.c_str());
    }

    std::string TemporaryPath() {
        char name[] = "/tmp/korvessa-replay-XXXXXX";
        const int fd = mkstemp(name);
        if (fd >= 0) close(fd);
        path = name;
        return path;
    }

    std::string path;
};

// A session of two games; the second game's replay holds the whole session
// and starts the recorded game well after tick 0.
TEST_F(ReplayRoundTripTest, SecondGameOfASessionPlaysAgainStateForState) {
    std::vector<std::uint64_t> states;
    std::vector<Replay> replays;
    std::vector<int> scores;
    {
        GameApp app;
        testing_support::RecordedSession session(app, 4242, 7);
        for (int tick = 0; tick < kTickLimit && replays.size() < 2; ++tick) {
            const bool ended = session.Tick();
            states.push_back(StateOf(app));
            if (ended) {
                replays.push_back(session.recorder.FinishGame(app.score));
                scores.push_back(app.score);
            }
        }
    }
    ASSERT_EQ(replays.size(), 2u) << "the script did not finish two games";
    const Replay& recorded = replays[1];
    ASSERT_EQ(recorded.Problem(), "");
    // The second game starts with a Space release after the first one ended.
    EXPECT_GE(recorded.startTick, replays[0].tickCount);
    EXPECT_EQ(recorded.tickCount, states.size());
    EXPECT_GT(scores[1], 0);

    std::string error;
    ASSERT_TRUE(replay_file::Write(TemporaryPath(), recorded, error)) << error;
    Replay read;
    ASSERT_TRUE(replay_file::Read(path, read, error)) << error;
    ASSERT_TRUE(SameReplay(recorded, read));

    GameApp app;
    ReplayPlayer player(read);
    player.SeedGame();
    app.InitGame();
    std::uint32_t tick = 0;
    while (player.Step(app)) {
        ASSERT_EQ(StateOf(app), states[tick])
            << "the replay left the recorded game at tick " << tick;
        EXPECT_EQ(player.InRecordedGame(), tick >= read.startTick) << "tick " << tick;
        ++tick;
    }
    EXPECT_EQ(tick, read.tickCount);
    EXPECT_TRUE(player.Finished());
    EXPECT_FALSE(app.running);
    EXPECT_EQ(app.score, scores[1]);
    EXPECT_EQ(app.score, read.score);
}

// The first game of the same session, ended while the session went on: its
// replay stops at its own end.
TEST_F(ReplayRoundTripTest, FirstGameOfASessionScoresAgain) {
    Replay recorded;
    int score = -1;
    {
        GameApp app;
        testing_support::RecordedSession session(app, 99, 3, SeedKind::kDaily);
        for (int tick = 0; tick < kTickLimit && score < 0; ++tick) {
            if (session.Tick()) {
                recorded = session.recorder.FinishGame(app.score);
                score = app.score;
            }
        }
    }
    ASSERT_GE(score, 0) << "the script did not finish a game";
    Replay read;
    std::string what;
    ASSERT_TRUE(replay_file::Decode(replay_file::Encode(recorded), read, what)) << what;
    EXPECT_EQ(read.startTick, 0u);
    EXPECT_EQ(read.seedKind, SeedKind::kDaily);
    GameApp app;
    EXPECT_EQ(ReplayPlayer::PlayAll(app, read), read.tickCount);
    EXPECT_FALSE(app.running);
    EXPECT_EQ(app.score, score);
}

// Made once by korvessa_make_replay from today's game; it must play to its
// recorded score on every build, the sanitizer build included.
TEST_F(ReplayRoundTripTest, CommittedReplayReachesItsRecordedScore) {
    Replay replay;
    std::string error;
    ASSERT_TRUE(replay_file::Read(KORVESSA_COMMITTED_REPLAY, replay, error)) << error;
    ASSERT_GT(replay.startTick, 0u) << "it should record a later game of its session";
    ASSERT_GT(replay.score, 0);
    GameApp app;
    ReplayPlayer player(replay);
    player.SeedGame();
    app.InitGame();
    player.SkipToGame(app);
    EXPECT_EQ(player.TicksPlayed(), replay.startTick);
    EXPECT_FALSE(player.InRecordedGame());
    while (player.Step(app)) {
    }
    EXPECT_EQ(player.TicksPlayed(), replay.tickCount);
    EXPECT_FALSE(app.running);
    EXPECT_EQ(app.score, replay.score);
}

// About five minutes of busy play, several games of it.
TEST_F(ReplayRoundTripTest, FiveMinutesOfPlayFitIn16Kilobytes) {
    constexpr int kFiveMinutes = 10000;  // ticks of 30 ms
    GameApp app;
    testing_support::RecordedSession session(app, 5, 11);
    for (int tick = 0; tick < kFiveMinutes; ++tick) session.Tick();
    const Replay replay = session.recorder.FinishGame(app.score);
    ASSERT_EQ(replay.tickCount, 10000u);
    const std::size_t size = replay_file::Encode(replay).size();
    std::printf("%zu input runs, %zu actions: %zu bytes\n", replay.inputs.size(),
                replay.events.size(), size);
    EXPECT_GT(replay.events.size(), 2000u) << "not busy enough to be a fair measure";
    EXPECT_LT(size, 16u * 1024u);
}

}  // namespace

namespace {

// A paused window is drawn again and again; only a redraw after a release
// can change the outlines the next tick reads, so only such a one is kept.
TEST(ReplayRecorderTest, RedrawsOfAnUnchangedGameAreNotKept) {
    ReplayRecorder recorder;
    recorder.BeginSession(1, SeedKind::kClock);
    recorder.OnAction(ReplayAction::kRedraw);  // nothing drawn yet
    recorder.OnTick(0);
    for (int i = 0; i < 1000; ++i) recorder.OnAction(ReplayAction::kRedraw);
    recorder.OnAction(ReplayAction::kSpace);
    for (int i = 0; i < 3; ++i) recorder.OnAction(ReplayAction::kRedraw);
    recorder.OnTick(0);
    const Replay replay = recorder.FinishGame(0);
    ASSERT_EQ(replay.events.size(), 3u);
    EXPECT_EQ(replay.events[0].action, ReplayAction::kRedraw);
    EXPECT_EQ(replay.events[0].tick, 0u);
    EXPECT_EQ(replay.events[1].action, ReplayAction::kSpace);
    EXPECT_EQ(replay.events[2].action, ReplayAction::kRedraw);
    EXPECT_EQ(replay.events[2].tick, 1u);
}

}  // namespace
