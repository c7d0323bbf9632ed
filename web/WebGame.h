// The game on a web page: one GameApp in the page's canvas, either playing
// a replay back (watch) or played from the keyboard and recorded (play).
#pragma once

#include <SDL.h>

#include <cstdint>
#include <memory>
#include <set>
#include <string>

#include "game/GameApp.h"
#include "input/Gamepads.h"
#include "save/Replay.h"
#include "save/ReplayPlayer.h"
#include "save/ReplayRecorder.h"
#include "shell/settings/Accessibility.h"
#include "shell/ui/FaintStars.h"
#include "shell/ui/ObjectRings.h"

// The page's loop calls Frame() at every animation frame; ticks run on the
// game's own clock (every 30 ms at full speed), never on the frame rate, so
// a slow or fast display changes nothing but how often the canvas is drawn.
class WebGame {
public:
    enum class State { kIdle, kRunning, kOver };
    // Ticks that may run in one frame; a tab left in the background and
    // come back skips the rest of its backlog instead of racing through it.
    static constexpr int kMaxTicksPerFrame = 8;

    // Opens the canvas's window and GL context with the game's projection.
    // Throws std::runtime_error with one line, as GameApp::Init does.
    WebGame();

    // Plays the replay file `bytes` at its recorded speed from its session's
    // start (earlier games of it skipped). False with a reason in `error`
    // when the bytes are no playable replay.
    bool Watch(const std::string& bytes, std::string& error);
    // Starts a recorded session of today's field (`seed` is its date).
    void Play(std::uint32_t seed);

    // Runs the ticks due at `nowMs` (a steady clock in milliseconds), after
    // the keys that came in, and draws when anything changed.
    void Frame(double nowMs);
    void HandleEvent(const SDL_Event& event);

    // Watching only: held ticks, a faster clock (1, 2 or 4 times), and the
    // replay from its start again.
    void SetPaused(bool paused);
    void SetSpeedFactor(int factor);
    void Restart();

    // The desktop's options that change only how the frame looks, by their
    // names and texts there: line-width, stars, clear-saucer and
    // clear-photons. False, changing nothing, with a line in `error` for a
    // bad text or another option.
    bool SetOption(const std::string& name, const std::string& text, std::string& error);

    // The game on the page, to look at.
    const GameApp& Game() const { return *app; }
    State GameState() const { return state; }
    int Score() const { return app != nullptr ? app->score : 0; }
    std::uint32_t Ticks() const;
    // The replay file of the game played here, once it is over.
    const std::string& FinishedReplay() const { return finished; }

private:
    void StartWatching();
    void ClampFont();
    void ApplyOptions();
    void RunTick();
    double TickMilliseconds() const;
    void KeyDown(SDL_Keycode key);
    void KeyUp(SDL_Keycode key);
    void PadAction(Gamepads::Action action);
    // The key's press or release to the game, recording a weapon's release.
    void PassKey(SDL_Keycode key, bool down);
    unsigned HeldInput() const { return keyboardInput | pads.HeldBits(); }

    std::unique_ptr<GameApp> app;
    // As the desktop's: the browser's Gamepad API through SDL, its mapping
    // of a standard pad built in; no mapping file to read.
    Gamepads pads{""};
    Replay replay;
    std::unique_ptr<ReplayPlayer> player;
    std::unique_ptr<ReplayRecorder> recorder;
    Accessibility options;
    FaintStars faintStars;
    ObjectRings rings;
    State state = State::kIdle;
    bool paused = false;
    int speedFactor = 1;
    double lastTickMs = -1;
    unsigned keyboardInput = 0;
    unsigned unreadPresses = 0;  // arrows pressed and released between two ticks
    std::set<SDL_Keycode> pressedKeys;
    std::string finished;
};
