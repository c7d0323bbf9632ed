// Two korvessa-board processes on one PostgreSQL board, with a worker-only
// process beside them: every submission, whichever server took it, is
// verified exactly once, and both serve the same board.

#include <signal.h>

#include <string>
#include <vector>

#include "save/ReplayFile.h"
#include "tests/server/PostgresCluster.h"
#include "tests/server/ServerTest.h"

namespace board_testing {
namespace {

constexpr int kSubmissions = 200;

class PostgresBoardTest : public ServerTest {};

TEST_F(PostgresBoardTest, TwoServersShareOneBoardAndVerifyEachGameOnce) {
    if (!PostgresCluster::Installed()) GTEST_SKIP() << "PostgreSQL 15 is not installed";
    PostgresCluster cluster;
    ASSERT_TRUE(cluster.Started()) << cluster.Problem();
    const std::vector<std::string> arguments{"--database", cluster.Uri(),  "--workers",
                                             "1",          "--rate-limit", "0"};
    auto first = StartBoard(arguments, "first.log");
    auto second = StartBoard(arguments, "second.log");
    std::vector<std::string> workerOnly = arguments;
    workerOnly.push_back("--worker-only");
    auto worker = StartBoard(workerOnly, "worker.log");
    ASSERT_TRUE(first->Started()) << first->Log();
    ASSERT_TRUE(second->Started()) << second->Log();
    ASSERT_TRUE(worker->Started()) << worker->Log();
    BoardClient clients[] = {BoardClient(first->Port()), BoardClient(second->Port())};

    // Recorded first, then sent back to back: recording a game takes longer
    // than verifying it, and sent as they were recorded, the servers' own
    // workers could keep the queue empty whenever the worker-only process
    // looks at it.
    std::vector<std::string> replays;
    std::uint32_t day = 0;
    for (int i = 0; i < kSubmissions; ++i) {
        const Replay game = TodaysGame(1000 + i);
        day = game.seed;
        replays.push_back(replay_file::Encode(game));
    }
    std::vector<std::string> ids;
    for (int i = 0; i < kSubmissions; ++i) {
        const Answer answer = clients[i % 2].Submit(replays[static_cast<std::size_t>(i)],
                                                    "p" + std::to_string(i % 50));
        ASSERT_EQ(answer.status, 202) << answer.body;
        ids.push_back(answer.json.value("id", ""));
    }
    for (std::size_t i = 0; i < ids.size(); ++i) {
        // Asked of the server that did not take it.
        const nlohmann::json status = clients[(i + 1) % 2].AwaitDecision(ids[i]);
        EXPECT_EQ(status.value("status", ""), "verified") << status.dump();
    }
    const std::string path = "/api/v1/boards/" + std::to_string(day);
    const Answer fromFirst = clients[0].Get(path);
    EXPECT_EQ(fromFirst.json["entries"].size(), 50u);
    EXPECT_EQ(fromFirst.body, clients[1].Get(path).body);

    EXPECT_EQ(first->Stop(SIGTERM), 0);
    EXPECT_EQ(second->Stop(SIGTERM), 0);
    EXPECT_EQ(worker->Stop(SIGTERM), 0);
    const std::string logs = first->Log() + second->Log() + worker->Log();
    int byWorkerOnly = 0;
    for (const std::string& id : ids) {
        EXPECT_EQ(Decisions(logs, id), 1) << id;
        byWorkerOnly += Decisions(worker->Log(), id);
    }
    // Shared work: the worker-only process took some of it.
    EXPECT_GT(byWorkerOnly, 0);
}

}  // namespace
}  // namespace board_testing
