// The board's page in a real browser: headless Chromium loads / from a test
// server, and its DOM shows the ranks, the names as text and the replay
// links. It also takes the page's screenshot.

#include <signal.h>
#include <unistd.h>

#include <cstdio>
#include <string>
#include <vector>

#include "tests/server/ServerTest.h"

namespace board_testing {
namespace {

constexpr const char* kBrowser = "/usr/bin/chromium";

class BrowserTest : public ServerTest {
protected:
    // Runs headless Chromium on `url` with `what` (--dump-dom or
    // --screenshot=...) and returns what it prints.
    std::string Browse(const std::string& what, const std::string& url) {
        const std::string command = std::string(kBrowser) +
                                    " --headless --no-sandbox --disable-gpu --no-first-run"
                                    " --window-size=720,540 --user-data-dir=" +
                                    Path("browser") + " " + what + " " + url + " 2>/dev/null";
        std::string output;
        if (std::FILE* pipe = popen(command.c_str(), "r")) {
            char buffer[4096];
            std::size_t read = 0;
            while ((read = std::fread(buffer, 1, sizeof buffer, pipe)) > 0) {
                output.append(buffer, read);
            }
            pclose(pipe);
        }
        return output;
    }
};

TEST_F(BrowserTest, ThePageShowsRanksNamesAsTextAndReplayLinks) {
    if (access(kBrowser, X_OK) != 0) GTEST_SKIP() << "Chromium is not installed";
    auto board = StartBoard({"--workers", "2"});
    ASSERT_TRUE(board->Started()) << board->Log();
    BoardClient client(board->Port());
    const std::vector<std::string> players{"ada", "<script>x</script>", "Zed Q."};
    std::vector<std::string> ids;
    for (std::size_t i = 0; i < players.size(); ++i) {
        const Answer answer = client.Submit(TodaysReplay(20 + i), players[i]);
        ASSERT_EQ(answer.status, 202) << answer.body;
        ids.push_back(answer.json.value("id", ""));
        ASSERT_EQ(client.AwaitDecision(ids.back()).value("status", ""), "verified");
    }
    const std::string url = "http://127.0.0.1:" + std::to_string(board->Port()) + "/";
    const std::string dom = Browse("--dump-dom", url);
    ASSERT_NE(dom.find("<table>"), std::string::npos) << dom;
    for (int rank = 1; rank <= 3; ++rank) {
        EXPECT_NE(dom.find("<td class=\"rank\">" + std::to_string(rank) + "</td>"),
                  std::string::npos);
    }
    // The name is a text node: serialised escaped, and no script element.
    EXPECT_NE(dom.find("<td class=\"player\">&lt;script&gt;x&lt;/script&gt;</td>"),
              std::string::npos)
        << dom;
    EXPECT_EQ(dom.find("<script"), std::string::npos) << dom;
    EXPECT_NE(dom.find("<td class=\"player\">Zed Q.</td>"), std::string::npos);
    for (const std::string& id : ids) {
        EXPECT_NE(dom.find("href=\"/replays/" + id + ".kvr\""), std::string::npos) << id;
    }

    const std::string screenshot = Path("board.png");
    Browse("--screenshot=" + screenshot, url);
    EXPECT_EQ(ReadFile(screenshot).substr(0, 8), "\x89PNG\r\n\x1a\n");
    EXPECT_EQ(board->Stop(SIGTERM), 0);
}

}  // namespace
}  // namespace board_testing
