// Sending finished games without holding up the game: the pending queue,
// and the sender's worker with the board away, back, refusing or hanging.

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "board/BoardSender.h"
#include "board/PendingQueue.h"
#include "save/ReplayFile.h"
#include "tests/board/BoardStandIn.h"
#include "tests/support/TemporaryFolder.h"

namespace {

using testing_support::BoardStandIn;
using testing_support::TemporaryFolder;

constexpr BoardTimeouts kShortTimeouts{500, 1000};
constexpr BoardPolling kQuickPolling{10, 2000};
constexpr std::time_t kJune14 = 1781438400;  // 2026-06-14T12:00:00Z

Replay DailyGame(int score, SeedKind kind = SeedKind::kDaily) {
    Replay replay;
    replay.gameVersion = KORVESSA_VERSION;
    replay.seed = 20260614;
    replay.seedKind = kind;
    replay.score = score;
    replay.tickCount = 3;
    replay.inputs.push_back(InputRun{0, 3});
    return replay;
}

BoardAddress AddressOf(const std::string& text) {
    BoardAddress address;
    std::string problem;
    BoardAddress::Parse(text, address, problem);
    return address;
}

// A port nothing listens on: a stand-in's, once it is gone.
int FreePort() { return BoardStandIn().Port(); }

// True once `done` holds, false if it does not within ten seconds.
bool WaitUntil(const std::function<bool()>& done) {
    const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (!done()) {
        if (std::chrono::steady_clock::now() > until) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return true;
}

// The report on the game with this ticket, once it has come.
BoardReport ReportOn(BoardSender& sender, std::uint64_t ticket) {
    BoardReport found;
    EXPECT_TRUE(WaitUntil([&] {
        for (BoardReport& report : sender.TakeReports()) {
            if (report.ticket == ticket) found = std::move(report);
        }
        return found.ticket == ticket;
    })) << "no report on game "
        << ticket;
    return found;
}

std::unique_ptr<BoardSender> Sender(const std::string& address, const TemporaryFolder& data) {
    return std::make_unique<BoardSender>(AddressOf(address), "Ann",
                                         PendingQueue(DataFolder(data.path)), nullptr,
                                         kShortTimeouts, kQuickPolling);
}

TEST(PendingQueueTest, HoldsAtMostAHundredOldestFirstAndDropsTheOldestForANewOne) {
    TemporaryFolder data;
    PendingQueue queue{DataFolder(data.path)};
    EXPECT_TRUE(queue.Names().empty()) << "no folder yet is an empty queue";
    std::string name;
    std::string error;
    std::vector<std::string> dropped;
    for (int n = 0; n < 101; ++n) {
        // Two games a second: the same second's files keep their order too.
        ASSERT_TRUE(queue.Add("game " + std::to_string(n), kJune14 + n / 2, name, dropped, error))
            << error;
    }
    const std::vector<std::string> names = queue.Names();
    ASSERT_EQ(names.size(), PendingQueue::kMaxFiles);
    EXPECT_EQ(dropped, std::vector<std::string>{"20260614-120000-00.kvr"});
    EXPECT_EQ(names.front(), "20260614-120000-01.kvr");
    EXPECT_EQ(names.back(), "20260614-120050-00.kvr");
    std::string bytes;
    ASSERT_TRUE(queue.Read(names.front(), bytes, error));
    EXPECT_EQ(bytes, "game 1");
}

// The board away: games wait in pending/. Back: the next game is taken and
// its rank reported, then what waited goes, oldest first, and the day's
// board lists them. A refused game leaves the queue for good.
TEST(BoardSenderTest, GamesWaitWhileTheBoardIsAwayAndGoOldestFirstOnceOneIsTaken) {
    TemporaryFolder data;
    const int port = FreePort();
    const std::string address = "http://127.0.0.1:" + std::to_string(port);
    PendingQueue queue{DataFolder(data.path)};
    {
        auto sender = Sender(address, data);
        EXPECT_EQ(sender->SendGame(DailyGame(10, SeedKind::kSeed)), 0u) << "only daily games go";
        const std::uint64_t first = sender->SendGame(DailyGame(100));
        sender->SendGame(DailyGame(200));
        const BoardReport kept = ReportOn(*sender, first);
        EXPECT_EQ(kept.kind, BoardReport::Kind::kKept);
        EXPECT_EQ(kept.line.rfind("no answer from the board at " + address, 0), 0u) << kept.line;
        EXPECT_NE(kept.line.find("waits in " + queue.Path()), std::string::npos) << kept.line;
        EXPECT_TRUE(WaitUntil([&] { return queue.Names().size() == 2; }));
    }

    BoardStandIn server(BoardStandIn::Mode::kBoard, port);
    auto sender = Sender(address, data);
    const BoardReport taken = ReportOn(*sender, sender->SendGame(DailyGame(300)));
    EXPECT_EQ(taken.kind, BoardReport::Kind::kVerified);
    EXPECT_EQ(taken.verdict.rank, 1);
    ASSERT_TRUE(WaitUntil([&] { return queue.Names().empty(); }));
    EXPECT_EQ(server.Received(), (std::vector<std::string>{replay_file::Encode(DailyGame(300)),
                                                           replay_file::Encode(DailyGame(100)),
                                                           replay_file::Encode(DailyGame(200))}));
    EXPECT_EQ(server.Players(), (std::vector<std::string>{"Ann", "Ann", "Ann"}));
    const BoardReport board = ReportOn(*sender, sender->FetchBoard(20260614));
    EXPECT_EQ(board.kind, BoardReport::Kind::kBoard);
    ASSERT_EQ(board.entries.size(), 3u);
    EXPECT_EQ(board.entries[2].rank, 3);
    EXPECT_EQ(board.entries[2].player, "Ann");
    EXPECT_EQ(board.entries[2].score, 998);

    BoardStandIn refusing(BoardStandIn::Mode::kRefuse);
    auto refused = Sender(refusing.Address(), data);
    const BoardReport report = ReportOn(*refused, refused->SendGame(DailyGame(400)));
    EXPECT_EQ(report.kind, BoardReport::Kind::kRefused);
    EXPECT_EQ(report.line, BoardStandIn::kRefusal);
    EXPECT_TRUE(queue.Names().empty()) << "a refused game is not sent again";
}

// Quitting (or closing for new settings) while the board hangs: the request
// is given up at once, the games not yet sent are in pending/, and each has
// a report saying so for whoever shows it as being sent.
TEST(BoardSenderTest, QuittingWhileTheBoardHangsReturnsAtOnceAndLosesNoGame) {
    TemporaryFolder data;
    BoardStandIn hanging(BoardStandIn::Mode::kHang);
    auto sender = std::make_unique<BoardSender>(AddressOf(hanging.Address()), "Ann",
                                                PendingQueue(DataFolder(data.path)), nullptr);
    const std::uint64_t first = sender->SendGame(DailyGame(1));
    const std::uint64_t second = sender->SendGame(DailyGame(2));
    std::this_thread::sleep_for(std::chrono::milliseconds(300));  // the first is under way
    const auto start = std::chrono::steady_clock::now();
    const std::vector<BoardReport> reports = sender->Close();
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(500));
    EXPECT_EQ(PendingQueue(DataFolder(data.path)).Names().size(), 2u);
    for (const std::uint64_t ticket : {first, second}) {
        const auto kept = std::find_if(reports.begin(), reports.end(), [&](const BoardReport& r) {
            return r.ticket == ticket && r.kind == BoardReport::Kind::kKept;
        });
        ASSERT_NE(kept, reports.end()) << "no word on game " << ticket;
        EXPECT_EQ(kept->line.rfind("not sent before the board was closed; the replay waits in ", 0),
                  0u)
            << kept->line;
    }
}

}  // namespace
