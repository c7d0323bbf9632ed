// A replay watched from the menu, over the paused game.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "save/Replay.h"
#include "shell/screens/Screen.h"

class ScreenHost;
class GameApp;
class ReplayPlayer;

// A replay starts from a fresh game, so it gets a GameApp of its own; the
// paused game is left exactly as it was. Both share the one random
// generator, whose state is kept when the watch begins and put back when it
// ends, so the paused game goes on with the very values it would have drawn
// (and a replay of it still verifies). The session's earlier games are
// played unseen a piece per tick; when that takes more than kProgressAfterMs
// the progress is shown. Escape, Backspace, B or Start return to the menu,
// and so does the end of the replay after its game-over screen.
class WatchScreen : public Screen {
public:
    static constexpr std::uint32_t kProgressAfterMs = 500;
    static constexpr std::uint32_t kSkipBudgetMs = 20;  // unseen play per tick

    WatchScreen(ScreenHost& host);
    ~WatchScreen() override;

    // Reads the replay to watch next. False with one line in `error`.
    bool Load(const std::string& path, std::string& error);
    // Loads and opens it over the menu, or says in `message` that it cannot
    // be read and redraws the menu.
    void Watch(const std::string& path, std::string& message);

    void KeyDown(const SDL_KeyboardEvent& key) override;
    void KeyUp(const SDL_KeyboardEvent& /*key*/) override {}
    void PadAction(Gamepads::Action action) override;
    void PadPress(SDL_GameControllerButton button) override;
    void Shown() override;
    void Left() override;

    bool FrameIsStill() const override;
    bool Tick() override;
    bool OwnsFrame() const override { return true; }
    void DrawFrame() override;
    void DrawOver() const override;

    // The replay's game, while watched (tests).
    const GameApp* Game() const { return game.get(); }

private:
    bool Skipping() const;

    ScreenHost& host;
    Replay replay;
    std::unique_ptr<GameApp> game;
    std::unique_ptr<ReplayPlayer> player;
    unsigned int savedRandom = 0;
    std::uint32_t skipStarted = 0;
};
