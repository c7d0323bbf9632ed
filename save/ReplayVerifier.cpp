#include "save/ReplayVerifier.h"

#include <memory>

#include "game/GameApp.h"
#include "save/HeadlessGL.h"
#include "save/ReplayFile.h"
#include "save/ReplayPlayer.h"

namespace replay_verifier {

Outcome Check(const Replay& replay, const std::function<void(const GameApp&)>& afterTick) {
    // Destroyed before whatever context it drew into.
    auto app = std::make_unique<GameApp>();
    ReplayPlayer player(replay);
    player.SeedGame();
    app->InitGame();
    const auto step = [&] {
        player.Step(*app);
        if (afterTick) afterTick(*app);
    };
    while (player.TicksPlayed() + 1 < replay.tickCount) step();
    // The recorded game ends in the file's last tick, not before, not after.
    const bool runningBeforeLast = app->running;
    step();
    Outcome outcome;
    outcome.score = app->score;
    outcome.ticks = player.TicksPlayed();
    if (app->score != replay.score) {
        outcome.problems.push_back("the file records " + std::to_string(replay.score));
    }
    if (app->running) {
        outcome.problems.push_back("the game had not ended");
    } else if (!runningBeforeLast) {
        outcome.problems.push_back("the game ended before the last tick");
    }
    return outcome;
}

int Verify(const std::string& path, std::FILE* out, std::FILE* err) {
    Replay replay;
    std::string error;
    if (!replay_file::Read(path, replay, error)) {
        std::fprintf(err, "korvessa: %s\n", error.c_str());
        return kInvalidFile;
    }
    HeadlessGL gl;
    if (!gl.Open(error)) {
        std::fprintf(err, "korvessa: %s\n", error.c_str());
        return kScoreDiffers;
    }
    const Outcome outcome = Check(replay);
    std::fprintf(out, "%s: score %d, %u ticks", path.c_str(), outcome.score, outcome.ticks);
    for (const std::string& problem : outcome.problems) std::fprintf(out, "; %s", problem.c_str());
    std::fprintf(out, "\n");
    return outcome.Holds() ? kScoreMatches : kScoreDiffers;
}

}  // namespace replay_verifier
