// What the rules of a tick report to whoever is listening: sound, statistics.
#pragma once

// Each call comes from inside the rules, on the main thread, at the moment
// the event happens. A listener only observes: it must not change the game
// or draw random numbers, so a game plays the same with or without one.
// Every call does nothing unless overridden.
class GameListener {
public:
    virtual ~GameListener() = default;

    virtual void OnPhotonFired() {}
    virtual void OnLaserFired() {}
    virtual void OnLaserCharged() {}
    virtual void OnLargeAsteroidBroken() {}
    virtual void OnSmallAsteroidDestroyed() {}
    virtual void OnShipDestroyed() {}
    virtual void OnSaucerLaunched() {}
    virtual void OnSaucerDestroyed() {}
    virtual void OnNewWave() {}
    virtual void OnNewGame() {}
    virtual void OnGameOver() {}
};
