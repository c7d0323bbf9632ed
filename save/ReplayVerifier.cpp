#include "save/ReplayVerifier.h"

#include <memory>

#include "game/GameApp.h"
#include "save/HeadlessGL.h"
#include "save/ReplayFile.h"
#include "save/ReplayPlayer.h"

namespace replay_verifier {

Outcome Check(const Replay& replay, const std::function<void(const GameApp&)>& afterTick,
              bool stopAtFirstProblem) {
    // Destroyed before whatever context it drew into.
    auto app = std::make_unique<GameApp>();
    ReplayPlayer player(replay);
    player.SeedGame();
    app->InitGame();
    const auto step = [&] {
        player.Step(*app);
        if (afterTick) afterTick(*app);
    };
    while (player.TicksPlayed() < replay.startTick) step();
    // A game starts with the session, or from the game-over screen.
    const bool waiting = replay.startTick == 0 || !app->running;
    bool started = false;
    bool ranOn = true;
    bool stopped = false;
    while (!stopped && player.TicksPlayed() + 1 < replay.tickCount) {
        const bool first = player.TicksPlayed() == replay.startTick;
        step();
        if (first) {
            started = waiting && app->running;
        } else {
            ranOn = ranOn && app->running;
        }
        // A game's score only grows, so one past the recorded score is as
        // final as a game that has ended early.
        stopped = stopAtFirstProblem && (!started || !ranOn || app->score > replay.score);
    }
    if (!stopped) step();
    Outcome outcome;
    outcome.score = app->score;
    outcome.ticks = player.TicksPlayed();
    if (app->score != replay.score) {
        outcome.problems.push_back("the file records " + std::to_string(replay.score));
    }
    if (!started) {
        outcome.problems.push_back("the recorded game did not start at tick " +
                                   std::to_string(replay.startTick));
    } else if (app->running) {
        outcome.problems.push_back("the game had not ended");
    } else if (!ranOn) {
        outcome.problems.push_back("the game ended before the last tick");
    }
    if (replay.seedKind == SeedKind::kDaily && !IsDailySeed(replay.seed)) {
        outcome.problems.push_back("the seed kind says daily but " + std::to_string(replay.seed) +
                                   " is not a date");
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
