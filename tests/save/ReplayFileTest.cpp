// Replay files that are damaged, cut short, foreign or from the future are
// refused with a message, whatever their bytes; none is half accepted.

#include <gtest/gtest.h>
#include <zlib.h>

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>
#include <random>
#include <string>

#include "game/GameApp.h"
#include "save/ReplayFile.h"
#include "tests/gl/RecordingGL.h"
#include "tests/support/RecordedSession.h"

namespace {

constexpr std::size_t kChecksumSize = 4;
constexpr std::size_t kVersionOffset = 4;
constexpr int kFuzzCases = 100000;

// A short busy session, encoded: about a thousand bytes of every kind of
// field.
const std::string& SampleBytes() {
    static const std::string bytes = [] {
        recgl::SetRecording(false);
        GameApp app;
        testing_support::RecordedSession session(app, 31, 8);
        for (int tick = 0; tick < 600; ++tick) session.Tick();
        recgl::SetRecording(true);
        return replay_file::Encode(session.recorder.FinishGame(app.score));
    }();
    return bytes;
}

// Writes a correct checksum over whatever the bytes now are, so that damage
// reaches the checks behind it.
void FixChecksum(std::string& bytes) {
    if (bytes.size() < kChecksumSize) return;
    const std::size_t end = bytes.size() - kChecksumSize;
    const auto crc = static_cast<std::uint32_t>(crc32(crc32(0L, Z_NULL, 0),
                                                      reinterpret_cast<const Bytef*>(bytes.data()),
                                                      static_cast<uInt>(end)));
    for (std::size_t i = 0; i < kChecksumSize; ++i) {
        bytes[end + i] = static_cast<char>((crc >> (8 * i)) & 0xFF);
    }
}

std::string Refusal(const std::string& bytes) {
    Replay replay;
    replay.score = -7;  // must survive a refusal untouched
    std::string what;
    if (replay_file::Decode(bytes, replay, what)) return "";
    EXPECT_EQ(replay.score, -7) << "a refused file changed the replay";
    EXPECT_FALSE(what.empty());
    return what;
}

TEST(ReplayFileTest, SampleIsValidAndSmall) {
    Replay replay;
    std::string what;
    ASSERT_TRUE(replay_file::Decode(SampleBytes(), replay, what)) << what;
    EXPECT_EQ(replay.tickCount, 600u);
    EXPECT_EQ(replay.gameVersion, KORVESSA_VERSION);
    EXPECT_EQ(replay_file::Encode(replay), SampleBytes());
}

TEST(ReplayFileTest, EveryCutIsRefusedAsTruncated) {
    const std::string& bytes = SampleBytes();
    for (std::size_t length = 0; length < bytes.size(); ++length) {
        EXPECT_EQ(Refusal(bytes.substr(0, length)), "truncated") << "cut at " << length;
    }
}

TEST(ReplayFileTest, NamedDamageIsRefusedByName) {
    std::string bytes = SampleBytes();
    bytes[1] = 'X';
    EXPECT_EQ(Refusal(bytes), "not a replay file (wrong magic)");

    bytes = SampleBytes();
    const int newer = Replay::kFormatVersion + 1;
    bytes[kVersionOffset] = static_cast<char>(newer);
    FixChecksum(bytes);
    EXPECT_EQ(Refusal(bytes),
              "made by a newer version of the game (replay format " + std::to_string(newer) + ")");

    bytes = SampleBytes();
    bytes[bytes.size() / 2] ^= 0x10;
    EXPECT_EQ(Refusal(bytes), "bad checksum");

    // The start tick (after magic, version and the game version) set past
    // the last tick, with a checksum that fits.
    bytes = SampleBytes();
    const std::size_t startTick = kVersionOffset + 2 + 1 + std::strlen(KORVESSA_VERSION) + 4 + 1;
    bytes[startTick + 3] = 0x7F;
    FixChecksum(bytes);
    EXPECT_EQ(Refusal(bytes), "impossible values: the game starts after the last tick");

    bytes = SampleBytes();
    bytes.insert(bytes.size() - kChecksumSize, "x");
    FixChecksum(bytes);
    EXPECT_EQ(Refusal(bytes), "unexpected bytes after the actions");
}

TEST(ReplayFileTest, ReadingNamesTheFile) {
    Replay replay;
    std::string error;
    EXPECT_FALSE(replay_file::Read("/nonexistent/a.kvr", replay, error));
    EXPECT_EQ(error.rfind("/nonexistent/a.kvr: cannot open", 0), 0u) << error;
}

// Mutated files: flipped bits, overwritten, inserted and deleted bytes, cut
// tails, copied stretches; half of them with their checksum made right
// again so the damage reaches the parser and the value checks.
TEST(ReplayFileTest, MutatedFilesAreValidOrRefusedNeverCrash) {
    std::mt19937 random(2026);
    const std::string& sample = SampleBytes();
    int accepted = 0;
    int refused = 0;
    for (int trial = 0; trial < kFuzzCases; ++trial) {
        std::string bytes = sample;
        const int mutations = 1 + static_cast<int>(random() % 4);
        for (int m = 0; m < mutations && !bytes.empty(); ++m) {
            const std::size_t at = random() % bytes.size();
            switch (random() % 6) {
                case 0:
                    bytes[at] = static_cast<char>(bytes[at] ^ (1u << (random() % 8)));
                    break;
                case 1:
                    bytes[at] = static_cast<char>(random());
                    break;
                case 2:
                    bytes.insert(at, 1, static_cast<char>(random()));
                    break;
                case 3:
                    bytes.erase(at, 1 + random() % 8);
                    break;
                case 4:
                    bytes.resize(at);
                    break;
                default: {
                    const std::size_t from = random() % bytes.size();
                    const std::size_t length = random() % 16;
                    bytes.insert(at, bytes.substr(from, length));
                    break;
                }
            }
        }
        if (random() % 2 == 0) FixChecksum(bytes);
        Replay replay;
        std::string what;
        if (replay_file::Decode(bytes, replay, what)) {
            ++accepted;
            // Whatever is accepted is playable and writes back the same.
            ASSERT_EQ(replay.Problem(), "") << "trial " << trial;
            ASSERT_EQ(replay_file::Encode(replay), bytes) << "trial " << trial;
        } else {
            ++refused;
            ASSERT_FALSE(what.empty()) << "trial " << trial;
            ASSERT_EQ(what.find('\n'), std::string::npos) << "trial " << trial;
        }
    }
    std::printf("%d mutated files accepted, %d refused\n", accepted, refused);
    EXPECT_EQ(accepted + refused, kFuzzCases);
    // Both outcomes must be common, or the mutations miss the parser.
    EXPECT_GT(accepted, kFuzzCases / 100);
    EXPECT_GT(refused, kFuzzCases / 2);
}

// Files of the first format, from before the speed was kept, are full-speed
// games and write back byte for byte; a slow game needs the newer format.
TEST(ReplayFileTest, FirstFormatFilesAreFullSpeedGames) {
    Replay replay;
    std::string error;
    ASSERT_TRUE(replay_file::Read(KORVESSA_COMMITTED_REPLAY, replay, error)) << error;
    EXPECT_EQ(replay.formatVersion, 1);
    EXPECT_TRUE(replay.AtFullSpeed());
    std::ifstream file(KORVESSA_COMMITTED_REPLAY, std::ios::binary);
    const std::string bytes{std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
    EXPECT_EQ(replay_file::Encode(replay), bytes);

    replay.speed = 50;
    EXPECT_EQ(replay.Problem(), "a speed its format version cannot hold");
    replay.formatVersion = Replay::kFormatVersion;
    ASSERT_EQ(replay.Problem(), "");
    Replay slow;
    ASSERT_TRUE(replay_file::Decode(replay_file::Encode(replay), slow, error)) << error;
    EXPECT_EQ(slow.speed, 50);
    EXPECT_FALSE(slow.AtFullSpeed());
    replay.speed = 90;
    EXPECT_EQ(replay.Problem(), "an unknown speed");
}

}  // namespace
