// korvessa --verify's runner on real GL: the committed replay verifies, a
// replay claiming another score does not, a file that is no replay is
// refused.

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <string>
#include <utility>
#include <vector>

#include "save/ReplayFile.h"
#include "save/ReplayVerifier.h"

namespace {

std::string Captured(std::FILE* file) {
    std::rewind(file);
    std::string text;
    char buffer[512];
    while (std::fgets(buffer, sizeof buffer, file) != nullptr) text += buffer;
    return text;
}

class VerifyTest : public ::testing::Test {
protected:
    void SetUp() override {
        out = std::tmpfile();
        err = std::tmpfile();
        ASSERT_NE(out, nullptr);
        ASSERT_NE(err, nullptr);
        char name[] = "/tmp/korvessa-verify-XXXXXX";
        const int fd = mkstemp(name);
        ASSERT_GE(fd, 0);
        close(fd);
        path = name;
    }
    void TearDown() override {
        std::fclose(out);
        std::fclose(err);
        unlink(path.c_str());
    }

    std::FILE* out = nullptr;
    std::FILE* err = nullptr;
    std::string path;  // a scratch file
};

TEST_F(VerifyTest, CommittedReplayScoresWhatItRecords) {
    Replay replay;
    std::string error;
    ASSERT_TRUE(replay_file::Read(KORVESSA_COMMITTED_REPLAY, replay, error)) << error;
    EXPECT_EQ(replay_verifier::Verify(KORVESSA_COMMITTED_REPLAY, out, err),
              replay_verifier::kScoreMatches);
    EXPECT_EQ(Captured(out), std::string(KORVESSA_COMMITTED_REPLAY) + ": score " +
                                 std::to_string(replay.score) + ", " +
                                 std::to_string(replay.tickCount) + " ticks\n");
    EXPECT_EQ(Captured(err), "");
}

TEST_F(VerifyTest, AnotherClaimedScoreFails) {
    Replay replay;
    std::string error;
    ASSERT_TRUE(replay_file::Read(KORVESSA_COMMITTED_REPLAY, replay, error)) << error;
    const int played = replay.score;
    replay.score += 25;
    ASSERT_TRUE(replay_file::Write(path, replay, error)) << error;
    EXPECT_EQ(replay_verifier::Verify(path, out, err), replay_verifier::kScoreDiffers);
    EXPECT_EQ(Captured(out), path + ": score " + std::to_string(played) + ", " +
                                 std::to_string(replay.tickCount) + " ticks; the file records " +
                                 std::to_string(replay.score) + "\n");
}

// The right score is not enough: the game must end in the file's last tick.
TEST_F(VerifyTest, TicksPlayedAfterTheGameEndedFail) {
    Replay replay;
    std::string error;
    ASSERT_TRUE(replay_file::Read(KORVESSA_COMMITTED_REPLAY, replay, error)) << error;
    replay.inputs.push_back(InputRun{0, 500});
    replay.tickCount += 500;
    ASSERT_TRUE(replay_file::Write(path, replay, error)) << error;
    EXPECT_EQ(replay_verifier::Verify(path, out, err), replay_verifier::kScoreDiffers);
    EXPECT_NE(Captured(out).find("; the game ended before the last tick"), std::string::npos);
}

// What the file says about its game is checked too, not only the score: a
// daily seed must be a date, and the recorded game must start exactly at
// its start tick, here moved later (the game already running) or earlier
// (still the game-over screen).
TEST_F(VerifyTest, LabelsThatDoNotFitTheGameFail) {
    Replay replay;
    std::string error;
    ASSERT_TRUE(replay_file::Read(KORVESSA_COMMITTED_REPLAY, replay, error)) << error;
    ASSERT_GT(replay.startTick, 5u) << "the committed replay is a session's second game";
    const std::vector<std::pair<Replay, std::string>> cases = [&] {
        Replay later = replay, earlier = replay, daily = replay, notADate = replay;
        later.startTick += 5;
        earlier.startTick -= 5;
        daily.seedKind = SeedKind::kDaily;  // its seed, 20250614, is a date
        notADate.seedKind = SeedKind::kDaily;
        notADate.seed = 20250631;
        return std::vector<std::pair<Replay, std::string>>{
            {later, "; the recorded game did not start at tick " + std::to_string(later.startTick)},
            {earlier,
             "; the recorded game did not start at tick " + std::to_string(earlier.startTick)},
            {daily, ""},
            {notADate, "; the seed kind says daily but 20250631 is not a date"}};
    }();
    for (const auto& [labelled, expected] : cases) {
        SCOPED_TRACE(expected);
        ASSERT_TRUE(replay_file::Write(path, labelled, error)) << error;
        std::fclose(out);
        out = std::tmpfile();
        const int status = replay_verifier::Verify(path, out, err);
        const std::string said = Captured(out);
        if (expected.empty()) {
            EXPECT_EQ(status, replay_verifier::kScoreMatches) << said;
        } else {
            EXPECT_EQ(status, replay_verifier::kScoreDiffers);
            EXPECT_NE(said.find(expected), std::string::npos) << said;
        }
        EXPECT_EQ(said.find("ended before"), std::string::npos) << said;
    }
}

TEST_F(VerifyTest, NotAReplayIsRefused) {
    std::FILE* file = std::fopen(path.c_str(), "wb");
    ASSERT_NE(file, nullptr);
    std::fputs("korvessa scores 1\n", file);
    std::fclose(file);
    EXPECT_EQ(replay_verifier::Verify(path, out, err), replay_verifier::kInvalidFile);
    EXPECT_EQ(Captured(out), "");
    EXPECT_EQ(Captured(err), "korvessa: " + path + ": not a replay file (wrong magic)\n");
}

}  // namespace
