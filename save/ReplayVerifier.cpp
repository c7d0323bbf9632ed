#include "save/ReplayVerifier.h"

#include <memory>

#include "game/GameApp.h"
#include "save/HeadlessGL.h"
#include "save/ReplayFile.h"
#include "save/ReplayPlayer.h"

namespace replay_verifier {

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
    // Destroyed before the context it drew into.
    auto app = std::make_unique<GameApp>();
    ReplayPlayer player(replay);
    player.SeedGame();
    app->InitGame();
    while (player.TicksPlayed() + 1 < replay.tickCount) player.Step(*app);
    // The recorded game ends in the file's last tick, not before, not after.
    const bool runningBeforeLast = app->running;
    player.Step(*app);
    const bool endedLast = runningBeforeLast && !app->running;
    const bool matches = app->score == replay.score && endedLast;
    std::fprintf(out, "%s: score %d, %u ticks", path.c_str(), app->score, player.TicksPlayed());
    if (app->score != replay.score) std::fprintf(out, "; the file records %d", replay.score);
    if (app->running) {
        std::fprintf(out, "; the game had not ended");
    } else if (!runningBeforeLast) {
        std::fprintf(out, "; the game ended before the last tick");
    }
    std::fprintf(out, "\n");
    return matches ? kScoreMatches : kScoreDiffers;
}

}  // namespace replay_verifier
