// Records a session's inputs as they are handed to the game, so that each
// finished game can be written as a replay.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "save/GameSpeed.h"
#include "save/Replay.h"

// The shell tells the recorder everything it hands to its GameApp, in the
// same order:
//   BeginSession(seed, kind)   once, with the seed given to SeedRandom before
//                              InitGame (or Init) ran
//   OnTick(app.input)          just before each tick the loop runs
//   OnAction(ReplayAction::kSpace / kAlt)
//                              for each Space or Alt release handed to
//                              HandleKeyUp, while the game's keys are live
//   OnAction(ReplayAction::kRedraw)
//                              for each DrawFrame() outside a tick (a paused
//                              or exposed window drawn again); only those that
//                              can change the outlines are kept
//   OnNewGame()                when a release has started a new game
//   SetSpeed(percent)          whenever the time between ticks changes
//   FinishGame(app.score)      at game over, for the replay of that game
// Recording goes on after a game over; the next game's replay holds the
// whole session again, up to its own end.
class ReplayRecorder {
public:
    explicit ReplayRecorder(std::string gameVersion = KORVESSA_VERSION);

    // Forgets everything recorded; the session's first game starts at tick 0.
    void BeginSession(std::uint32_t seed, SeedKind kind);

    void OnTick(unsigned inputBits);
    void OnAction(ReplayAction action);
    // The game now running started before the next tick.
    void OnNewGame();
    // The ticks from the next one on come at this speed (per cent, one of
    // game_speed::kChoices); full speed until told otherwise.
    void SetSpeed(int percent);

    // The replay of the game that ended in the last tick, scored `score`.
    Replay FinishGame(int score) const;

    // Ticks recorded since the session began.
    std::uint32_t Ticks() const { return ticks; }
    // The slowest speed any tick of the game now running has run at: what
    // its replay will record.
    int GameSpeed() const { return gameSpeed; }

private:
    std::string gameVersion;
    std::uint32_t seed = 0;
    SeedKind seedKind = SeedKind::kClock;
    std::uint32_t ticks = 0;
    std::uint32_t gameStart = 0;
    int speed = game_speed::kFull;
    int gameSpeed = game_speed::kFull;
    bool changedSinceDrawn = true;  // by a release since the last frame drawn
    std::vector<InputRun> inputs;
    std::vector<ReplayEvent> events;
};
