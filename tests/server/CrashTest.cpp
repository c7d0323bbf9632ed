// Nothing accepted is lost: a server killed with SIGKILL while its workers
// verify a batch, and one stopped with SIGTERM, leave every submission that
// got a 202 to be decided, once, by the server started after them.

#include <signal.h>

#include <chrono>
#include <string>
#include <thread>
#include <vector>

#include "save/ReplayFile.h"
#include "tests/server/ServerTest.h"

namespace board_testing {
namespace {

constexpr int kSubmissions = 60;

class CrashTest : public ServerTest {
protected:
    // Waits until the log holds at least `count` verdicts.
    static bool AwaitVerdicts(const BoardProcess& board, int count) {
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
        while (std::chrono::steady_clock::now() < deadline) {
            const std::string log = board.Log();
            int verdicts = 0;
            for (std::size_t at = log.find(" verified: "); at != std::string::npos;
                 at = log.find(" verified: ", at + 1)) {
                verdicts += 1;
            }
            if (verdicts >= count) return true;
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        }
        return false;
    }
};

TEST_F(CrashTest, EveryAcceptedSubmissionIsDecidedOnceAfterAKillAndAStop) {
    // A short lease, so the restarted server retakes the dead one's jobs soon.
    const std::vector<std::string> arguments{"--workers", "1", "--lease", "2", "--rate-limit", "0"};
    std::vector<std::string> replays;
    for (int i = 0; i < kSubmissions; ++i) replays.push_back(TodaysReplay(100 + i));

    std::vector<std::string> ids;
    {
        auto board = StartBoard(arguments);
        ASSERT_TRUE(board->Started()) << board->Log();
        BoardClient client(board->Port());
        for (const std::string& replay : replays) {
            const Answer answer = client.Submit(replay, "crash");
            ASSERT_EQ(answer.status, 202) << answer.body;
            ids.push_back(answer.json.value("id", ""));
        }
        ASSERT_TRUE(AwaitVerdicts(*board, 5));
        EXPECT_EQ(board->Stop(SIGKILL), 128 + SIGKILL);
    }
    {
        // Mid-batch again, stopped politely this time: what is under way is
        // finished and recorded, and the status is 0.
        auto board = StartBoard(arguments);
        ASSERT_TRUE(board->Started()) << board->Log();
        const std::size_t before = board->Log().size();
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(30);
        while (board->Log().find(" verified: ", before) == std::string::npos &&
               std::chrono::steady_clock::now() < deadline) {
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        }
        EXPECT_EQ(board->Stop(SIGTERM), 0) << board->Log();
    }
    auto board = StartBoard(arguments);
    ASSERT_TRUE(board->Started()) << board->Log();
    BoardClient client(board->Port());
    int verified = 0;
    for (const std::string& id : ids) {
        const std::string state = client.AwaitDecision(id).value("status", "");
        verified += state == "verified";
        EXPECT_TRUE(state == "verified") << id << " " << state;
    }
    EXPECT_EQ(board->Stop(SIGTERM), 0);
    EXPECT_EQ(verified, kSubmissions);
    // One log for the three runs: no submission decided twice. The kill may
    // fall between a verdict's commit and its log line, on its one worker.
    const std::string log = board->Log();
    int decisions = 0;
    for (const std::string& id : ids) {
        EXPECT_LE(Decisions(log, id), 1) << id << "\n" << log;
        decisions += Decisions(log, id);
    }
    EXPECT_GE(decisions, kSubmissions - 1);
}

// A verification that outlasts the lease renews it, so a worker beside it
// never takes the job over and plays it a second time.
TEST_F(CrashTest, AVerificationLongerThanTheLeaseKeepsItsJob) {
    Replay game = TodaysGame(3);
    // A game played on long after it ended: about three seconds of work, all
    // of it done before the verdict (rejected, for the ticks after the end).
    constexpr std::uint32_t kIdleTicks = 300000;
    game.inputs.push_back(InputRun{0, kIdleTicks});
    game.tickCount += kIdleTicks;
    const std::vector<std::string> arguments{"--workers", "1", "--lease", "1"};
    auto board = StartBoard(arguments);
    ASSERT_TRUE(board->Started()) << board->Log();
    BoardClient client(board->Port());
    const Answer answer = client.Submit(replay_file::Encode(game), "patient");
    ASSERT_EQ(answer.status, 202) << answer.body;
    const std::string id = answer.json.value("id", "");
    // The first worker is woken by the POST, but on a busy machine the
    // second process may be up before it takes the job: either may verify
    // it, and only one may.
    std::vector<std::string> workerOnly = arguments;
    workerOnly.push_back("--worker-only");
    auto beside = StartBoard(workerOnly, "beside.log");
    ASSERT_TRUE(beside->Started()) << beside->Log();
    const nlohmann::json status = client.AwaitDecision(id, std::chrono::seconds(120));
    EXPECT_NE(status.value("reason", "").find("the game ended before the last tick"),
              std::string::npos)
        << status.dump();
    EXPECT_EQ(beside->Stop(SIGTERM), 0);
    // Read once both have exited: a worker logs its decision just after it
    // stores it, so the client may see the verdict before the line is written.
    EXPECT_EQ(board->Stop(SIGTERM), 0);
    EXPECT_EQ(Decisions(board->Log(), id) + Decisions(beside->Log(), id), 1)
        << board->Log() << beside->Log();
}

}  // namespace
}  // namespace board_testing
