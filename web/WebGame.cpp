#include "web/WebGame.h"

#include <GL/gl.h>

#include "gfx/BitmapFont.h"
#include "objects/Random.h"
#include "save/ReplayFile.h"
#include "web/ImmediateMode.h"

WebGame::WebGame() : app(std::make_unique<GameApp>()) {
    // The game takes the keys only while its canvas has the focus, so the
    // page's own fields (the player's name) keep theirs.
    SDL_SetHint(SDL_HINT_EMSCRIPTEN_KEYBOARD_ELEMENT, "#canvas");
    app->OpenWindow(GameApp::kWindowWidth, GameApp::kWindowHeight, SDL_WINDOW_OPENGL);
    app->SetProjection(static_cast<float>(GameApp::kWindowWidth),
                       static_cast<float>(GameApp::kWindowHeight));
    // The game draws in immediate mode only; Emscripten's emulation of it
    // would take these client arrays, which nothing fills, for its own.
    glDisableClientState(GL_VERTEX_ARRAY);
    glDisableClientState(GL_COLOR_ARRAY);
}

bool WebGame::Watch(const std::string& bytes, std::string& error) {
    Replay read;
    if (!replay_file::Decode(bytes, read, error)) return false;
    error = read.Problem();
    if (!error.empty()) return false;
    replay = read;
    StartWatching();
    return true;
}

void WebGame::StartWatching() {
    // A fresh game for every start: InitGame leaves the outlines empty for
    // the first tick, as the recording game had them.
    std::unique_ptr<GameApp> fresh = std::make_unique<GameApp>();
    fresh->window = app->window;
    fresh->glContext = app->glContext;
    fresh->sdlStarted = app->sdlStarted;
    app->window = nullptr;
    app->glContext = nullptr;
    app->sdlStarted = false;
    app = std::move(fresh);
    player = std::make_unique<ReplayPlayer>(replay);
    player->SeedGame();
    app->InitGame();
    ClampFont();
    ApplyOptions();
    player->SkipToGame(*app);
    state = State::kRunning;
    lastTickMs = -1;
}

void WebGame::Play(std::uint32_t seed) {
    SeedRandom(seed);
    app->InitGame();
    ClampFont();
    ApplyOptions();
    recorder = std::make_unique<ReplayRecorder>();
    recorder->BeginSession(seed, SeedKind::kDaily);
    state = State::kRunning;
    lastTickMs = -1;
}

void WebGame::ClampFont() {
    // WebGL 1 samples a texture whose sides are not powers of two as black
    // unless it is clamped; the glyphs' quads never reach past its edges, so
    // clamping draws them as the desktop's repeat does.
    glBindTexture(GL_TEXTURE_2D, app->font->texture);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
}

bool WebGame::SetOption(const std::string& name, const std::string& text, std::string& error) {
    if (name != "line-width" && name != "stars" && name != "clear-saucer" &&
        name != "clear-photons") {
        error = "no option '" + name + "' in the browser";
        return false;
    }
    if (!options.Set(name, text, error)) return false;
    ApplyOptions();
    if (state != State::kIdle) {  // shown at once, even while paused
        app->DrawFrame();
        rings.Draw(*app);
        app->Present();
    }
    return true;
}

void WebGame::ApplyOptions() {
    faintStars.stars = options.stars;
    app->starPainter = options.stars == Accessibility::Stars::kOn ? nullptr : &faintStars;
    rings.saucer = options.clearSaucer;
    rings.photons = options.clearPhotons;
    immediate_mode::SetLineWidth(options.lineWidth);
}

std::uint32_t WebGame::Ticks() const {
    if (player != nullptr) return player->TicksPlayed();
    return recorder != nullptr ? recorder->Ticks() : 0;
}

void WebGame::SetPaused(bool hold) {
    paused = hold;
    lastTickMs = -1;
}

void WebGame::SetSpeedFactor(int factor) {
    if (factor == 1 || factor == 2 || factor == 4) speedFactor = factor;
}

void WebGame::Restart() {
    if (player != nullptr) StartWatching();
}

double WebGame::TickMilliseconds() const {
    const int speed = player != nullptr ? player->Speed() : game_speed::kFull;
    return GameApp::kTickInterval * 100.0 / speed / speedFactor;
}

void WebGame::Frame(double nowMs) {
    if (state != State::kRunning || paused) return;
    const double interval = TickMilliseconds();
    if (lastTickMs < 0) lastTickMs = nowMs - interval;
    int ran = 0;
    while (nowMs - lastTickMs >= interval && state == State::kRunning) {
        if (ran == kMaxTicksPerFrame) {
            lastTickMs = nowMs;
            break;
        }
        RunTick();
        lastTickMs += interval;
        ++ran;
    }
    if (ran == 0) return;
    rings.Draw(*app);
    app->Present();
}

void WebGame::RunTick() {
    if (player != nullptr) {
        player->Step(*app);
        if (player->Finished()) state = State::kOver;
        return;
    }
    // As the desktop's session: an arrow pressed and let go between two
    // ticks still turns the ship for one.
    app->input = HeldInput() | unreadPresses;
    recorder->OnTick(app->input);
    app->UpdateGame();
    app->DrawFrame();
    unreadPresses = 0;
    app->input = HeldInput();
    if (!app->running) {
        finished = replay_file::Encode(recorder->FinishGame(app->score));
        state = State::kOver;
    }
}

void WebGame::HandleEvent(const SDL_Event& event) {
    // The pads see every event, so one plugged in before a game is open
    // when it starts.
    if (pads.HandleEvent(event)) {
        while (const std::optional<Gamepads::Action> action = pads.NextAction()) {
            if (recorder != nullptr && state == State::kRunning) PadAction(*action);
        }
        if (recorder != nullptr && state == State::kRunning) app->input = HeldInput();
        return;
    }
    if (recorder == nullptr || state != State::kRunning) return;
    if (event.type == SDL_KEYDOWN && event.key.repeat == 0) KeyDown(event.key.keysym.sym);
    if (event.type == SDL_KEYUP) KeyUp(event.key.keysym.sym);
}

void WebGame::KeyDown(SDL_Keycode key) {
    pressedKeys.insert(key);
    const unsigned held = keyboardInput;
    PassKey(key, true);
    unreadPresses |= keyboardInput & ~held;
}

void WebGame::KeyUp(SDL_Keycode key) {
    // A weapon fires on the release of a press seen here, never of one made
    // before the page had the keys.
    if (pressedKeys.erase(key) == 0) return;
    PassKey(key, false);
}

void WebGame::PadAction(Gamepads::Action action) {
    if (action == Gamepads::Action::kPhoton) PassKey(SDLK_SPACE, false);
    if (action == Gamepads::Action::kLaser) PassKey(SDLK_LALT, false);
}

void WebGame::PassKey(SDL_Keycode key, bool down) {
    app->input = keyboardInput;
    if (down) {
        app->HandleKeyDown(key);
    } else {
        app->HandleKeyUp(key);
    }
    keyboardInput = app->input;
    app->input = HeldInput();
    if (down) return;
    if (key == SDLK_SPACE) recorder->OnAction(ReplayAction::kSpace);
    if (key == SDLK_LALT || key == SDLK_RALT) recorder->OnAction(ReplayAction::kAlt);
}
