// The score table, its file and what happens to it at game over: order and
// ties, the top-ten cut, damaged files kept aside, a folder that cannot be
// written, saves cut short by SIGKILL, old replays pruned.

#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/time.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "save/AtomicFile.h"
#include "save/DataFolder.h"
#include "save/GameRecords.h"
#include "save/ReplayFile.h"
#include "save/ScoreBoardView.h"
#include "save/ScoreTable.h"
#include "tests/support/TemporaryFolder.h"

namespace {

constexpr std::int64_t kJune14 = 1749900000;  // 2025-06-14T11:20:00Z

ScoreEntry Game(int score, std::uint32_t id) {
    ScoreEntry entry;
    entry.score = score;
    entry.endedAt = kJune14 + id;
    entry.seedKind = SeedKind::kSeed;
    entry.seed = id;
    entry.replay = "game" + std::to_string(id) + ".kvr";
    return entry;
}

std::vector<std::uint32_t> Ids(const ScoreTable& table) {
    std::vector<std::uint32_t> ids;
    for (const ScoreEntry& entry : table.Entries()) ids.push_back(entry.seed);
    return ids;
}

std::string Contents(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    std::ostringstream text;
    text << file.rdbuf();
    return text.str();
}

bool Exists(const std::string& path) {
    struct stat info {};
    return stat(path.c_str(), &info) == 0;
}

void WriteText(const std::string& path, const std::string& text) {
    std::ofstream(path, std::ios::binary) << text;
}

using testing_support::TemporaryFolder;

Replay SmallReplay(int score) {
    Replay replay;
    replay.gameVersion = KORVESSA_VERSION;
    replay.seed = 1;
    replay.score = score;
    replay.tickCount = 3;
    replay.inputs.push_back(InputRun{0, 3});
    return replay;
}

TEST(ScoreTableTest, BestFirstAndAnEqualScoreGoesBelow) {
    ScoreTable table;
    EXPECT_EQ(table.Enter(Game(500, 1)), 0);
    EXPECT_EQ(table.Enter(Game(800, 2)), 0);
    EXPECT_EQ(table.Enter(Game(500, 3)), 2);
    EXPECT_EQ(table.Enter(Game(800, 4)), 1);
    EXPECT_EQ(table.Enter(Game(100, 5)), 4);
    EXPECT_EQ(table.Enter(Game(0, 6)), 5);
    EXPECT_EQ(Ids(table), (std::vector<std::uint32_t>{2, 4, 1, 3, 5, 6}));
}

TEST(ScoreTableTest, OnlyTheTenBestAreKept) {
    ScoreTable table;
    for (std::uint32_t id = 1; id <= 12; ++id) table.Enter(Game(100 * static_cast<int>(id), id));
    ASSERT_EQ(table.Entries().size(), 10u);
    EXPECT_EQ(table.Entries().back().score, 300);
    // Equal to the last is below it, so out; lower is out; higher is in and
    // pushes the last one out.
    EXPECT_FALSE(table.Qualifies(300));
    EXPECT_EQ(table.Enter(Game(300, 20)), -1);
    EXPECT_EQ(table.Enter(Game(50, 21)), -1);
    EXPECT_TRUE(table.Qualifies(301));
    EXPECT_EQ(table.Enter(Game(301, 22)), 9);
    EXPECT_EQ(Ids(table), (std::vector<std::uint32_t>{12, 11, 10, 9, 8, 7, 6, 5, 4, 22}));
}

TEST(ScoreTableTest, FileIsReadableTextAndReadsBack) {
    ScoreTable table;
    table.Enter(Game(12450, 1));
    table.Enter(Game(12450, 2));
    ScoreEntry daily = Game(900, 3);
    daily.seedKind = SeedKind::kDaily;
    daily.seed = 20250614;
    table.Enter(daily);
    const std::string text = table.Format();
    EXPECT_NE(text.find("korvessa scores 1\n"), std::string::npos);
    EXPECT_NE(text.find("900 2025-06-14T11:20:03Z daily 20250614 game3.kvr\n"), std::string::npos)
        << text;
    ScoreTable read;
    std::string error;
    ASSERT_TRUE(ScoreTable::Parse(text, read, error)) << error;
    EXPECT_EQ(read.Format(), text);
    EXPECT_EQ(Ids(read), Ids(table));

    // As a person might write it, comments and blank lines included.
    ASSERT_TRUE(
        ScoreTable::Parse("korvessa scores 1\n\n# mine\n  7 2024-02-29T23:59:59Z clock 5 "
                          "a.kvr\n",
                          read, error))
        << error;
    EXPECT_EQ(read.Entries().at(0).score, 7);
}

TEST(ScoreTableTest, DamageIsNamedByLine) {
    const std::string header = "korvessa scores 1\n";
    const std::string good = "5 2025-06-14T11:20:00Z clock 1 a.kvr\n";
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"", "line 1: expected 'korvessa scores 1'"},
        {"korvessa scores 2\n" + good, "line 1: expected 'korvessa scores 1'"},
        {header + good + "x 2025-06-14T11:20:00Z clock 1 a.kvr\n", "line 3: bad score 'x'"},
        {header + "5 2025-02-30T11:20:00Z clock 1 a.kvr\n", "line 2: bad time"},
        {header + "5 2025-06-14T11:20:00Z hourly 1 a.kvr\n", "line 2: bad seed kind"},
        {header + "5 2025-06-14T11:20:00Z seed 4294967296 a.kvr\n", "line 2: bad seed"},
        {header + "5 2025-06-14T11:20:00Z seed 1 ../a.kvr\n", "line 2: bad replay"},
        {header + "5 2025-06-14T11:20:00Z seed 1\n", "line 2: expected five fields"},
        {header + good + "6 2025-06-14T11:20:00Z clock 1 b.kvr\n", "line 3: scores out of order"},
    };
    for (const auto& [text, expected] : cases) {
        ScoreTable table;
        table.Enter(Game(1, 1));
        std::string error;
        EXPECT_FALSE(ScoreTable::Parse(text, table, error)) << text;
        EXPECT_EQ(error.rfind(expected, 0), 0u) << error;
        EXPECT_EQ(Ids(table), std::vector<std::uint32_t>{1}) << "a refused file changed the table";
    }
    std::string eleven = header;
    for (int i = 0; i < 11; ++i) eleven += good;
    ScoreTable table;
    std::string error;
    EXPECT_FALSE(ScoreTable::Parse(eleven, table, error));
    EXPECT_EQ(error, "line 12: more than 10 games");
}

// A slow game's line has its speed as a sixth field; a full-speed game's
// line is written exactly as before, so tables of either age read.
TEST(ScoreTableTest, SlowGamesKeepTheirSpeed) {
    ScoreTable table;
    table.Enter(Game(500, 1));
    ScoreEntry slow = Game(400, 2);
    slow.speed = 50;
    table.Enter(slow);
    const std::string text = table.Format();
    EXPECT_NE(text.find(" seed 1 game1.kvr\n"), std::string::npos) << text;
    EXPECT_NE(text.find(" seed 2 game2.kvr 50%\n"), std::string::npos) << text;
    ScoreTable read;
    std::string error;
    ASSERT_TRUE(ScoreTable::Parse(text, read, error)) << error;
    ASSERT_EQ(read.Entries().size(), 2u);
    EXPECT_EQ(read.Entries()[0].speed, 100);
    EXPECT_EQ(read.Entries()[1].speed, 50);

    const std::string line = "korvessa scores 1\n5 2025-06-14T11:20:00Z clock 1 a.kvr";
    for (const char* speed : {" 100%", " 90%", " 50"}) {
        EXPECT_FALSE(ScoreTable::Parse(line + speed + "\n", read, error)) << speed;
        EXPECT_EQ(error, std::string("line 2: bad speed '") + (speed + 1) + "'");
    }
}

TEST(GameRecordsTest, GameOverKeepsTheReplayAndTheScore) {
    TemporaryFolder folder;
    const DataFolder data(folder.path + "share/korvessa");
    GameRecords records(data);
    EXPECT_FALSE(Exists(data.Path())) << "nothing is written before a game ends";

    const GameRecords::Outcome first = records.RecordGame(SmallReplay(300), kJune14);
    EXPECT_TRUE(first.warnings.empty()) << first.warnings.at(0);
    EXPECT_EQ(first.rank, 0);
    EXPECT_EQ(first.replayName, "20250614-112000-300.kvr");
    Replay read;
    std::string error;
    ASSERT_TRUE(replay_file::Read(data.ReplaysPath() + first.replayName, read, error)) << error;
    EXPECT_EQ(read.score, 300);

    // Saves cut short by a crash left their temporary files behind.
    WriteText(data.Path() + ".scores.txt.Ab3xY9", "korvessa scores 1\n12");
    WriteText(data.ReplaysPath() + ".20250614-112000-300.kvr.q1w2e3", "KVR");
    WriteText(data.ReplaysPath() + ".hidden", "not ours");

    // A second game in the same second, with the same score: a name of its
    // own, a place below the first, both in the file.
    const GameRecords::Outcome second = records.RecordGame(SmallReplay(300), kJune14);
    EXPECT_FALSE(Exists(data.Path() + ".scores.txt.Ab3xY9"));
    EXPECT_FALSE(Exists(data.ReplaysPath() + ".20250614-112000-300.kvr.q1w2e3"));
    EXPECT_TRUE(Exists(data.ReplaysPath() + ".hidden"));
    EXPECT_EQ(second.rank, 1);
    EXPECT_EQ(second.replayName, "20250614-112000-300-2.kvr");
    ScoreTable saved;
    ASSERT_TRUE(ScoreTable::Parse(Contents(data.ScoresPath()), saved, error)) << error;
    ASSERT_EQ(saved.Entries().size(), 2u);
    EXPECT_EQ(saved.Entries()[1].replay, second.replayName);
}

TEST(GameRecordsTest, DamagedTableIsKeptAsideNeverOverwritten) {
    TemporaryFolder folder;
    const DataFolder data(folder.path);
    std::string error;
    ASSERT_TRUE(data.Create(error)) << error;
    WriteText(data.ScoresPath(), "my scores, by hand\n");
    // More old replays than are kept: the damaged table may name any of them.
    for (int i = 0; i < 25; ++i) WriteText(data.ReplaysPath() + std::to_string(i) + ".kvr", "x");
    GameRecords records(data);
    GameRecords::Outcome outcome = records.RecordGame(SmallReplay(50), kJune14);
    ASSERT_EQ(outcome.warnings.size(), 1u);
    EXPECT_EQ(outcome.warnings[0], data.ScoresPath() +
                                       " is damaged (line 1: expected 'korvessa scores 1'); kept "
                                       "it as scores.txt.bad and started a fresh table");
    EXPECT_EQ(Contents(data.ScoresPath() + ".bad"), "my scores, by hand\n");
    EXPECT_TRUE(Exists(data.ReplaysPath() + "0.kvr")) << "a replay it may name was pruned";
    EXPECT_EQ(outcome.rank, 0);
    EXPECT_EQ(records.Table().Entries().size(), 1u);

    WriteText(data.ScoresPath(), "korvessa scores 1\nbroken again\n");
    outcome = records.RecordGame(SmallReplay(40), kJune14 + 60);
    ASSERT_EQ(outcome.warnings.size(), 1u);
    EXPECT_NE(outcome.warnings[0].find("kept it as scores.txt.2.bad"), std::string::npos)
        << outcome.warnings[0];
    EXPECT_EQ(Contents(data.ScoresPath() + ".bad"), "my scores, by hand\n");
    EXPECT_EQ(Contents(data.Path() + "scores.txt.2.bad"), "korvessa scores 1\nbroken again\n");
    ScoreTable saved;
    ASSERT_TRUE(ScoreTable::Parse(Contents(data.ScoresPath()), saved, error)) << error;
    EXPECT_EQ(saved.Entries().size(), 1u);
}

// Even as root: a folder whose parent is a plain file cannot be made.
TEST(GameRecordsTest, UnwritableFolderCostsOneLineAndPlayGoesOn) {
    TemporaryFolder folder;
    WriteText(folder.path + "file", "");
    GameRecords records(DataFolder(folder.path + "file/korvessa"));
    for (int game = 1; game <= 2; ++game) {
        const GameRecords::Outcome outcome = records.RecordGame(SmallReplay(10 * game), kJune14);
        ASSERT_EQ(outcome.warnings.size(), 1u);
        EXPECT_EQ(outcome.warnings[0].rfind("cannot save the game: cannot create ", 0), 0u)
            << outcome.warnings[0];
        // The game-over screen still shows it.
        EXPECT_EQ(outcome.rank, 0);
        EXPECT_EQ(records.Table().Entries().size(), static_cast<std::size_t>(game));
    }
}

// A table of three games, 500, 300 and 100, in a new data folder.
DataFolder FolderWithThreeGames(const std::string& path) {
    const DataFolder data(path);
    std::string error;
    EXPECT_TRUE(data.Create(error)) << error;
    ScoreTable table;
    for (std::uint32_t id = 1; id <= 3; ++id)
        table.Enter(Game(700 - 200 * static_cast<int>(id), id));
    WriteText(data.ScoresPath(), table.Format());
    return data;
}

// The files in the replays folder, if it is one.
std::vector<std::string> ReplaysIn(const DataFolder& data) {
    std::vector<std::string> names;
    std::error_code error;
    for (const auto& item : std::filesystem::directory_iterator(data.ReplaysPath(), error)) {
        names.push_back(item.path().filename());
    }
    return names;
}

// The replays folder cannot be made (a file holds its name, which stops
// root too): the game-over screen still shows the table on disk, with this
// game placed in it and marked, and nothing on disk changes.
TEST(GameRecordsTest, UnwritableFolderStillShowsTheTableOnDisk) {
    TemporaryFolder folder;
    const DataFolder data = FolderWithThreeGames(folder.path);
    ASSERT_EQ(rmdir(data.ReplaysPath().c_str()), 0);
    WriteText(folder.path + "replays", "");
    const std::string before = Contents(data.ScoresPath());
    GameRecords records(data);
    const GameRecords::Outcome outcome = records.RecordGame(SmallReplay(200), kJune14);
    ASSERT_EQ(outcome.warnings.size(), 1u);
    EXPECT_EQ(outcome.warnings[0].rfind("cannot save the game: ", 0), 0u) << outcome.warnings[0];
    EXPECT_FALSE(outcome.kept);
    EXPECT_EQ(outcome.rank, 2);
    EXPECT_EQ(Ids(records.Table()), (std::vector<std::uint32_t>{1, 2, 1, 3}));
    EXPECT_EQ(Contents(data.ScoresPath()), before);
    ScoreBoardView view;
    view.Show(records.Table(), outcome.rank, outcome.kept);
    EXPECT_NE(view.Lines().at(3).find("not kept"), std::string::npos) << view.Lines().at(3);
}

// Another program holds the lock: entering returns at once, to be tried
// again, and giving up still shows the table on disk with the game placed.
TEST(GameRecordsTest, HeldLockNeverBlocks) {
    TemporaryFolder folder;
    const DataFolder data = FolderWithThreeGames(folder.path);
    int ready[2];
    ASSERT_EQ(pipe(ready), 0);
    const pid_t holder = fork();
    ASSERT_GE(holder, 0);
    if (holder == 0) {
        const int fd = open((data.Path() + "scores.lock").c_str(), O_RDWR | O_CREAT, 0600);
        flock(fd, LOCK_EX);
        (void)!write(ready[1], "x", 1);
        sleep(3);  // long enough to be seen blocking, short enough not to hang
        _exit(0);
    }
    char byte = 0;
    ASSERT_EQ(read(ready[0], &byte, 1), 1);
    GameRecords records(data);
    const auto start = std::chrono::steady_clock::now();
    GameRecords::Outcome outcome = records.RecordGame(SmallReplay(200), kJune14);
    const auto waited = std::chrono::steady_clock::now() - start;
    EXPECT_LT(waited, std::chrono::milliseconds(500)) << "waited for the lock";
    EXPECT_TRUE(outcome.busy);
    EXPECT_TRUE(ReplaysIn(data).empty());

    outcome = records.GiveUp(SmallReplay(200), kJune14);
    ASSERT_EQ(outcome.warnings.size(), 1u);
    EXPECT_NE(outcome.warnings[0].find("scores.lock"), std::string::npos) << outcome.warnings[0];
    EXPECT_FALSE(outcome.kept);
    EXPECT_EQ(outcome.rank, 2);
    EXPECT_EQ(records.Table().Entries().size(), 4u);

    kill(holder, SIGKILL);
    waitpid(holder, nullptr, 0);
    outcome = records.RecordGame(SmallReplay(250), kJune14);
    EXPECT_FALSE(outcome.busy);
    EXPECT_TRUE(outcome.kept);
    EXPECT_EQ(outcome.rank, 2);
    close(ready[0]);
    close(ready[1]);
}

// Left alone, as a newer replay format is: no file renamed, nothing written
// this session, one line.
TEST(GameRecordsTest, NewerVersionsTableIsLeftAlone) {
    TemporaryFolder folder;
    const DataFolder data(folder.path);
    std::string error;
    ASSERT_TRUE(data.Create(error)) << error;
    const std::string newer =
        "korvessa scores 2\n12450 2025-06-14T20:15:09Z daily 20250614 a.kvr x\n";
    WriteText(data.ScoresPath(), newer);
    GameRecords records(data);
    GameRecords::Outcome outcome = records.RecordGame(SmallReplay(300), kJune14);
    ASSERT_EQ(outcome.warnings.size(), 1u);
    EXPECT_NE(outcome.warnings[0].find("newer version"), std::string::npos) << outcome.warnings[0];
    EXPECT_FALSE(outcome.kept);
    outcome = records.RecordGame(SmallReplay(400), kJune14 + 60);
    EXPECT_TRUE(outcome.warnings.empty());
    EXPECT_FALSE(outcome.kept);
    EXPECT_EQ(Contents(data.ScoresPath()), newer);
    EXPECT_FALSE(Exists(data.ScoresPath() + ".bad"));
    EXPECT_TRUE(ReplaysIn(data).empty());
}

TEST(GameRecordsTest, GameThatScoredNothingIsKeptAsAReplayOnly) {
    TemporaryFolder folder;
    const DataFolder data = FolderWithThreeGames(folder.path);
    const std::string before = Contents(data.ScoresPath());
    GameRecords records(data);
    const GameRecords::Outcome outcome = records.RecordGame(SmallReplay(0), kJune14);
    EXPECT_TRUE(outcome.warnings.empty());
    EXPECT_EQ(outcome.rank, -1);
    EXPECT_TRUE(Exists(data.ReplaysPath() + outcome.replayName));
    EXPECT_EQ(records.Table().Entries().size(), 3u);
    EXPECT_EQ(Contents(data.ScoresPath()), before);
}

TEST(GameRecordsTest, PruningKeepsTheNewestTwentyAndEveryTableReplay) {
    TemporaryFolder folder;
    const std::string replays = folder.path;
    for (int i = 0; i < 30; ++i) {
        const std::string path = replays + "r" + std::to_string(100 + i) + ".kvr";
        WriteText(path, "x");
        const timeval times[2] = {{1000000 + i, 0}, {1000000 + i, 0}};
        ASSERT_EQ(utimes(path.c_str(), times), 0);
    }
    WriteText(replays + "notes.txt", "not a replay");
    EXPECT_EQ(PruneReplays(replays, 20, {"r100.kvr", "r105.kvr", "r125.kvr"}), 8);
    for (int i = 0; i < 30; ++i) {
        const bool kept = i >= 10 || i == 0 || i == 5;
        EXPECT_EQ(Exists(replays + "r" + std::to_string(100 + i) + ".kvr"), kept) << i;
    }
    EXPECT_TRUE(Exists(replays + "notes.txt"));
}

// A child saves two different tables in turn as fast as it can and is
// killed at a random moment: the file is always one of them, complete.
TEST(AtomicFileTest, SaveKilledAtRandomMomentsLeavesOldOrNewTable) {
    constexpr int kTrials = 200;
    TemporaryFolder folder;
    const std::string path = folder.path + "scores.txt";
    ScoreTable big, small;
    for (std::uint32_t id = 1; id <= 10; ++id) big.Enter(Game(1000 * static_cast<int>(id), id));
    small.Enter(Game(5, 99));
    const std::string versions[2] = {big.Format(), small.Format()};
    std::string error;
    ASSERT_TRUE(WriteFileAtomically(path, versions[0], error)) << error;

    std::mt19937 random(13);
    int sawBig = 0, sawSmall = 0;
    // A save takes well under 3 ms on an idle machine but over 10 ms on a
    // loaded one: while one of the tables has not turned up, wait longer.
    unsigned windowUs = 3000;
    for (int trial = 0; trial < kTrials; ++trial) {
        if (trial % 50 == 49 && (sawBig == 0 || sawSmall == 0)) windowUs *= 2;
        const pid_t child = fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            std::string childError;
            for (unsigned n = 0;; ++n) WriteFileAtomically(path, versions[n % 2], childError);
        }
        usleep(static_cast<useconds_t>(random() % windowUs));
        kill(child, SIGKILL);
        int status = 0;
        ASSERT_EQ(waitpid(child, &status, 0), child);
        ASSERT_TRUE(WIFSIGNALED(status));
        const std::string now = Contents(path);
        ASSERT_TRUE(now == versions[0] || now == versions[1]) << "trial " << trial << ":\n" << now;
        ScoreTable read;
        ASSERT_TRUE(ScoreTable::Parse(now, read, error)) << error;
        (now == versions[0] ? sawBig : sawSmall) += 1;
    }
    std::printf("after %d kills: %d big tables, %d small ones\n", kTrials, sawBig, sawSmall);
    // Both must turn up, or the kills never fell inside a save.
    EXPECT_GT(sawBig, 0);
    EXPECT_GT(sawSmall, 0);
}

TEST(DataFolderTest, FollowsXdgDataHomeThenHome) {
    const char* xdg = std::getenv("XDG_DATA_HOME");
    const std::string savedXdg = xdg != nullptr ? xdg : "";
    const char* home = std::getenv("HOME");
    const std::string savedHome = home != nullptr ? home : "";

    setenv("XDG_DATA_HOME", "/data/x", 1);
    setenv("HOME", "/home/p", 1);
    EXPECT_EQ(DataFolder::ForUser().Path(), "/data/x/korvessa/");
    EXPECT_EQ(DataFolder::ForUser().ScoresPath(), "/data/x/korvessa/scores.txt");
    EXPECT_EQ(DataFolder::ForUser().ReplaysPath(), "/data/x/korvessa/replays/");
    setenv("XDG_DATA_HOME", "", 1);
    EXPECT_EQ(DataFolder::ForUser().Path(), "/home/p/.local/share/korvessa/");
    unsetenv("XDG_DATA_HOME");
    EXPECT_EQ(DataFolder::ForUser().Path(), "/home/p/.local/share/korvessa/");

    if (xdg != nullptr) setenv("XDG_DATA_HOME", savedXdg.c_str(), 1);
    if (home != nullptr) setenv("HOME", savedHome.c_str(), 1);
}

TEST(DailySeedTest, IsTheUtcDate) {
    EXPECT_EQ(DailySeed(kJune14), 20250614u);
    EXPECT_EQ(DailySeed(1735689599), 20241231u);  // 2024-12-31T23:59:59Z
    EXPECT_EQ(DailySeed(1735689600), 20250101u);
}

}  // namespace
