// Writes the committed replay the tests verify: a scripted session played by
// today's game on real GL (offscreen), recorded as the shell records one,
// and the replay of its second game, so that verifying it also plays through
// a whole earlier game first.
// Usage: korvessa_make_replay [output.kvr [script seed]]
// (default tests/save/data/session.kvr, and the script seed the committed
// replay was made with)

#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>

#include "game/GameApp.h"
#include "save/HeadlessGL.h"
#include "save/ReplayFile.h"
#include "tests/support/RecordedSession.h"

namespace {

constexpr std::uint32_t kSeed = 20250614;
constexpr unsigned long kScriptSeed = 4;
constexpr int kGames = 2;
constexpr int kMaxTicks = 100000;

}  // namespace

int main(int argc, char* argv[]) {
    const std::string path = argc > 1 ? argv[1] : "tests/save/data/session.kvr";
    const auto scriptSeed =
        static_cast<std::uint32_t>(argc > 2 ? std::strtoul(argv[2], nullptr, 10) : kScriptSeed);
    HeadlessGL gl;
    std::string error;
    if (!gl.Open(error)) {
        std::fprintf(stderr, "korvessa_make_replay: %s\n", error.c_str());
        return 1;
    }
    auto app = std::make_unique<GameApp>();
    testing_support::RecordedSession session(*app, kSeed, scriptSeed);
    int gamesEnded = 0;
    for (int tick = 0; tick < kMaxTicks && gamesEnded < kGames; ++tick) {
        if (session.Tick()) gamesEnded += 1;
    }
    if (gamesEnded < kGames) {
        std::fprintf(stderr, "korvessa_make_replay: the script did not finish %d games\n", kGames);
        return 1;
    }
    const Replay replay = session.recorder.FinishGame(app->score);
    if (!replay_file::Write(path, replay, error)) {
        std::fprintf(stderr, "korvessa_make_replay: %s\n", error.c_str());
        return 1;
    }
    std::printf("%s: score %d, game from tick %u to %u, %zu bytes\n", path.c_str(), replay.score,
                replay.startTick, replay.tickCount, replay_file::Encode(replay).size());
    return 0;
}
