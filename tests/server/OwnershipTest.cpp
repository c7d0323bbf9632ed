// The real korvessa-board on SQLite and on PostgreSQL: a stolen replay made
// to look new (another version string, a run split, the other format) is
// refused as a copy and the board stays as it was, while a game changed in
// one input ranks on its own; a name belongs to the key of its first
// verified game, also when two race for it. And a flood of the costliest
// files the board takes delays another address's game by seconds at most.

#include <signal.h>

#include <chrono>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "game/GameApp.h"
#include "save/ReplayFile.h"
#include "save/ReplayVerifier.h"
#include "server/BoardServer.h"
#include "server/BoardStore.h"
#include "server/OpenStore.h"
#include "server/Ownership.h"
#include "server/SubmissionRules.h"
#include "tests/server/PostgresCluster.h"
#include "tests/server/ServerTest.h"
#include "tests/support/DailyReplay.h"

namespace board_testing {
namespace {

// Two players' keys as the game makes them, and one header no game sends.
const std::string kAnnKey = "Bearer YW5uJ3Mga2V5LCBtYWRlIG9uY2UgYW5kIGtlcHQgdGhlcmU=";
const std::string kThiefKey = "Bearer dGhlIHRoaWVmJ3Mgb3duIGtleSwgdGhhdCBvZiBubyBvbmU=";
const std::string kMalformed = "Basic YW5uOnNlY3JldA==";

std::vector<std::uint8_t> BitsPerTick(const Replay& replay) {
    std::vector<std::uint8_t> bits;
    for (const InputRun& run : replay.inputs) bits.insert(bits.end(), run.length, run.bits);
    return bits;
}

void SetBits(Replay& replay, const std::vector<std::uint8_t>& bits) {
    replay.inputs.clear();
    for (const std::uint8_t tick : bits) {
        if (replay.inputs.empty() || replay.inputs.back().bits != tick) {
            replay.inputs.push_back(InputRun{tick, 0});
        }
        replay.inputs.back().length += 1;
    }
    replay.tickCount = static_cast<std::uint32_t>(bits.size());
}

// `replay`'s inputs played on, with nothing held once they run out, until
// its game ends: the file that game makes, score and last tick true.
Replay PlayedToItsEnd(Replay replay) {
    constexpr std::uint32_t kMoreTicks = 100000;
    std::vector<std::uint8_t> bits = BitsPerTick(replay);
    bits.insert(bits.end(), kMoreTicks, 0);
    SetBits(replay, bits);
    std::uint32_t ticks = 0;
    std::uint32_t end = 0;
    replay_verifier::Check(replay, [&](const GameApp& app) {
        ticks += 1;
        if (end == 0 && !app.running) {
            end = ticks;
            replay.score = app.score;
        }
    });
    bits.resize(end);
    SetBits(replay, bits);
    while (!replay.events.empty() && replay.events.back().tick >= end) replay.events.pop_back();
    return replay;
}

class OwnershipTest : public ServerTest {
protected:
    // Submits and waits for the verdict: its status, or the refusal.
    nlohmann::json Decide(BoardClient& client, const Replay& replay, const std::string& player,
                          const std::string& key) {
        const Answer answer = client.Submit(replay_file::Encode(replay), player, key);
        if (answer.status != 202) return answer.json;
        return client.AwaitDecision(answer.json.value("id", ""));
    }

    void CopiesAreRefusedAndNamesAreOwned(const std::vector<std::string>& arguments) {
        auto board = StartBoard(arguments);
        ASSERT_TRUE(board->Started()) << board->Log();
        BoardClient client(board->Port());
        const Replay best = TodaysGame(2);
        ASSERT_EQ(Decide(client, best, "Ann", kAnnKey).value("status", ""), "verified");
        const std::string path = "/api/v1/boards/" + std::to_string(best.seed);
        const std::string before = client.Get(path).body;

        Replay otherVersion = best;
        otherVersion.gameVersion = "9.9.9-thief";
        Replay split = best;
        std::size_t run = 0;
        while (split.inputs[run].length < 2) run += 1;
        split.inputs.insert(split.inputs.begin() + static_cast<long>(run),
                            InputRun{split.inputs[run].bits, 1});
        split.inputs[run + 1].length -= 1;
        Replay otherFormat = best;
        otherFormat.formatVersion = best.formatVersion == 1 ? 2 : 1;
        for (const Replay& copy : {otherVersion, split, otherFormat}) {
            ASSERT_NE(replay_file::Encode(copy), replay_file::Encode(best));
            const nlohmann::json decided = Decide(client, copy, "Thief", kThiefKey);
            EXPECT_EQ(decided.value("status", ""), "rejected") << decided.dump();
            EXPECT_EQ(decided.value("reason", ""), ownership::kCopy) << decided.dump();
        }
        EXPECT_EQ(client.Get(path).body, before);

        // One tick of turning, a third of the way in: another game.
        std::vector<std::uint8_t> bits = BitsPerTick(best);
        bits[bits.size() / 3] ^= GameApp::kInputLeft;
        Replay changed = best;
        SetBits(changed, bits);
        changed = PlayedToItsEnd(changed);
        const nlohmann::json own = Decide(client, changed, "Thief", kThiefKey);
        EXPECT_EQ(own.value("status", ""), "verified") << own.dump();
        EXPECT_EQ(client.Get(path).json["entries"].size(), 2u);

        // Ann's name, whatever its case, is her key's.
        const Replay another = TodaysGame(4);
        for (const std::string& key : {kThiefKey, std::string()}) {
            const Answer refused = client.Submit(replay_file::Encode(another), "ANN", key);
            EXPECT_EQ(refused.status, 403) << refused.body;
            EXPECT_EQ(refused.json.value("error", ""), ownership::kNameTaken);
        }
        EXPECT_EQ(client.Submit(replay_file::Encode(another), "Ann", kMalformed).status, 400);
        EXPECT_EQ(Decide(client, another, "aNN", kAnnKey).value("status", ""), "verified");
        EXPECT_EQ(board->Stop(SIGTERM), 0) << board->Log();
    }
};

TEST_F(OwnershipTest, OnSqliteCopiesAreRefusedAndNamesAreOwned) {
    CopiesAreRefusedAndNamesAreOwned({"--workers", "2", "--rate-limit", "0"});
}

TEST_F(OwnershipTest, OnPostgresCopiesAreRefusedAndNamesAreOwned) {
    if (!PostgresCluster::Installed()) GTEST_SKIP() << "PostgreSQL 15 is not installed";
    PostgresCluster cluster;
    ASSERT_TRUE(cluster.Started()) << cluster.Problem();
    CopiesAreRefusedAndNamesAreOwned(
        {"--database", cluster.Uri(), "--workers", "2", "--rate-limit", "0"});
}

// Two stores on one PostgreSQL database, as two processes have: two workers
// finishing copies of one game at the same moment, or two keys' first games
// under one name, rank one of the two.
TEST_F(OwnershipTest, RacingVerdictsOnPostgresRankOnce) {
    if (!PostgresCluster::Installed()) GTEST_SKIP() << "PostgreSQL 15 is not installed";
    constexpr int kRounds = 20;
    PostgresCluster cluster;
    ASSERT_TRUE(cluster.Started()) << cluster.Problem();
    const std::unique_ptr<BoardStore> stores[] = {OpenStore(cluster.Uri()),
                                                  OpenStore(cluster.Uri())};
    const std::int64_t now = 1000;
    for (int round = 0; round < 2 * kRounds; ++round) {
        const bool copies = round < kRounds;
        const std::string tag = std::to_string(round);
        std::string ids[2];
        Job jobs[2];
        for (int i = 0; i < 2; ++i) {
            NewSubmission submission;
            ids[i] = tag + "-" + std::to_string(i);
            submission.id = ids[i];
            // Copies under names of their own; or two keys' games under one name.
            submission.player = copies ? ids[i] : "name " + tag;
            submission.keyHash = ownership::KeyHash("key " + std::to_string(i));
            submission.day = 20260614;
            submission.replay = ids[i];
            ASSERT_TRUE(stores[0]->Add(submission));
        }
        for (int i = 0; i < 2; ++i) {
            const std::optional<Job> job =
                stores[i]->Take("worker" + std::to_string(i), now, 60000);
            ASSERT_TRUE(job);
            jobs[i] = *job;
        }
        Verdict verdicts[2];
        for (int i = 0; i < 2; ++i) {
            verdicts[i].verified = true;
            verdicts[i].digest = copies ? "game " + tag : "game " + ids[i];
        }
        std::thread other([&] { stores[1]->Finish(jobs[1], "worker1", verdicts[1], now); });
        stores[0]->Finish(jobs[0], "worker0", verdicts[0], now);
        other.join();
        int verified = 0;
        for (const std::string& id : ids) {
            const std::optional<Submission> found = stores[0]->Find(id);
            ASSERT_TRUE(found);
            verified += found->state == SubmissionState::kVerified ? 1 : 0;
            if (found->state == SubmissionState::kRejected) {
                EXPECT_EQ(found->reason, copies ? ownership::kCopy : ownership::kNameTaken);
            }
        }
        EXPECT_EQ(verified, 1) << (copies ? "copies" : "one name") << ", round " << round;
    }
}

// One worker, so that the order it takes jobs in shows.
TEST_F(OwnershipTest, AFloodFromOneAddressDelaysAnotherAddressesGameBySecondsAtMost) {
    constexpr int kRateLimit = 30;
    constexpr auto kWithin = std::chrono::seconds(10);
    auto board = StartBoard({"--workers", "1", "--trust-proxy"});
    ASSERT_TRUE(board->Started()) << board->Log();
    BoardClient client(board->Port());
    const Replay honest = TodaysGame(2);
    Replay costly = testing_support::CostliestDailyFile(honest.seed, BoardServer::kMaxReplayBytes,
                                                        submission_rules::kMaxTicks,
                                                        submission_rules::kMaxReleasesPerTick);
    std::vector<std::string> flood;
    for (int i = 0; i < kRateLimit; ++i) {
        costly.score -= 1;
        const Answer sent = client.Submit(replay_file::Encode(costly), "flood", "", "10.0.0.1");
        ASSERT_EQ(sent.status, 202) << sent.body;
        flood.push_back(sent.json.value("id", ""));
    }
    const auto decided = [&] {
        int count = 0;
        for (const std::string& id : flood) {
            const Answer status = client.Get("/api/v1/submissions/" + id);
            count += status.json.value("status", "") != "pending" ? 1 : 0;
        }
        return count;
    };
    // Enough of the flood still waits for the order to show.
    const int decidedBefore = decided();
    ASSERT_LT(decidedBefore, kRateLimit - 5);
    const auto start = std::chrono::steady_clock::now();
    const Answer sent = client.Submit(replay_file::Encode(honest), "honest", "", "10.0.0.2");
    ASSERT_EQ(sent.status, 202) << sent.body;
    const nlohmann::json verdict = client.AwaitDecision(sent.json.value("id", ""), kWithin);
    EXPECT_EQ(verdict.value("status", ""), "verified") << verdict.dump();
    EXPECT_LT(std::chrono::steady_clock::now() - start, kWithin);
    // The one being verified when it came, perhaps one taken while the flood
    // was counted and one after it: not the flood's backlog.
    EXPECT_LE(decided() - decidedBefore, 3);
    // What of the flood is decided is rejected, as the false files they are.
    for (const std::string& id : flood) {
        const std::string status = client.Get("/api/v1/submissions/" + id).json.value("status", "");
        EXPECT_TRUE(status == "pending" || status == "rejected") << status;
    }
    EXPECT_EQ(board->Stop(SIGTERM), 0) << board->Log();
}

}  // namespace
}  // namespace board_testing
