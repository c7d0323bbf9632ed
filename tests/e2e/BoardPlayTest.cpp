// The daily board as a player meets it, against the real korvessa-board: a
// daily game ended while the board is down waits in pending/ and goes at the
// next start; a player renamed in the settings plays today's field from the
// menu; the game-over screen shows the rank the board gave the game, and the
// menu's daily board lists it.

#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <string>

#include "tests/e2e/XSession.h"
#include "tests/server/BoardClient.h"
#include "tests/server/BoardProcess.h"
#include "tests/support/FontBitmap.h"
#include "tests/support/TemporaryFolder.h"

namespace {

using e2e::Screenshot;
using e2e::Sleep;

constexpr int kGlyph = 16;
constexpr int kPlayfieldWidth = 1024;
constexpr int kBoardLineY = 96;  // the game-over screen's line about the board
constexpr int kFirstRowY = 432;  // a menu's rows, one under another
constexpr int kRowStep = 32;
constexpr int kStrayPixels = 4;  // per glyph: a star, an outline passing behind

std::size_t FilesIn(const std::string& folder) {
    std::error_code none;
    std::size_t count = 0;
    for (auto it = std::filesystem::directory_iterator(folder, none);
         it != std::filesystem::directory_iterator(); ++it) {
        ++count;
    }
    return count;
}

class BoardPlayTest : public e2e::XSession {
protected:
    void SetUp() override {
        configHome = scratch + "config";
        std::filesystem::create_directories(configHome + "/korvessa");
        data = scratch + "data/korvessa/";
    }

    void KeepSettings(int port, const std::string& player) {
        std::ofstream(configHome + "/korvessa/settings.ini")
            << "korvessa settings 1\nboard = on\nboard-address = http://127.0.0.1:" << port
            << "\nplayer = " << player << "\n";
    }
    void Start(const std::vector<std::string>& arguments = {}) {
        StartGame(arguments, {"XDG_DATA_HOME=" + scratch + "data"});
    }
    void Key(const std::string& name, int times = 1) {
        for (int i = 0; i < times; ++i) {
            Xdo("windowactivate --sync " + std::to_string(window));
            Xdo("key " + name);
            Sleep(60);
        }
    }

    // Thrusts blind into the asteroids, never firing (a game that scored
    // nothing goes to the board too, and ends soonest), until the data
    // folder holds `replays` replays; false after 60 s without. `turnFirst`
    // taps that key before thrusting, so that a second game of the day is
    // not the first one again (the board refuses a copy).
    bool PlayUntilReplays(std::size_t replays, const std::string& turnFirst = "") {
        if (!turnFirst.empty()) Key(turnFirst);
        Xdo("keydown Up");
        bool ended = false;
        for (int waited = 0; waited < 60000 && !ended; waited += 250) {
            Sleep(250);
            ended = FilesIn(data + "replays") >= replays;
        }
        Xdo("keyup Up");
        return ended;
    }

    // Whether `text` is drawn centred on the line at `y`, each glyph as the
    // font has it; what drifts behind may light a pixel or two more.
    bool ShowsLine(const Screenshot& shot, int y, const std::string& text) {
        const int left = kPlayfieldWidth / 2 - kGlyph * static_cast<int>(text.size()) / 2;
        for (std::size_t k = 0; k < text.size(); ++k) {
            const int cell = static_cast<unsigned char>(text[k]) - ' ';  // as written
            int wrong = 0;
            for (int row = 0; row < kGlyph; ++row) {
                for (int col = 0; col < kGlyph; ++col) {
                    const bool inked = font.Ink(kGlyph * cell + col, kGlyph - 1 - row);
                    const int x = left + kGlyph * static_cast<int>(k) + col;
                    wrong += inked != (shot.Grey(x, y + row) > 0);
                }
            }
            if (wrong > kStrayPixels) return false;
        }
        return true;
    }
    bool LineShownWithin(int ms, const std::string& text) {
        return GrabUntil(
            ms, [&](const Screenshot& shot) { return ShowsLine(shot, kBoardLineY, text); });
    }

    // The day's board as the server has it.
    nlohmann::json Entries(int port, std::uint32_t day) {
        return board_testing::BoardClient(port)
            .Get("/api/v1/boards/" + std::to_string(day))
            .json["entries"];
    }
    // The score a replay verifies to.
    int ScoreOf(const std::string& replay) {
        const std::string line = e2e::Output(std::string(KORVESSA_BINARY) + " --verify " + replay);
        const std::size_t at = line.find(": score ");
        return at == std::string::npos ? -1 : std::stoi(line.substr(at + 8));
    }
    std::string OnlyReplay() {
        return std::filesystem::directory_iterator(data + "replays")->path().string();
    }
    // Named after when they ended: the last in order is the newest.
    std::string NewestReplay() {
        std::string newest;
        for (const auto& entry : std::filesystem::directory_iterator(data + "replays")) {
            newest = std::max(newest, entry.path().string());
        }
        return newest;
    }
    // The day a daily game started now plays, YYYYMMDD in UTC.
    static std::uint32_t Today() {
        const std::time_t now = std::time(nullptr);
        std::tm utc{};
        gmtime_r(&now, &utc);
        return static_cast<std::uint32_t>((utc.tm_year + 1900) * 10000 + (utc.tm_mon + 1) * 100 +
                                          utc.tm_mday);
    }

    // Removed after the game has ended: members go after TearDown().
    testing_support::TemporaryFolder folder;
    const std::string& scratch = folder.path;  // ends with '/'
    std::string data;
    testing_support::FontBitmap font{testing_support::FontBitmapPath("tarvelin_ascii_16x16.bmp")};
};

TEST_F(BoardPlayTest, DailyGamesReachTheBoardEvenWhenItWasDown) {
    ASSERT_TRUE(font.Loaded());
    StartXServer("1280x1024x24");

    // The board is down: the daily game's replay waits in pending/.
    KeepSettings(board_testing::FreePort(), "Ann");  // nothing listens there
    const std::uint32_t day = Today();
    Start({"--daily"});
    ASSERT_TRUE(PlayUntilReplays(1)) << "no game ended within 60 s";
    EXPECT_TRUE(LineShownWithin(10000, "board not reached: kept to send later"));
    EXPECT_EQ(FilesIn(data + "pending"), 1u);
    EXPECT_EQ(Terminate(), 0);
    const std::string first = OnlyReplay();
    const int firstScore = ScoreOf(first);
    ASSERT_GE(firstScore, 0) << first;

    // The board is up: the next start sends it.
    board_testing::BoardProcess board(
        {"--database", scratch + "board.sqlite", "--workers", "1", "--rate-limit", "0"},
        scratch + "board.log");
    ASSERT_TRUE(board.Started()) << board.Log();
    KeepSettings(board.Port(), "Ann");
    Start();
    nlohmann::json entries;
    for (int waited = 0; waited < 30000 && entries.empty(); waited += 250) {
        Sleep(250);
        entries = Entries(board.Port(), day);
    }
    ASSERT_EQ(entries.size(), 1u) << "the waiting replay was not sent: " << board.Log();
    EXPECT_EQ(entries[0].value("player", ""), "Ann");
    EXPECT_EQ(entries[0].value("score", -1), firstScore);
    EXPECT_EQ(FilesIn(data + "pending"), 0u);

    // Renamed in the settings, then today's field from the menu.
    const std::size_t replays = FilesIn(data + "replays");  // this game may end on its own
    Key("Escape");
    ASSERT_TRUE(Choose("paused", "settings"));
    ASSERT_TRUE(Choose("settings", "player"));
    Key("BackSpace", 3);
    Xdo("type --delay 60 Bob");
    Key("Return");
    Key("Escape");  // back on the pause menu
    ASSERT_TRUE(Choose("paused", "play today's field"));
    ASSERT_TRUE(PlayUntilReplays(replays + 1, "Left")) << "no daily game ended within 60 s";
    entries = nlohmann::json();
    for (int waited = 0; waited < 30000 && entries.size() < 2; waited += 250) {
        Sleep(250);
        entries = Entries(board.Port(), day);
    }
    ASSERT_EQ(entries.size(), 2u) << "Bob's game is not on the board: " << board.Log();
    const nlohmann::json& bob = entries[0].value("player", "") == "Bob" ? entries[0] : entries[1];
    ASSERT_EQ(bob.value("player", ""), "Bob");
    const int rank = bob.value("rank", 0);
    EXPECT_TRUE(LineShownWithin(5000, "rank " + std::to_string(rank) + " of 2 today"))
        << "the game-over screen does not show Bob's rank " << rank;

    // The board's screen in the menu lists both, Bob's row marked.
    Key("Escape");
    ASSERT_TRUE(Choose("paused", "daily board"));
    EXPECT_TRUE(GrabUntil(5000, [&](const Screenshot& shot) {
        for (std::size_t i = 0; i < entries.size(); ++i) {
            const std::string player = entries[i].value("player", "");
            char row[64];
            std::snprintf(row, sizeof row, "%2d %-20s %7d %s", entries[i].value("rank", 0),
                          player.c_str(), entries[i].value("score", 0),
                          player == "Bob" ? "you" : "   ");
            if (!ShowsLine(shot, kFirstRowY - kRowStep * static_cast<int>(i), row)) return false;
        }
        return true;
    })) << "the daily board's screen does not list today's board";
    EXPECT_EQ(Terminate(), 0);
    EXPECT_EQ(bob.value("score", -1), ScoreOf(NewestReplay()))
        << "the board's score is not the replay's";
    std::ifstream kept(configHome + "/korvessa/settings.ini");
    const std::string settings((std::istreambuf_iterator<char>(kept)), {});
    EXPECT_NE(settings.find("player = Bob\n"), std::string::npos) << settings;
}

}  // namespace
