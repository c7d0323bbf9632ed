// The day's board answered from the server's cache: 304 for the ETag it
// gave, and the changed board once another process records a verdict of the
// day (here the test, through a store handle of its own on the same file).

#include <signal.h>

#include <ctime>
#include <string>

#include "save/SeedKind.h"
#include "server/SqliteStore.h"
#include "tests/server/ServerTest.h"

namespace board_testing {
namespace {

struct RawAnswer {
    int status = 0;
    std::string etag;
    std::string cacheControl;
    std::string body;
};

std::string Header(const std::string& answer, const std::string& name) {
    const std::size_t end = answer.find("\r\n\r\n");
    const std::size_t at = answer.find("\r\n" + name + ": ");
    if (at == std::string::npos || at > end) return "";
    const std::size_t from = at + name.size() + 4;
    return answer.substr(from, answer.find("\r\n", from) - from);
}

RawAnswer Ask(BoardClient& client, const std::string& path, const std::string& etag = "") {
    std::string request = "GET " + path + " HTTP/1.1\r\nHost: x\r\nConnection: close\r\n";
    if (!etag.empty()) request += "If-None-Match: " + etag + "\r\n";
    const std::string answer = client.Raw(request + "\r\n");
    RawAnswer parsed;
    if (answer.rfind("HTTP/1.1 ", 0) == 0) parsed.status = std::stoi(answer.substr(9, 3));
    parsed.etag = Header(answer, "ETag");
    parsed.cacheControl = Header(answer, "Cache-Control");
    const std::size_t end = answer.find("\r\n\r\n");
    if (end != std::string::npos) parsed.body = answer.substr(end + 4);
    return parsed;
}

// A verified game of `day`, recorded as a worker would record it.
void RecordVerified(BoardStore& store, std::uint32_t day, const std::string& player) {
    NewSubmission game{
        "0123456789abcdef0123456789abcdef", player, day, "bytes", 1, "127.0.0.1", ""};
    ASSERT_TRUE(store.Add(game));
    const std::optional<Job> job = store.Take("elsewhere", 0, 1000);
    ASSERT_TRUE(job);
    ASSERT_TRUE(
        store.Finish(*job, "elsewhere", Verdict{true, 4200, 300, "", "digest of " + player}, 2));
}

class BoardCacheTest : public ServerTest {};

TEST_F(BoardCacheTest, AVerdictFromAnotherProcessChangesTheCachedBoard) {
    auto board = StartBoard({"--workers", "0"});
    ASSERT_TRUE(board->Started()) << board->Log();
    BoardClient client(board->Port());
    const std::uint32_t today = DailySeed(std::time(nullptr));
    const std::string paths[] = {"/api/v1/boards/" + std::to_string(today), "/",
                                 "/daily/" + std::to_string(today)};

    std::string etags[3];
    for (int i = 0; i < 3; ++i) {
        const RawAnswer first = Ask(client, paths[i]);
        ASSERT_EQ(first.status, 200) << paths[i];
        EXPECT_EQ(first.etag.front(), '"') << first.etag;
        EXPECT_FALSE(first.cacheControl.empty());
        EXPECT_EQ(first.body.find("Ada Lark"), std::string::npos);
        etags[i] = first.etag;
        const RawAnswer again = Ask(client, paths[i], "\"other\", " + first.etag);
        EXPECT_EQ(again.status, 304) << paths[i];
        EXPECT_EQ(again.etag, first.etag);
        EXPECT_TRUE(again.body.empty());
    }

    SqliteStore elsewhere(Path("board.sqlite"));
    RecordVerified(elsewhere, today, "Ada Lark");
    for (int i = 0; i < 3; ++i) {
        const RawAnswer changed = Ask(client, paths[i], etags[i]);
        EXPECT_EQ(changed.status, 200) << paths[i];
        EXPECT_NE(changed.etag, etags[i]);
        EXPECT_NE(changed.body.find("Ada Lark"), std::string::npos) << changed.body;
        EXPECT_EQ(Ask(client, paths[i], changed.etag).status, 304);
    }
    EXPECT_EQ(board->Stop(SIGTERM), 0) << board->Log();
}

}  // namespace
}  // namespace board_testing
