// Writes daily replays as the game records them: the first game of a
// scripted daily session, by default of today (UTC). The score server's
// benchmark sends them; the committed tests/server/data/daily.kvr was made
// with --date 20260101.
// Usage: korvessa_make_daily_replay [--date YYYYMMDD] [--script-seed N]
//                                    [--count N] [--costliest] OUTPUT
// With --costliest, the files are instead the day's most expensive the
// board takes (testing_support::CostliestDailyFile).
// With --count, OUTPUT is a folder that gets daily-<seed>.kvr for N script
// seeds from the one given.

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <string>

#include "save/ReplayFile.h"
#include "save/SeedKind.h"
#include "server/BoardServer.h"
#include "server/SubmissionRules.h"
#include "tests/support/DailyReplay.h"

int main(int argc, char* argv[]) {
    std::uint32_t day = DailySeed(std::time(nullptr));
    std::uint32_t scriptSeed = 1;
    unsigned long count = 0;
    bool costliest = false;
    std::string output;
    for (int i = 1; i < argc; ++i) {
        const bool hasValue = i + 1 < argc;
        if (std::strcmp(argv[i], "--date") == 0 && hasValue) {
            day = static_cast<std::uint32_t>(std::strtoul(argv[++i], nullptr, 10));
        } else if (std::strcmp(argv[i], "--script-seed") == 0 && hasValue) {
            scriptSeed = static_cast<std::uint32_t>(std::strtoul(argv[++i], nullptr, 10));
        } else if (std::strcmp(argv[i], "--costliest") == 0) {
            costliest = true;
        } else if (std::strcmp(argv[i], "--count") == 0 && hasValue) {
            count = std::strtoul(argv[++i], nullptr, 10);
        } else {
            output = argv[i];
        }
    }
    if (output.empty()) {
        std::fprintf(stderr,
                     "usage: korvessa_make_daily_replay [--date YYYYMMDD] "
                     "[--script-seed N] [--count N] [--costliest] OUTPUT\n");
        return 2;
    }
    const unsigned long files = count == 0 ? 1 : count;
    for (unsigned long n = 0; n < files; ++n) {
        const std::uint32_t seed = scriptSeed + static_cast<std::uint32_t>(n);
        const std::string path =
            count == 0 ? output : output + "/daily-" + std::to_string(seed) + ".kvr";
        Replay replay;
        if (costliest) {
            replay = testing_support::CostliestDailyFile(day, BoardServer::kMaxReplayBytes,
                                                         submission_rules::kMaxTicks,
                                                         submission_rules::kMaxReleasesPerTick);
            // Each file of its own, or the board would take them as one.
            replay.score -= static_cast<std::int32_t>(n);
        } else {
            replay = testing_support::RecordDailyGame(day, seed);
        }
        std::string error;
        if (!replay.Problem().empty() || !replay_file::Write(path, replay, error)) {
            std::fprintf(stderr, "korvessa_make_daily_replay: %s: %s\n", path.c_str(),
                         error.empty() ? "the game did not end" : error.c_str());
            return 1;
        }
        std::printf("%s: daily %u, score %d, %u ticks\n", path.c_str(), day, replay.score,
                    replay.tickCount);
    }
    return 0;
}
