// Built twice, linked once with the system's GL (Mesa, offscreen) and once
// with the GL that draws nothing: verifies replays with the server's
// verifier and prints the game's state after every tick, so that the two
// builds' outputs can be compared byte for byte.
//
//   korvessa_state_trace REPLAY...        for each: its name, a line per
//                                         tick (tick, state hash), and the
//                                         verifier's verdict
//   korvessa_state_trace --record N DIR   writes N replays of scripted
//                                         sessions (daily or seeded; some of
//                                         their second game) to DIR

#include <cinttypes>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <memory>
#include <string>

#include "game/GameApp.h"
#include "save/ReplayFile.h"
#include "save/ReplayVerifier.h"
#include "save/SeedKind.h"
#include "tests/support/GameStateSnapshot.h"
#include "tests/support/RecordedSession.h"
#include "tests/support/ReplayTrace.h"
#if KORVESSA_TRACE_REAL_GL
#include "save/HeadlessGL.h"
#endif

namespace {

constexpr int kMaxTicks = 200000;
constexpr std::time_t kFirstDay = 1767225600;  // 2026-01-01T00:00:00Z
constexpr std::time_t kSecondsPerDay = 86400;

int Record(int count, const std::string& folder) {
    for (int n = 0; n < count; ++n) {
        const auto scriptSeed = static_cast<std::uint32_t>(n);
        const SeedKind kind = n % 2 == 0 ? SeedKind::kDaily : SeedKind::kSeed;
        // A daily game's seed is its day, which the verifier checks.
        const std::uint32_t seed = kind == SeedKind::kDaily
                                       ? DailySeed(kFirstDay + n * kSecondsPerDay)
                                       : 20260000u + scriptSeed * 7919u;
        const int games = n % 10 == 0 ? 2 : 1;
        auto app = std::make_unique<GameApp>();
        testing_support::RecordedSession session(*app, seed, scriptSeed, kind);
        int ended = 0;
        for (int tick = 0; tick < kMaxTicks && ended < games; ++tick) ended += session.Tick();
        const std::string path = folder + "/session-" + std::to_string(n) + ".kvr";
        std::string error;
        if (ended < games ||
            !replay_file::Write(path, session.recorder.FinishGame(app->score), error)) {
            std::fprintf(stderr, "korvessa_state_trace: %s: %s\n", path.c_str(),
                         error.empty() ? "the games did not end" : error.c_str());
            return 1;
        }
    }
    return 0;
}

}  // namespace

int main(int argc, char* argv[]) {
    if (argc == 4 && std::strcmp(argv[1], "--record") == 0) {
        return Record(std::atoi(argv[2]), argv[3]);
    }
#if KORVESSA_TRACE_REAL_GL
    HeadlessGL gl;
    std::string error;
    if (!gl.Open(error)) {
        std::fprintf(stderr, "korvessa_state_trace: %s\n", error.c_str());
        return 1;
    }
#endif
    return testing_support::PrintReplayTraces("korvessa_state_trace", argc - 1, argv + 1);
}
