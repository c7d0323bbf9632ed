// korvessa --submit, the real binary against a stand-in board: one line and
// the exit status for a verified game, a refused one, one never sent (not
// daily, or slow), a board that cannot be reached or fails, a bad file or
// address, and libcurl that cannot be loaded.

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>

#include "save/ReplayFile.h"
#include "tests/board/BoardStandIn.h"
#include "tests/support/ScopedEnvironment.h"
#include "tests/support/TemporaryFolder.h"

namespace {

using testing_support::BoardStandIn;
using testing_support::ScopedEnvironment;
using testing_support::TemporaryFolder;

struct Finished {
    int status = -1;
    std::string out;
    std::string err;
};

std::string ReadAll(const std::string& path) {
    std::ifstream file(path);
    std::ostringstream text;
    text << file.rdbuf();
    return text.str();
}

class SubmitTest : public ::testing::Test {
protected:
    void SetUp() override {
        Replay replay;
        std::string error;
        ASSERT_TRUE(replay_file::Read(KORVESSA_COMMITTED_REPLAY, replay, error)) << error;
        ASSERT_EQ(replay.seedKind, SeedKind::kSeed);
        ASSERT_TRUE(replay_file::Write(notDaily, replay, error)) << error;
        replay.seedKind = SeedKind::kDaily;
        replay.seed = 20260614;
        ASSERT_TRUE(replay_file::Write(daily, replay, error)) << error;
        replay.formatVersion = Replay::kFormatVersion;
        replay.speed = 50;
        ASSERT_TRUE(replay_file::Write(slow, replay, error)) << error;
        std::ofstream(notAReplay) << "not a replay\n";
    }

    // korvessa --submit with these words after it, XDG_DATA_HOME kept apart
    // (in `dataHome` when given).
    Finished Submit(const std::string& words, const std::string& dataHome = "") {
        Finished run;
        const std::string home = dataHome.empty() ? folder.path : dataHome;
        const std::string command = "XDG_DATA_HOME=" + home + " " KORVESSA_BINARY + " --submit " +
                                    words + " >" + folder.path + "out 2>" + folder.path + "err";
        const int status = std::system(command.c_str());
        run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
        run.out = ReadAll(folder.path + "out");
        run.err = ReadAll(folder.path + "err");
        return run;
    }

    static int Lines(const std::string& text) {
        return static_cast<int>(std::count(text.begin(), text.end(), '\n'));
    }

    TemporaryFolder folder;
    const std::string daily = folder.path + "daily.kvr";
    const std::string notDaily = folder.path + "seeded.kvr";
    const std::string slow = folder.path + "slow.kvr";
    const std::string notAReplay = folder.path + "text.kvr";
};

TEST_F(SubmitTest, VerifiedRefusedAndNeverSent) {
    BoardStandIn board;
    const Finished verified =
        Submit(daily + " --board " + board.Address() + " --player 'Ann & Bob=1?'");
    EXPECT_EQ(verified.status, 0) << verified.err;
    EXPECT_EQ(verified.out, daily + ": rank 1 of 1 on 20260614, score 1000\n");
    EXPECT_EQ(verified.err, "");
    EXPECT_EQ(board.Players(), std::vector<std::string>{"Ann & Bob=1?"}) << "the name escaped";

    const Finished seeded = Submit(notDaily + " --board=" + board.Address() + " --player=Ann");
    EXPECT_EQ(seeded.status, 1);
    EXPECT_EQ(seeded.out, notDaily + ": refused: not a daily game\n");
    EXPECT_EQ(board.Received().size(), 1u) << "a game that is not daily is never sent";
    const Finished slowGame = Submit(slow + " --board=" + board.Address() + " --player=Ann");
    EXPECT_EQ(slowGame.status, 1);
    EXPECT_EQ(slowGame.out, slow + ": refused: not at full speed\n");
    EXPECT_EQ(board.Received().size(), 1u) << "a slow game is never sent";

    BoardStandIn refusing(BoardStandIn::Mode::kRefuse);
    const Finished refused = Submit(daily + " --board " + refusing.Address() + " --player Ann");
    EXPECT_EQ(refused.status, 1);
    EXPECT_EQ(refused.out, daily + ": refused: " + BoardStandIn::kRefusal + "\n");
}

TEST_F(SubmitTest, TheKeyIsMadeOnceKeptSentAndCopiedAndATakenNameIsOneLine) {
    BoardStandIn board;
    const std::string send = daily + " --board " + board.Address() + " --player Ann";
    const std::string keyPath = folder.path + "korvessa/board-key";
    ASSERT_EQ(Submit(send).status, 0);
    const std::string key = ReadAll(keyPath);
    ASSERT_EQ(key.size(), 45u) << key;  // 32 bytes in base64, and a newline
    struct stat info {};
    ASSERT_EQ(stat(keyPath.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0600u);
    ASSERT_EQ(Submit(send).status, 0);
    EXPECT_EQ(ReadAll(keyPath), key) << "kept across runs";

    // Another machine of the player's: the key file copied there.
    TemporaryFolder other;
    ASSERT_EQ(std::system(("mkdir -p " + other.path + "korvessa && cp -p " + keyPath + " " +
                           other.path + "korvessa/")
                              .c_str()),
              0);
    ASSERT_EQ(Submit(send, other.path).status, 0);
    const std::string header = "Bearer " + key.substr(0, key.size() - 1);
    EXPECT_EQ(board.Authorizations(), std::vector<std::string>(3, header));

    BoardStandIn taken(BoardStandIn::Mode::kNameTaken);
    const Finished refused = Submit(daily + " --board " + taken.Address() + " --player Ann");
    EXPECT_EQ(refused.status, 1);
    EXPECT_EQ(refused.out, daily + ": refused: " + BoardStandIn::kNameRefusal + "\n");
    EXPECT_EQ(refused.err, "");
}

TEST_F(SubmitTest, ABoardThatCannotBeReachedOrFailsABadFileOrAddress) {
    int closedPort = 0;
    for (const BoardStandIn::Mode fault :
         {BoardStandIn::Mode::kFail, BoardStandIn::Mode::kCutOff}) {
        BoardStandIn board(fault);
        closedPort = board.Port();
        const Finished run = Submit(daily + " --board " + board.Address() + " --player Ann");
        EXPECT_EQ(run.status, 2) << run.out;
        EXPECT_EQ(Lines(run.err), 1) << run.err;
        EXPECT_EQ(run.err.rfind("korvessa: ", 0), 0u) << run.err;
        EXPECT_NE(run.err.find(board.Address()), std::string::npos) << run.err;
    }
    const std::string away = "http://127.0.0.1:" + std::to_string(closedPort);
    const Finished unreachable = Submit(daily + " --board " + away + " --player Ann");
    EXPECT_EQ(unreachable.status, 2);
    EXPECT_EQ(unreachable.err.rfind("korvessa: no answer from the board at " + away, 0), 0u)
        << unreachable.err;

    for (const std::string& words :
         {notAReplay + " --board " + away + " --player Ann",
          folder.path + "missing.kvr --board " + away + " --player Ann",
          daily + " --board ftp://127.0.0.1/ --player Ann", daily + " --board " + away,
          daily + " --player 'a name far longer than twenty'", daily + " --player '   '"}) {
        const Finished run = Submit(words);
        EXPECT_EQ(run.status, 2) << words;
        EXPECT_EQ(run.out, "") << words;
        EXPECT_EQ(run.err.rfind("korvessa: ", 0), 0u) << words << ": " << run.err;
    }
    const Finished foreign = Submit(daily + " --board " + away + " --player \xC3\x85sa");
    EXPECT_EQ(foreign.status, 2);
    EXPECT_NE(foreign.err.find("letters, digits and punctuation of ASCII only"), std::string::npos)
        << foreign.err;
}

// Linked, libcurl's libraries would load with every start and hold up the
// first frame: the binary must not name it, and must make do without it.
TEST_F(SubmitTest, LibcurlIsLoadedOnlyForTheBoardAndItsAbsenceIsOneLine) {
    const std::string libraries = folder.path + "libraries";
    ASSERT_EQ(std::system(("ldd " KORVESSA_BINARY " >" + libraries).c_str()), 0);
    const std::string loaded = ReadAll(libraries);
    ASSERT_NE(loaded.find("libSDL2"), std::string::npos) << loaded;
    EXPECT_EQ(loaded.find("libcurl"), std::string::npos) << loaded;

    // An empty file under libcurl's name: found first, and not a library.
    std::ofstream(folder.path + "libcurl.so.4").flush();
    const ScopedEnvironment broken("LD_LIBRARY_PATH", folder.path);
    BoardStandIn board;
    const Finished run = Submit(daily + " --board " + board.Address() + " --player Ann");
    EXPECT_EQ(run.status, 2) << run.out;
    EXPECT_EQ(run.out, "");
    EXPECT_EQ(Lines(run.err), 1) << run.err;
    EXPECT_EQ(run.err.rfind("korvessa: cannot load libcurl", 0), 0u) << run.err;
    EXPECT_TRUE(board.Received().empty());
}

}  // namespace
