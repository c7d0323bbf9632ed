#include "shell/screens/WatchScreen.h"

#include <GL/gl.h>

#include "game/GameApp.h"
#include "gfx/StarField.h"
#include "objects/Random.h"
#include "save/ReplayFile.h"
#include "save/ReplayPlayer.h"
#include "shell/screens/ScreenHost.h"
#include "shell/session/PlayerSession.h"
#include "shell/session/TickTimer.h"
#include "shell/ui/ContinuePrompt.h"
#include "shell/ui/OverlayFont.h"

namespace {

constexpr int kTextY = 80;
constexpr int kMarkerY = 16;               // where a replay from the command line says so too
constexpr std::uint32_t kSkipChunk = 100;  // ticks between looks at the clock

}  // namespace

WatchScreen::WatchScreen(ScreenHost& screenHost) : host(screenHost) {}

WatchScreen::~WatchScreen() = default;

bool WatchScreen::Load(const std::string& path, std::string& error) {
    Replay read;
    if (!replay_file::Read(path, read, error)) return false;
    replay = read;
    return true;
}

void WatchScreen::Watch(const std::string& path, std::string& message) {
    std::string error;
    if (Load(path, error)) {
        host.Open(*this);
        return;
    }
    message = "that replay cannot be read";
    host.Redraw();
}

void WatchScreen::Shown() {
    savedRandom = RandomState();
    game = std::make_unique<GameApp>();  // seeds from the clock...
    player = std::make_unique<ReplayPlayer>(replay);
    player->SeedGame();  // ...so seed again, as the recording session did
    game->InitGame();
    ClampGlyphRows(*game->font);
    // Stars as large as the player's, which the window sized.
    GameApp& app = host.App();
    if (app.starField != nullptr) game->starField->pointSize = app.starField->pointSize;
    skipStarted = SDL_GetTicks();
    // The pause stopped the player's ticks; the replay needs some, at the
    // speed it was played at.
    host.Ticks().Lend(replay.speed);
}

void WatchScreen::Left() {
    host.Ticks().TakeBack();
    player.reset();
    game.reset();
    SeedRandom(savedRandom);
}

void WatchScreen::KeyDown(const SDL_KeyboardEvent& key) {
    if (key.repeat != 0) return;
    const SDL_Keycode sym = key.keysym.sym;
    if (sym == SDLK_ESCAPE || sym == SDLK_BACKSPACE || host.Session().IsPauseKey(key)) host.Back();
}

void WatchScreen::PadAction(Gamepads::Action action) {
    if (action == Gamepads::Action::kPause) host.Back();
}

void WatchScreen::PadPress(SDL_GameControllerButton button) {
    if (button == SDL_CONTROLLER_BUTTON_B) host.Back();
}

bool WatchScreen::Skipping() const {
    return player != nullptr && player->TicksPlayed() < player->TicksToGame();
}

bool WatchScreen::FrameIsStill() const { return player == nullptr || player->Finished(); }

bool WatchScreen::Tick() {
    if (player == nullptr || player->Finished()) return false;
    if (Skipping()) {
        const std::uint32_t began = SDL_GetTicks();
        while (!player->SkipTowardsGame(*game, kSkipChunk) &&
               !SDL_TICKS_PASSED(SDL_GetTicks(), began + kSkipBudgetMs)) {
        }
        // Quick skips show nothing; long ones their progress on black.
        if (!SDL_TICKS_PASSED(SDL_GetTicks(), skipStarted + kProgressAfterMs)) return false;
        glClear(GL_COLOR_BUFFER_BIT);
        return true;
    }
    return player->Step(*game);
}

void WatchScreen::DrawFrame() {
    if (player != nullptr && !Skipping() && player->TicksPlayed() > 0) {
        game->DrawFrame();
    } else {
        glClear(GL_COLOR_BUFFER_BIT);
    }
}

void WatchScreen::DrawOver() const {
    const TextFont& font = host.Font();
    if (Skipping()) {
        const std::uint32_t percent = player->TicksPlayed() * 100 / player->TicksToGame();
        const std::string progress = "playing earlier games " + std::to_string(percent) + "%";
        DrawCentred(font, kTextY, progress.c_str());
        return;
    }
    const std::string back = host.PadLastUsed() ? "b goes back" : "escape goes back";
    const std::string marker = "replay  score " + std::to_string(replay.score) + "   " + back;
    DrawCentred(font, kMarkerY, marker.c_str());
    // The game's own line would offer a new game, which a replay never starts.
    if (FrameIsStill()) ReplaceContinuePrompt(font, ("end of replay: " + back).c_str());
}
