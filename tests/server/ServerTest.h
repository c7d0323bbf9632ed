// What the score server's tests share: a scratch folder, the real server
// started in it, and today's daily replays made on the spot.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "save/Replay.h"
#include "tests/server/BoardClient.h"
#include "tests/server/BoardProcess.h"
#include "tests/support/TemporaryFolder.h"

namespace board_testing {

class ServerTest : public ::testing::Test {
protected:
    void SetUp() override;

    // A path in the scratch folder.
    std::string Path(const std::string& name) const { return folder + "/" + name; }

    // korvessa-board on the scratch folder's board.sqlite unless `arguments`
    // name another database, logging to `log` in the scratch folder.
    std::unique_ptr<BoardProcess> StartBoard(std::vector<std::string> arguments,
                                             const std::string& log = "board.log");

    // The first game of today's daily session (UTC) played by the script
    // from `scriptSeed`, and its file's bytes.
    static Replay TodaysGame(std::uint32_t scriptSeed);
    static std::string TodaysReplay(std::uint32_t scriptSeed);

    const testing_support::TemporaryFolder scratch;
    const std::string folder = scratch.Bare();
};

}  // namespace board_testing
