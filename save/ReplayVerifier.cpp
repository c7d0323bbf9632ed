#include "save/ReplayVerifier.h"

#include <memory>

#include "app/GameApp.h"
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
    const std::uint32_t ticks = ReplayPlayer::PlayAll(*app, replay);
    const bool matches = app->score == replay.score && !app->running;
    std::fprintf(out, "%s: score %d, %u ticks", path.c_str(), app->score, ticks);
    if (app->score != replay.score) std::fprintf(out, "; the file records %d", replay.score);
    if (!app->running) {
        std::fprintf(out, "\n");
    } else {
        std::fprintf(out, "; the game had not ended\n");
    }
    return matches ? kScoreMatches : kScoreDiffers;
}

}  // namespace replay_verifier
