// Built twice from the same source, natively and for WebAssembly (run under
// Node), to show that both builds play every game the same: it prints the
// game's state after every tick, or a fold of it, and the two outputs are
// compared byte for byte.
//
//   korvessa_web_trace REPLAY...              for each: its name, a line per
//                                             tick (tick, state hash) and the
//                                             verifier's verdict
//   korvessa_web_trace --sessions FIRST COUNT TICKS
//                                             scripted sessions of TICKS ticks
//                                             from script seeds FIRST on: a
//                                             line each with the score, the
//                                             games ended and the fold of the
//                                             state hash of every tick
//   korvessa_web_trace --ticks-of SESSION TICKS
//                                             one session's state hash after
//                                             every tick, to find where two
//                                             builds part

#include <cinttypes>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>

#include "game/GameApp.h"
#include "save/ReplayFile.h"
#include "save/ReplayVerifier.h"
#include "tests/support/GameStateSnapshot.h"
#include "tests/support/RecordedSession.h"
#include "tests/support/ReplayTrace.h"

namespace {

// FNV-1a's step, over the ticks' own hashes.
std::uint64_t Fold(std::uint64_t folded, std::uint64_t tickHash) {
    constexpr std::uint64_t kPrime = 0x100000001b3ull;
    for (int i = 0; i < 8; ++i) folded = (folded ^ (tickHash >> (8 * i) & 0xFF)) * kPrime;
    return folded;
}

int Sessions(std::uint32_t first, std::uint32_t count, std::uint32_t ticks, bool everyTick) {
    for (std::uint32_t n = first; n < first + count; ++n) {
        auto app = std::make_unique<GameApp>();
        testing_support::RecordedSession session(*app, 20260000u + n * 7919u, n);
        std::uint64_t folded = 0xcbf29ce484222325ull;
        int ended = 0;
        for (std::uint32_t tick = 0; tick < ticks; ++tick) {
            ended += session.Tick();
            const std::uint64_t hash = testing_support::GameStateSnapshot(*app).Hash();
            if (everyTick) std::printf("%u %016" PRIx64 "\n", tick, hash);
            folded = Fold(folded, hash);
        }
        std::printf("session %u: score %d, %d games ended, %016" PRIx64 "\n", n, app->score, ended,
                    folded);
    }
    return 0;
}

}  // namespace

int main(int argc, char* argv[]) {
    if (argc == 5 && std::strcmp(argv[1], "--sessions") == 0) {
        const auto number = [](const char* text) {
            return static_cast<std::uint32_t>(std::strtoul(text, nullptr, 10));
        };
        return Sessions(number(argv[2]), number(argv[3]), number(argv[4]), false);
    }
    if (argc == 4 && std::strcmp(argv[1], "--ticks-of") == 0) {
        const auto session = static_cast<std::uint32_t>(std::strtoul(argv[2], nullptr, 10));
        return Sessions(session, 1, static_cast<std::uint32_t>(std::strtoul(argv[3], nullptr, 10)),
                        true);
    }
    if (argc < 2 || argv[1][0] == '-') {
        std::fprintf(stderr,
                     "usage: korvessa_web_trace REPLAY... | --sessions FIRST COUNT TICKS | "
                     "--ticks-of SESSION TICKS\n");
        return 2;
    }
    return testing_support::PrintReplayTraces("korvessa_web_trace", argc - 1, argv + 1);
}
