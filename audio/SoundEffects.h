// The game's sound: a short effect for each event of the rules and two loops
// that follow the state of the game, played through SDL2_mixer.
#pragma once

#include <array>
#include <iostream>
#include <string>

#include "audio/MixerLibrary.h"
#include "game/GameListener.h"

class GameApp;

// Constructing opens nothing, not even SDL2_mixer's library, so the shell
// can put its first frame on the screen before it calls Open(). When audio
// cannot be opened or a sound file cannot be loaded, the object writes one
// line "korvessa: sound is off: <why>" to its warnings stream and stays
// silent from then on; every call still works and none throws, so sound
// never stops the game.
//
// Every call comes from the main thread. It reads the game and never
// changes it, and draws no random numbers, so a game plays the same with or
// without sound. Close (or destroy) it before the shell shuts SDL down.
class SoundEffects : public GameListener {
public:
    // Every sound, one WAV file each; the last two loop.
    enum Sound {
        kPhoton,
        kLaser,
        kLargeAsteroid,
        kSmallAsteroid,
        kShip,
        kSaucer,
        kNewWave,
        kLaserCharged,
        kThrust,
        kSaucerHum,
        kSoundCount
    };
    static constexpr int kMaxVolume = 100;

    // Sounds from `folder` (holding photon.wav and the rest; empty when no
    // folder was found), warnings to `warnings`.
    explicit SoundEffects(std::string folder = FindFolder(), std::ostream& warnings = std::cerr);
    ~SoundEffects() override;

    SoundEffects(const SoundEffects&) = delete;
    SoundEffects& operator=(const SoundEffects&) = delete;

    // The file of a sound, e.g. "photon.wav", and whether it loops.
    static const char* FileName(Sound sound);
    static bool Loops(Sound sound);

    // The first of AssetSearchPaths("sounds") that holds the sounds, or an
    // empty string when none does.
    static std::string FindFolder();

    // Loads SDL2_mixer, opens the default audio device and loads every
    // sound. Returns whether sound is on; on failure it reports why, once.
    // Once turned off it stays off: later calls return false and report
    // nothing.
    bool Open();
    // Stops everything and releases the device, the sounds and SDL's audio
    // subsystem; Open() may be called again unless sound was turned off.
    void Close();
    bool IsOpen() const;

    // After every tick: the loops follow the game's state (thrust while the
    // ship flies with Up or Down held, the hum while the saucer is shown),
    // and the next tick's effects may start again.
    void Update(const GameApp& app);
    // What Update does, given the state: each effect starts at most once
    // between two calls, so a beam breaking three asteroids in one tick is
    // not three times as loud.
    void SetLoops(bool thrust, bool saucerHum);
    static bool ThrustHeard(const GameApp& app);
    static bool SaucerHumHeard(const GameApp& app);

    // Paused: the loops stop where they are and go on when resumed; effects
    // already playing finish; nothing new starts.
    void SetPaused(bool paused);
    bool IsPaused() const;

    // Muted: everything stops at once and nothing plays until unmuted; the
    // loops come back with the next Update.
    void SetMuted(bool muted);
    void ToggleMute();
    bool IsMuted() const;

    // 0 (silent) to kMaxVolume (full); values outside are clamped. May be set
    // before Open().
    void SetVolume(int volume);
    int Volume() const;

    void OnPhotonFired() override;
    void OnLaserFired() override;
    void OnLaserCharged() override;
    void OnLargeAsteroidBroken() override;
    void OnSmallAsteroidDestroyed() override;
    void OnShipDestroyed() override;
    void OnSaucerDestroyed() override;
    void OnNewWave() override;

private:
    enum class State { kClosed, kOpen, kOff };

    bool Load();
    bool TurnOff(const std::string& why);
    void ReleaseMixer();
    void Play(Sound sound);
    void SetLoop(Sound sound, bool on);
    void ApplyVolume();
    static int ChannelOf(Sound loop);

    std::string folder;
    std::ostream& warnings;
    MixerLibrary mixer;  // loaded by Open()
    State state;
    bool audioStarted;  // SDL's audio subsystem was started by Open()
    bool mixerOpen;
    void* alsa;  // ALSA's library, kept loaded while it is kept quiet
    bool paused;
    bool muted;
    int volume;
    std::array<Mix_Chunk*, kSoundCount> chunks;
    std::array<bool, kSoundCount> playing;  // loops: on; effects: started this tick
};
