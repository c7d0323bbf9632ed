// The real korvessa-board on SQLite, over HTTP: the day's games taken,
// verified and ranked; everything else refused with its reason.

#include <zlib.h>

#include <algorithm>
#include <map>
#include <random>
#include <string>
#include <vector>

#include "game/GameApp.h"
#include "save/ReplayFile.h"
#include "tests/server/ServerTest.h"

namespace board_testing {
namespace {

constexpr const char* kDefaultArguments[] = {"--workers", "2", "--rate-limit", "0"};

std::vector<std::string> Arguments() {
    return {std::begin(kDefaultArguments), std::end(kDefaultArguments)};
}

// The file's CRC-32 made right again after its bytes were changed.
void Reseal(std::string& bytes) {
    if (bytes.size() < 4) return;
    const std::size_t body = bytes.size() - 4;
    const uLong crc =
        crc32(crc32(0L, Z_NULL, 0), reinterpret_cast<const Bytef*>(bytes.data()), body);
    for (int i = 0; i < 4; ++i) bytes[body + i] = static_cast<char>((crc >> (8 * i)) & 0xFF);
}

// A refusal: a 4xx status and one line saying why.
void ExpectRefused(const Answer& answer, int status, const std::string& reasonPart) {
    EXPECT_EQ(answer.status, status) << answer.body;
    ASSERT_TRUE(answer.json.is_object()) << answer.body;
    const std::string reason = answer.json.value("error", "");
    EXPECT_NE(reason.find(reasonPart), std::string::npos) << reason;
    EXPECT_EQ(answer.body.find('\n'), answer.body.size() - 1) << answer.body;
}

class SqliteBoardTest : public ServerTest {};

TEST_F(SqliteBoardTest, TheDaysGamesAreVerifiedAndRanked) {
    auto board = StartBoard(Arguments());
    ASSERT_TRUE(board->Started()) << board->Log();
    BoardClient client(board->Port());

    struct Sent {
        std::string player;
        Replay replay;
        std::string bytes;
        std::string id;
    };
    // "ada" plays twice: the board keeps her better game.
    std::vector<Sent> sent;
    const std::pair<const char*, std::uint32_t> players[] = {
        {"ada", 2}, {"<script>x</script>", 4}, {"ada", 5}, {"Zed Q.", 6}, {"~", 8}};
    for (const auto& [player, seed] : players) {
        Sent game{player, TodaysGame(seed), "", ""};
        game.bytes = replay_file::Encode(game.replay);
        const Answer answer = client.Submit(game.bytes, game.player);
        ASSERT_EQ(answer.status, 202) << answer.body;
        game.id = answer.json.value("id", "");
        sent.push_back(game);
    }
    // The same file again: the same id, and no second entry.
    const Answer again = client.Submit(sent[0].bytes, "someone else");
    EXPECT_EQ(again.status, 202);
    EXPECT_EQ(again.json.value("id", ""), sent[0].id);

    for (const Sent& game : sent) {
        const nlohmann::json status = client.AwaitDecision(game.id);
        EXPECT_EQ(status.value("status", ""), "verified") << status.dump();
        EXPECT_EQ(status.value("score", -1), game.replay.score);
        EXPECT_EQ(status.value("ticks", 0u), game.replay.tickCount);
        EXPECT_EQ(status.value("player", ""), game.player);
    }

    // Expected: each player's best, best first, ties to the earlier.
    std::vector<const Sent*> best;
    for (const Sent& game : sent) {
        auto same = std::find_if(best.begin(), best.end(),
                                 [&](const Sent* b) { return b->player == game.player; });
        if (same == best.end()) {
            best.push_back(&game);
        } else if (game.replay.score > (*same)->replay.score) {
            *same = &game;
        }
    }
    std::stable_sort(best.begin(), best.end(), [](const Sent* a, const Sent* b) {
        return a->replay.score > b->replay.score;
    });
    const std::string day = std::to_string(sent[0].replay.seed);
    const Answer boardJson = client.Get("/api/v1/boards/" + day);
    ASSERT_EQ(boardJson.status, 200);
    const nlohmann::json& entries = boardJson.json["entries"];
    ASSERT_EQ(entries.size(), best.size()) << boardJson.body;
    for (std::size_t i = 0; i < best.size(); ++i) {
        EXPECT_EQ(entries[i].value("rank", 0), static_cast<int>(i) + 1);
        EXPECT_EQ(entries[i].value("player", ""), best[i]->player);
        EXPECT_EQ(entries[i].value("id", ""), best[i]->id);
        const nlohmann::json status = client.Get("/api/v1/submissions/" + best[i]->id).json;
        EXPECT_EQ(status.value("rank", 0), static_cast<int>(i) + 1);
        EXPECT_EQ(status.value("players", 0), static_cast<int>(best.size()));
        // The replay served is the file sent.
        const Answer file = client.Get(entries[i].value("replay", ""));
        EXPECT_EQ(file.status, 200);
        EXPECT_EQ(file.body, best[i]->bytes);
    }
    const std::string page = client.Get("/daily/" + day).body;
    EXPECT_NE(page.find("&lt;script&gt;x&lt;/script&gt;"), std::string::npos);
    EXPECT_EQ(page.find("<script>"), std::string::npos);
    EXPECT_EQ(board->Stop(SIGTERM), 0);
}

TEST_F(SqliteBoardTest, WhatIsNotTheDaysFieldIsRefusedWithItsReason) {
    auto board = StartBoard(Arguments());
    ASSERT_TRUE(board->Started()) << board->Log();
    BoardClient client(board->Port());
    const Replay today = TodaysGame(3);
    const std::string bytes = replay_file::Encode(today);

    ExpectRefused(client.Submit(ReadFile(KORVESSA_COMMITTED_REPLAY), "ada"), 422,
                  "not a daily game");
    ExpectRefused(client.Submit(ReadFile(KORVESSA_OLD_DAILY_REPLAY), "ada"), 422,
                  "not the day's field: the daily game of 20260101");
    Replay slow = today;
    slow.speed = 50;
    ExpectRefused(client.Submit(replay_file::Encode(slow), "ada"), 422, "not at full speed");
    Replay later = today;
    later.startTick = 5;
    ExpectRefused(client.Submit(replay_file::Encode(later), "ada"), 422,
                  "a later game of its session");
    Replay long_ = today;
    long_.inputs.push_back(InputRun{0, 3 * 60 * 60 * 1000 / 30});
    long_.tickCount += long_.inputs.back().length;
    ExpectRefused(client.Submit(replay_file::Encode(long_), "ada"), 422, "longer than three hours");
    ExpectRefused(client.Submit(bytes.substr(0, bytes.size() / 2), "ada"), 400,
                  "not a valid replay: truncated");
    // Over the cap: refused on the headers alone, with or without asking
    // first, and the body never waited for.
    for (const char* expect : {"", "Expect: 100-continue\r\n"}) {
        const std::string answer = client.Raw(
            "POST /api/v1/submissions?player=ada HTTP/1.1\r\nHost: x\r\n"
            "Content-Length: 1048577\r\n" +
            std::string(expect) + "\r\n");
        EXPECT_EQ(answer.rfind("HTTP/1.1 413 ", 0), 0u) << answer;
        EXPECT_NE(answer.find("larger than 1 MB"), std::string::npos) << answer;
    }
    ExpectRefused(client.Submit(bytes, ""), 400, "a bad player name: empty");
    ExpectRefused(client.Submit(bytes, std::string(21, 'a')), 400, "longer than 20");
    ExpectRefused(client.Submit(bytes, "tab\there"), 400, "not printable");
    ExpectRefused(client.Submit(bytes, "   "), 400, "a bad player name: only spaces");
    ExpectRefused(client.Submit(bytes, " ada"), 400, "a space at either end");
    ExpectRefused(client.Submit(bytes, "\xC3\x85sa"), 400,
                  "letters, digits and punctuation of ASCII only");

    // Valid files that do not bear out what they say: taken, then rejected.
    // The first run: the ship is alive and turning it changes all after.
    Replay changedInput = today;
    changedInput.inputs.front().bits ^= GameApp::kInputLeft;
    Replay endsLate = today;
    endsLate.inputs.push_back(InputRun{0, 100});
    endsLate.tickCount += 100;
    const std::pair<Replay, std::string> cheats[] = {
        {changedInput, "the file records " + std::to_string(today.score)},
        {endsLate, "the game ended before the last tick"}};
    for (const auto& [cheat, reason] : cheats) {
        const Answer taken = client.Submit(replay_file::Encode(cheat), "mallory");
        ASSERT_EQ(taken.status, 202) << taken.body;
        const nlohmann::json status = client.AwaitDecision(taken.json.value("id", ""));
        EXPECT_EQ(status.value("status", ""), "rejected") << status.dump();
        EXPECT_NE(status.value("reason", "").find(reason), std::string::npos) << status.dump();
    }
    EXPECT_TRUE(client.Get("/api/v1/boards/" + std::to_string(today.seed)).json["entries"].empty());
}

TEST_F(SqliteBoardTest, MutatedFilesAreRefusedOrDecidedAndNothingBreaks) {
    auto board = StartBoard(Arguments());
    ASSERT_TRUE(board->Started()) << board->Log();
    BoardClient client(board->Port());
    const std::string original = TodaysReplay(7);
    std::mt19937 random(19);
    std::vector<std::string> taken;
    int refused = 0;
    for (int i = 0; i < 1000; ++i) {
        std::string bytes = original;
        switch (random() % 3) {
            case 0:  // a few bytes changed
                for (unsigned n = random() % 4 + 1; n > 0; --n) {
                    bytes[random() % bytes.size()] = static_cast<char>(random());
                }
                break;
            case 1:  // cut short
                bytes.resize(random() % bytes.size());
                break;
            default:  // a byte inserted
                bytes.insert(random() % bytes.size(), 1, static_cast<char>(random()));
                break;
        }
        // Half get their checksum made right, to reach past it.
        if (i % 2 == 0) Reseal(bytes);
        const Answer answer = client.Submit(bytes, "fuzz");
        if (answer.status == 202) {
            taken.push_back(answer.json.value("id", ""));
            continue;
        }
        refused += 1;
        ASSERT_GE(answer.status, 400) << answer.body;
        ASSERT_LT(answer.status, 500) << answer.body;
        ASSERT_TRUE(answer.json.is_object() && !answer.json.value("error", "").empty())
            << answer.body;
    }
    EXPECT_GT(refused, 500);
    for (const std::string& id : taken) {
        const std::string state = client.AwaitDecision(id).value("status", "");
        EXPECT_TRUE(state == "verified" || state == "rejected") << id << " " << state;
    }
    EXPECT_EQ(client.Get("/").status, 200);
    EXPECT_EQ(board->Stop(SIGTERM), 0) << board->Log();
}

TEST_F(SqliteBoardTest, BoardsAreTaggedAndEveryDayLinkLeadsToAPage) {
    auto board = StartBoard(Arguments());
    ASSERT_TRUE(board->Started()) << board->Log();
    BoardClient client(board->Port());
    const Replay game = TodaysGame(2);
    const std::string day = std::to_string(game.seed);
    const auto header = [](const std::string& answer, const std::string& name) {
        const std::size_t at = answer.find("\r\n" + name + ": ");
        if (at == std::string::npos) return std::string();
        const std::size_t start = at + name.size() + 4;
        return answer.substr(start, answer.find("\r\n", start) - start);
    };
    const std::string boardGet = "GET /api/v1/boards/" + day + " HTTP/1.1\r\nHost: x\r\n";
    std::string boardTag;
    for (const std::string& get : {boardGet, "GET /daily/" + day + " HTTP/1.1\r\nHost: x\r\n"}) {
        const std::string whole = client.Raw(get + "\r\n");
        const std::string etag = header(whole, "ETag");
        ASSERT_EQ(etag.size(), 34u) << whole;
        EXPECT_EQ(header(whole, "Cache-Control"), "no-cache");
        const std::string same = client.Raw(get + "If-None-Match: " + etag + "\r\n\r\n");
        EXPECT_EQ(same.rfind("HTTP/1.1 304 ", 0), 0u) << same;
        EXPECT_EQ(same.substr(same.find("\r\n\r\n") + 4), "");
        if (boardTag.empty()) boardTag = etag;
    }
    // A verdict changes the board, and its tag with it.
    const Answer taken = client.Submit(replay_file::Encode(game), "ada");
    ASSERT_EQ(client.AwaitDecision(taken.json.value("id", "")).value("status", ""), "verified");
    const std::string after = client.Raw(boardGet + "If-None-Match: " + boardTag + "\r\n\r\n");
    EXPECT_EQ(after.rfind("HTTP/1.1 200 ", 0), 0u) << after;
    EXPECT_NE(header(after, "ETag"), boardTag);
    // The first day there can be links to no day before it.
    EXPECT_EQ(client.Get("/daily/19700101").body.find("rel=\"prev\""), std::string::npos);
    EXPECT_NE(client.Get("/daily/19700102").body.find("href=\"/daily/19700101\""),
              std::string::npos);
}

TEST_F(SqliteBoardTest, EachAddressSubmitsAtMostThirtyTimesAMinute) {
    auto board = StartBoard({"--workers", "0"});
    ASSERT_TRUE(board->Started()) << board->Log();
    BoardClient client(board->Port());
    for (int i = 0; i < 30; ++i) EXPECT_EQ(client.Submit("not a replay", "ada").status, 400);
    ExpectRefused(client.Submit("not a replay", "ada"), 429, "at most 30 a minute");
}

}  // namespace
}  // namespace board_testing
