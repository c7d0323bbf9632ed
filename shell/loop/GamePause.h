// What holds while anything is laid over the game: no ticks, sound held.
#pragma once

class PlayerSession;
class SoundEffects;
class TickTimer;

// Begin() when the first screen is laid over the game, End() when the last
// is taken away.
class GamePause {
public:
    GamePause(TickTimer& tickTimer, PlayerSession& playerSession)
        : timer(tickTimer), session(playerSession) {}

    // No timer, so no wake-ups and a paused game costs nothing; the sound's
    // loops hold.
    void Begin(SoundEffects* sound);
    // What was held when the pause began counts as released, and the timer
    // and the sound go on.
    void End(SoundEffects* sound);

private:
    TickTimer& timer;
    PlayerSession& session;
};
