// Many clients at once while the workers verify: what the other server tests
// do one request at a time, here side by side, so that the ThreadSanitizer
// build sees the request threads, the rate limit, the store and the workers
// meet. Every answer stays right, and the limit counts each request once.

#include <signal.h>

#include <atomic>
#include <ctime>
#include <string>
#include <thread>
#include <vector>

#include "save/SeedKind.h"
#include "tests/server/ServerTest.h"

namespace board_testing {
namespace {

constexpr int kGames = 6;
constexpr int kRateLimit = 30;
constexpr int kFloodThreads = 8;
constexpr int kFloodEach = 5;
constexpr int kReaders = 3;

class ConcurrentClientsTest : public ServerTest {};

// Runs `work(i)` on `count` threads at once and waits for them all.
template <typename Work>
void Together(int count, Work work) {
    std::vector<std::thread> threads;
    for (int i = 0; i < count; ++i) threads.emplace_back(work, i);
    for (std::thread& thread : threads) thread.join();
}

TEST_F(ConcurrentClientsTest, EveryAnswerRightAndTheRateLimitExact) {
    std::vector<std::string> replays;
    for (int i = 0; i < kGames; ++i) replays.push_back(TodaysReplay(300 + i));
    auto board = StartBoard({"--workers", "2", "--rate-limit", std::to_string(kRateLimit)});
    ASSERT_TRUE(board->Started()) << board->Log();

    std::vector<std::string> ids(kGames);
    Together(kGames, [&](int i) {
        BoardClient client(board->Port());
        const Answer answer = client.Submit(replays[i], "player " + std::to_string(i));
        EXPECT_EQ(answer.status, 202) << answer.body;
        ids[i] = answer.json.value("id", "");
    });

    // While the workers verify: readers of the board and its page, and a
    // flood of bad files from the same address, more than the limit leaves.
    const std::string today = std::to_string(DailySeed(std::time(nullptr)));
    std::atomic<int> refused{0}, limited{0}, other{0};
    Together(kFloodThreads + kReaders, [&](int i) {
        BoardClient client(board->Port());
        if (i >= kFloodThreads) {
            for (int n = 0; n < kFloodEach; ++n) {
                EXPECT_EQ(client.Get("/api/v1/boards/" + today).status, 200);
                EXPECT_EQ(client.Get("/").status, 200);
                EXPECT_EQ(client.Get("/api/v1/submissions/" + ids[n % kGames]).status, 200);
            }
            return;
        }
        for (int n = 0; n < kFloodEach; ++n) {
            const int status = client.Submit("not a replay", "flood").status;
            (status == 400 ? refused : status == 429 ? limited : other) += 1;
        }
    });
    EXPECT_EQ(refused, kRateLimit - kGames);
    EXPECT_EQ(limited, kFloodThreads * kFloodEach - (kRateLimit - kGames));
    EXPECT_EQ(other, 0);

    BoardClient client(board->Port());
    for (const std::string& id : ids) {
        EXPECT_EQ(client.AwaitDecision(id).value("status", ""), "verified") << id;
    }
    const Answer standings = client.Get("/api/v1/boards/" + today);
    EXPECT_EQ(standings.json["entries"].size(), static_cast<std::size_t>(kGames)) << standings.body;
    EXPECT_EQ(board->Stop(SIGTERM), 0) << board->Log();
}

}  // namespace
}  // namespace board_testing
