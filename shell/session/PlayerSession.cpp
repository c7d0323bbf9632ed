#include "shell/session/PlayerSession.h"

#include <cstdio>
#include <ctime>
#include <utility>

#include "board/BoardSender.h"
#include "game/GameApp.h"
#include "input/Gamepads.h"
#include "save/ReplayRecorder.h"
#include "shell/session/PlayerSettings.h"
#include "shell/session/ShellParts.h"
#include "shell/settings/Accessibility.h"
#include "shell/ui/CurrentGame.h"

namespace {

// SDL releases every held key when focus moves away, just before it reports
// the focus loss; such a release is not the player's.
bool FocusLossIsQueued() {
    SDL_Event queued[16];
    SDL_PumpEvents();
    const int count = SDL_PeepEvents(queued, 16, SDL_PEEKEVENT, SDL_WINDOWEVENT, SDL_WINDOWEVENT);
    for (int i = 0; i < count; ++i) {
        if (queued[i].window.event == SDL_WINDOWEVENT_FOCUS_LOST) return true;
    }
    return false;
}

bool IsWeapon(SDL_Keycode key) { return key == SDLK_SPACE || key == SDLK_LALT || key == SDLK_RALT; }

}  // namespace

SDL_Keycode PlayerSession::GameKey(const SDL_KeyboardEvent& key) const {
    return parts.settings != nullptr ? parts.settings->Bindings().Translate(key) : key.keysym.sym;
}

bool PlayerSession::IsPauseKey(const SDL_KeyboardEvent& key) const {
    if (parts.settings == nullptr) return KeyBindings::IsUnboundPauseKey(key);
    return key.repeat == 0 &&
           (key.keysym.sym == SDLK_ESCAPE ||
            parts.settings->Bindings().ActionOf(key.keysym.scancode) == KeyBindings::kPause);
}

bool PlayerSession::KeyDown(const SDL_KeyboardEvent& key) {
    if (key.repeat != 0) return false;
    const SDL_Keycode code = GameKey(key);
    if (code == SDLK_UNKNOWN) return false;
    pressedKeys.insert(code);
    // Firing on press: the game gets the weapon's release now, and the real
    // one never.
    if (IsWeapon(code) && FiresOnPress()) return PassKey(code, false);
    const unsigned held = keyboardInput;
    const bool newGame = PassKey(code, true);
    unreadPresses |= keyboardInput & ~held;
    return newGame;
}

bool PlayerSession::KeyUp(const SDL_KeyboardEvent& key) {
    const SDL_Keycode code = GameKey(key);
    if (code == SDLK_UNKNOWN) return false;
    const bool pressedWhilePlaying = pressedKeys.erase(code) > 0;
    if (FocusLossIsQueued()) return false;
    if (IsWeapon(code) && (!pressedWhilePlaying || FiresOnPress())) return false;
    return PassKey(code, false);
}

bool PlayerSession::FiresOnPress() const { return options.fireOnPress; }

bool PlayerSession::PadAction(Gamepads::Action action) {
    switch (action) {
        case Gamepads::Action::kPhoton:
            return PassKey(SDLK_SPACE, false);
        case Gamepads::Action::kLaser:
            return PassKey(SDLK_LALT, false);
        default:
            return false;
    }
}

bool PlayerSession::PassKey(SDL_Keycode key, bool down) {
    const bool wasRunning = game->running;
    game->input = keyboardInput;
    if (down) {
        game->HandleKeyDown(key);
    } else {
        game->HandleKeyUp(key);
    }
    keyboardInput = game->input;
    CombineInput();
    ReplayRecorder* recorder = parts.recorder;
    if (recorder == nullptr || down) return false;
    if (key == SDLK_SPACE) recorder->OnAction(ReplayAction::kSpace);
    if (key == SDLK_LALT || key == SDLK_RALT) recorder->OnAction(ReplayAction::kAlt);
    if (wasRunning || !game->running) return false;
    recorder->OnNewGame();
    awaitingTable = false;
    entered.reset();
    return true;
}

void PlayerSession::ReleaseAll() {
    keyboardInput = 0;
    unreadPresses = 0;
    pressedKeys.clear();
    if (parts.pads != nullptr) parts.pads->ReleaseAll();
    CombineInput();
}

void PlayerSession::CombineInput() {
    game->input = keyboardInput | (parts.pads != nullptr ? parts.pads->HeldBits() : 0);
}

Uint32 PlayerSession::PhotonButtons() const {
    return parts.settings != nullptr ? parts.settings->Bindings().ButtonBits(KeyBindings::kPhoton)
                                     : Gamepads::kDefaultPhotonButtons;
}

bool PlayerSession::PlayTick() {
    entry.Retry(SDL_GetTicks());
    CollectEntered();
    game->input |= unreadPresses;
    if (parts.recorder != nullptr) parts.recorder->OnTick(game->input);
    const bool wasRunning = game->running;
    game->UpdateGame();
    game->DrawFrame();
    unreadPresses = 0;
    CombineInput();
    return wasRunning && !game->running;
}

std::uint64_t PlayerSession::SendFinishedGame() {
    if (parts.board == nullptr || parts.recorder == nullptr) return 0;
    return parts.board->SendGame(parts.recorder->FinishGame(game->score));
}

bool PlayerSession::DailyTooSlowToSend() const {
    if (parts.board == nullptr || parts.recorder == nullptr) return false;
    const Replay finished = parts.recorder->FinishGame(game->score);
    return finished.seedKind == SeedKind::kDaily && !finished.AtFullSpeed();
}

bool PlayerSession::KeepsGames() const {
    return parts.recorder != nullptr && parts.records != nullptr;
}

void PlayerSession::KeepFinishedGame() {
    entry.GiveUp();  // an earlier game still waiting, if any
    CollectEntered();
    awaitingTable = true;
    entry.Begin(*parts.records, parts.recorder->FinishGame(game->score), std::time(nullptr),
                SDL_GetTicks());
    CollectEntered();
}

void PlayerSession::CollectEntered() {
    std::optional<GameRecords::Outcome> outcome = entry.TakeOutcome();
    if (!outcome) return;
    for (const std::string& warning : outcome->warnings) {
        // An unwritable folder stays so: once is enough.
        if (warned.insert(warning).second) std::fprintf(stderr, "korvessa: %s\n", warning.c_str());
    }
    if (awaitingTable) entered = std::move(outcome);
    awaitingTable = false;
}

std::optional<GameRecords::Outcome> PlayerSession::TakeEntered() {
    return std::exchange(entered, std::nullopt);
}
