#include "tests/server/ServerTest.h"

#include <signal.h>

#include <algorithm>
#include <ctime>

#include "save/ReplayFile.h"
#include "save/SeedKind.h"
#include "tests/support/DailyReplay.h"

namespace board_testing {

void ServerTest::SetUp() {
    // A server refusing a body unread closes the connection under the
    // client's feet: a failed write, not the end of the test.
    signal(SIGPIPE, SIG_IGN);
}

std::unique_ptr<BoardProcess> ServerTest::StartBoard(std::vector<std::string> arguments,
                                                     const std::string& log) {
    if (std::find(arguments.begin(), arguments.end(), "--database") == arguments.end()) {
        arguments.insert(arguments.end(), {"--database", Path("board.sqlite")});
    }
    return std::make_unique<BoardProcess>(arguments, Path(log));
}

Replay ServerTest::TodaysGame(std::uint32_t scriptSeed) {
    return testing_support::RecordDailyGame(DailySeed(std::time(nullptr)), scriptSeed);
}

std::string ServerTest::TodaysReplay(std::uint32_t scriptSeed) {
    return replay_file::Encode(TodaysGame(scriptSeed));
}

}  // namespace board_testing
