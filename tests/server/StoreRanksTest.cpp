// Both stores' ranks, kept as rows by each verdict, against the ranking made
// from every game of the day: many players, ties, players with several
// games, verdicts out of the order of arrival; a board made before those
// rows, filled when opened; the day's version seen by another handle; and
// SQLite's log kept short.

#include <gtest/gtest.h>
#include <sqlite3.h>

#include <algorithm>
#include <filesystem>
#include <functional>
#include <map>
#include <pqxx/pqxx>
#include <random>
#include <string>
#include <vector>

#include "server/PostgresStore.h"
#include "server/SqliteStore.h"
#include "tests/server/PostgresCluster.h"
#include "tests/server/ServerTest.h"

namespace board_testing {
namespace {

constexpr std::uint32_t kDay = 20260614;
constexpr std::uint32_t kOtherDay = 20260615;
constexpr int kGames = 900;
constexpr int kPlayers = 150;
// Jobs taken together and decided in a shuffled order.
constexpr int kBatch = 12;

// The ranks' tables, dropped: a board as it was before they were kept.
constexpr const char* kDropRanks =
    "DROP TABLE best; DROP TABLE board_days; DROP TABLE board_scores;";

struct Game {
    std::string id;
    std::string player;
    std::uint32_t day = kDay;
    bool verified = true;
    std::int32_t score = 0;
    int seq = 0;  // the order of arrival
};

std::vector<Game> Games() {
    std::mt19937 random(26);
    std::vector<Game> games;
    for (int n = 0; n < kGames; ++n) {
        Game game;
        char id[33];
        std::snprintf(id, sizeof id, "%032x", n + 1);
        game.id = id;
        game.player = "p" + std::to_string(random() % kPlayers);
        game.day = n % 10 == 0 ? kOtherDay : kDay;
        game.verified = n % 7 != 0;
        // Few distinct scores: ties everywhere.
        game.score = static_cast<std::int32_t>(random() % 12) * 50;
        game.seq = n;
        games.push_back(game);
    }
    return games;
}

// Adds every game, then decides them a batch at a time in shuffled order.
void Record(BoardStore& store, const std::vector<Game>& games) {
    std::map<std::string, const Game*> byId;
    for (const Game& game : games) {
        ASSERT_TRUE(
            store.Add(NewSubmission{game.id, game.player, game.day, "bytes", game.seq, "", ""}));
        byId[game.id] = &game;
    }
    std::mt19937 random(27);
    for (;;) {
        std::vector<Job> jobs;
        while (jobs.size() < kBatch) {
            std::optional<Job> job = store.Take("w", 0, 1000);
            if (!job) break;
            jobs.push_back(*job);
        }
        if (jobs.empty()) return;
        std::shuffle(jobs.begin(), jobs.end(), random);
        for (const Job& job : jobs) {
            const Game& game = *byId.at(job.id);
            // Each game its own digest: none of them is a copy of another.
            const Verdict verdict{game.verified, game.score, 100, game.verified ? "" : "bad",
                                  "digest of " + game.id};
            ASSERT_TRUE(store.Finish(job, "w", verdict, 1));
        }
    }
}

// Each player's best verified game of kDay, best first, ties to the earlier.
std::vector<const Game*> Recomputed(const std::vector<Game>& games) {
    std::map<std::string, const Game*> best;
    const auto ahead = [](const Game* a, const Game* b) {
        return a->score != b->score ? a->score > b->score : a->seq < b->seq;
    };
    for (const Game& game : games) {
        if (game.day != kDay || !game.verified) continue;
        const Game*& kept = best[game.player];
        if (kept == nullptr || ahead(&game, kept)) kept = &game;
    }
    std::vector<const Game*> board;
    for (const auto& [player, game] : best) board.push_back(game);
    std::sort(board.begin(), board.end(), ahead);
    return board;
}

void ExpectRanks(BoardStore& store, const std::vector<Game>& games) {
    const std::vector<const Game*> expected = Recomputed(games);
    const std::vector<board_store::BoardEntry> board = store.Board(kDay, kGames);
    ASSERT_EQ(board.size(), expected.size());
    for (std::size_t i = 0; i < board.size(); ++i) {
        EXPECT_EQ(board[i].rank, static_cast<int>(i) + 1);
        EXPECT_EQ(board[i].id, expected[i]->id) << "rank " << i + 1;
        EXPECT_EQ(board[i].score, expected[i]->score);
    }
    EXPECT_EQ(store.Board(kDay, 10).size(), 10u);
    // Every verified game's standing, its player's best or not: the other
    // players whose best is ahead of it.
    for (const Game& game : games) {
        if (game.day != kDay || !game.verified) continue;
        const int ahead =
            static_cast<int>(std::count_if(expected.begin(), expected.end(), [&](const Game* best) {
                return best->player != game.player &&
                       (best->score > game.score ||
                        (best->score == game.score && best->seq < game.seq));
            }));
        const std::optional<Submission> found = store.Find(game.id);
        ASSERT_TRUE(found);
        const Standing standing = store.StandingOf(*found);
        EXPECT_EQ(standing.rank, ahead + 1) << game.id;
        EXPECT_EQ(standing.players, static_cast<int>(expected.size()));
    }
}

// Records the games through one handle, checks the ranks, the day's version
// as another handle sees it, and the ranks of the same board opened again
// after its rows were dropped.
void CheckStore(const std::function<std::unique_ptr<BoardStore>()>& open,
                const std::function<void()>& dropRanks) {
    const std::vector<Game> games = Games();
    auto writer = open();
    auto reader = open();
    EXPECT_EQ(reader->DayVersion(kDay), 0);
    Record(*writer, games);
    ExpectRanks(*writer, games);
    const std::int64_t before = reader->DayVersion(kDay);
    EXPECT_NE(before, 0);
    const std::int64_t otherDay = reader->DayVersion(kOtherDay);
    Record(*writer, {Game{"ffffffffffffffffffffffffffffffff", "late", kDay, true, 1, kGames}});
    EXPECT_NE(reader->DayVersion(kDay), before);
    EXPECT_EQ(reader->DayVersion(kOtherDay), otherDay);
    writer.reset();
    reader.reset();

    dropRanks();
    std::vector<Game> all = games;
    all.push_back(Game{"ffffffffffffffffffffffffffffffff", "late", kDay, true, 1, kGames});
    auto reopened = open();
    ExpectRanks(*reopened, all);
}

class StoreRanksTest : public ServerTest {};

TEST_F(StoreRanksTest, SqliteRanksAgreeWithTheDaysGames) {
    const std::string path = Path("board.sqlite");
    CheckStore([&] { return std::make_unique<SqliteStore>(path); },
               [&] {
                   sqlite3* db = nullptr;
                   ASSERT_EQ(sqlite3_open(path.c_str(), &db), SQLITE_OK);
                   EXPECT_EQ(sqlite3_exec(db, kDropRanks, nullptr, nullptr, nullptr), SQLITE_OK)
                       << sqlite3_errmsg(db);
                   sqlite3_close(db);
               });
}

// The workers copy the log into the file between jobs, and requests when
// it has grown to 8,000 pages (32 MB) with no job taken: recording 3,600
// games (160 MB of log when nothing copies it) leaves it within that.
TEST_F(StoreRanksTest, SqliteKeepsItsLogShort) {
    constexpr std::uintmax_t kMaxLogBytes = 40 << 20;
    SqliteStore store(Path("board.sqlite"));
    std::vector<Game> games;
    for (int round = 0; round < 4; ++round) {
        for (Game game : Games()) {
            game.id[0] = static_cast<char>('a' + round);
            game.seq += round * kGames;
            games.push_back(game);
        }
    }
    Record(store, games);
    EXPECT_LT(std::filesystem::file_size(Path("board.sqlite-wal")), kMaxLogBytes);
}

TEST_F(StoreRanksTest, PostgresRanksAgreeWithTheDaysGames) {
    if (!PostgresCluster::Installed()) GTEST_SKIP() << "PostgreSQL 15 is not installed";
    PostgresCluster cluster;
    ASSERT_TRUE(cluster.Started()) << cluster.Problem();
    CheckStore([&] { return std::make_unique<PostgresStore>(cluster.Uri()); },
               [&] {
                   pqxx::connection connection(cluster.Uri());
                   pqxx::work transaction(connection);
                   transaction.exec(kDropRanks);
                   transaction.commit();
               });
}

}  // namespace
}  // namespace board_testing
