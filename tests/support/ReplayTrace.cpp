#include "tests/support/ReplayTrace.h"

#include <cinttypes>
#include <cstdio>
#include <cstring>
#include <string>

#include "save/ReplayFile.h"
#include "save/ReplayVerifier.h"
#include "tests/support/GameStateSnapshot.h"

namespace testing_support {

int PrintReplayTraces(const char* program, int count, char* paths[]) {
    for (int i = 0; i < count; ++i) {
        Replay replay;
        std::string error;
        if (!replay_file::Read(paths[i], replay, error)) {
            std::fprintf(stderr, "%s: %s\n", program, error.c_str());
            return 1;
        }
        // Names without their folder, so that runs from anywhere compare.
        const char* slash = std::strrchr(paths[i], '/');
        std::printf("%s\n", slash != nullptr ? slash + 1 : paths[i]);
        std::uint32_t tick = 0;
        const replay_verifier::Outcome outcome =
            replay_verifier::Check(replay, [&tick](const GameApp& app) {
                std::printf("%u %016" PRIx64 "\n", tick++, GameStateSnapshot(app).Hash());
            });
        std::printf("score %d, %u ticks", outcome.score, outcome.ticks);
        for (const std::string& problem : outcome.problems) std::printf("; %s", problem.c_str());
        std::printf("\n");
    }
    return 0;
}

}  // namespace testing_support
