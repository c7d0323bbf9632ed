#include "audio/SoundEffects.h"

#include <SDL.h>
#include <SDL_mixer.h>
#include <dlfcn.h>
#include <sys/stat.h>

#include <algorithm>
#include <utility>

#include "common/AssetSearchPaths.h"
#include "common/RegularFile.h"
#include "game/GameApp.h"
#include "objects/Ship.h"
#include "objects/UFO.h"

namespace {

constexpr int kOutputRate = MIX_DEFAULT_FREQUENCY;
constexpr int kOutputChannels = 2;
// 512 frames are under 12 ms at 44.1 kHz: a shot is heard in the frame that
// shows it, at a cost of a few more wake-ups of the audio thread.
constexpr int kBufferFrames = 512;
// Enough for a busy moment: a burst of shots over breaks, the ship and the
// saucer going up together. An effect finding no free channel is dropped.
constexpr int kMixChannels = 16;
// The loops each keep a channel of their own, which effects never take.
constexpr int kThrustChannel = 0;
constexpr int kSaucerHumChannel = 1;
constexpr int kLoopChannels = 2;
// A loop cut off mid-wave clicks; a short fade does not.
constexpr int kLoopFadeMs = 20;

constexpr const char* kFolderName = "sounds";
// Refused unread: the longest effect is 22 KB.
constexpr std::size_t kMaxFileSize = 1u << 20;
// SDL's name for refusing a WAV whose data is shorter than its header says.
constexpr const char* kRefuseTruncated = "strict";

void IgnoreAlsaError(const char* /*file*/, int /*line*/, const char* /*function*/, int /*err*/,
                     const char* /*format*/, ...) {}

// ALSA's library writes its own lines to standard error when there is no
// sound card, which would bury our one line about it. SDL loads the library
// at run time; loading it first, to hand it a handler that says nothing,
// keeps it quiet. Returns the handle to keep it loaded, or null.
void* QuietenAlsa() {
    void* alsa = dlopen("libasound.so.2", RTLD_NOW | RTLD_LOCAL);
    if (alsa == nullptr) return nullptr;
    using Handler = void (*)(const char*, int, const char*, int, const char*, ...);
    using SetHandler = int (*)(Handler);
    auto set = reinterpret_cast<SetHandler>(dlsym(alsa, "snd_lib_error_set_handler"));
    if (set != nullptr) set(IgnoreAlsaError);
    return alsa;
}

}  // namespace

SoundEffects::SoundEffects(std::string soundFolder, std::ostream& warningStream)
    : folder(std::move(soundFolder)),
      warnings(warningStream),
      state(State::kClosed),
      audioStarted(false),
      mixerOpen(false),
      alsa(nullptr),
      paused(false),
      muted(false),
      volume(kMaxVolume),
      chunks(),
      playing() {}

SoundEffects::~SoundEffects() { Close(); }

const char* SoundEffects::FileName(Sound sound) {
    static constexpr const char* kFileNames[kSoundCount] = {
        "photon.wav", "laser.wav",    "large_asteroid.wav", "small_asteroid.wav", "ship.wav",
        "saucer.wav", "new_wave.wav", "laser_charged.wav",  "thrust.wav",         "saucer_hum.wav"};
    return kFileNames[sound];
}

bool SoundEffects::Loops(Sound sound) { return sound == kThrust || sound == kSaucerHum; }

std::string SoundEffects::FindFolder() {
    for (const std::string& candidate : AssetSearchPaths(kFolderName)) {
        // Whatever is there under the name: Load() says what is wrong with it.
        struct stat info {};
        if (stat((candidate + "/" + FileName(kPhoton)).c_str(), &info) == 0) return candidate;
    }
    return std::string();
}

bool SoundEffects::Open() {
    if (state != State::kClosed) return state == State::kOpen;
    if (alsa == nullptr) alsa = QuietenAlsa();
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) return TurnOff(SDL_GetError());
    audioStarted = true;
    std::string error;
    if (!mixer.Load(error)) return TurnOff(error);
    if (mixer.OpenAudio(kOutputRate, MIX_DEFAULT_FORMAT, kOutputChannels, kBufferFrames) != 0) {
        return TurnOff(SDL_GetError());
    }
    mixerOpen = true;
    mixer.AllocateChannels(kMixChannels);
    mixer.ReserveChannels(kLoopChannels);
    if (!Load()) return false;
    state = State::kOpen;
    ApplyVolume();
    return true;
}

bool SoundEffects::Load() {
    if (folder.empty()) {
        std::string tried;
        for (const std::string& candidate : AssetSearchPaths(kFolderName)) {
            tried += (tried.empty() ? "" : ", ") + candidate;
        }
        return TurnOff("cannot find the sounds folder (tried " + tried + ")");
    }
    // SDL plays whatever part of a cut-short file it finds; refused instead,
    // such a file is named as damaged rather than heard as a click.
    SDL_SetHint(SDL_HINT_WAVE_TRUNCATION, kRefuseTruncated);
    for (int i = 0; i < kSoundCount; ++i) {
        const std::string path = folder + "/" + FileName(static_cast<Sound>(i));
        std::string bytes, why;
        if (regular_file::Read(path, kMaxFileSize, bytes, why) != regular_file::Outcome::kRead) {
            return TurnOff("cannot load " + path + ": " +
                           (why.empty() ? "no such file" : "it " + why));
        }
        // The chunk keeps samples of its own, so the bytes may go after.
        chunks[i] =
            mixer.LoadWAV_RW(SDL_RWFromConstMem(bytes.data(), static_cast<int>(bytes.size())), 1);
        if (chunks[i] == nullptr) return TurnOff("cannot load " + path + ": " + SDL_GetError());
        if (chunks[i]->alen == 0) return TurnOff("cannot load " + path + ": it holds no samples");
    }
    return true;
}

bool SoundEffects::TurnOff(const std::string& why) {
    std::string line = why;
    std::replace(line.begin(), line.end(), '\n', ' ');
    warnings << "korvessa: sound is off: " << line << std::endl;
    // SDL's audio subsystem stays up until Close(): shutting a driver down
    // that has just failed can take a tenth of a second, better spent at exit
    // than in the first frames.
    ReleaseMixer();
    state = State::kOff;
    return false;
}

void SoundEffects::Close() {
    ReleaseMixer();
    if (audioStarted) {
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
        audioStarted = false;
    }
    if (alsa != nullptr) {
        dlclose(alsa);
        alsa = nullptr;
    }
    if (state == State::kOpen) state = State::kClosed;
}

void SoundEffects::ReleaseMixer() {
    if (mixerOpen) {
        mixer.HaltChannel(-1);
        for (Mix_Chunk*& chunk : chunks) {
            mixer.FreeChunk(chunk);  // accepts null
            chunk = nullptr;
        }
        mixer.CloseAudio();
        mixerOpen = false;
    }
    playing.fill(false);
}

bool SoundEffects::IsOpen() const { return state == State::kOpen; }

bool SoundEffects::ThrustHeard(const GameApp& app) {
    return app.ship != nullptr && app.ship->alive &&
           (app.input & (GameApp::kInputUp | GameApp::kInputDown)) != 0;
}

bool SoundEffects::SaucerHumHeard(const GameApp& app) {
    // The saucer is drawn, and so heard, only while the ship can be hit.
    return app.saucer != nullptr && app.ship != nullptr && app.saucer->alive && app.ship->alive &&
           app.ship->invulnerable <= 0;
}

void SoundEffects::Update(const GameApp& app) { SetLoops(ThrustHeard(app), SaucerHumHeard(app)); }

void SoundEffects::SetLoops(bool thrust, bool saucerHum) {
    for (int i = 0; i < kSoundCount; ++i) {
        if (!Loops(static_cast<Sound>(i))) playing[i] = false;
    }
    if (state != State::kOpen || paused) return;
    SetLoop(kThrust, thrust && !muted);
    SetLoop(kSaucerHum, saucerHum && !muted);
}

void SoundEffects::SetLoop(Sound sound, bool on) {
    if (playing[sound] == on) return;
    playing[sound] = on;
    if (on) {
        mixer.FadeInChannelTimed(ChannelOf(sound), chunks[sound], -1, kLoopFadeMs, -1);
    } else {
        mixer.FadeOutChannel(ChannelOf(sound), kLoopFadeMs);
    }
}

int SoundEffects::ChannelOf(Sound loop) {
    return loop == kThrust ? kThrustChannel : kSaucerHumChannel;
}

void SoundEffects::Play(Sound sound) {
    if (state != State::kOpen || paused || muted || playing[sound]) return;
    playing[sound] = true;
    // -1 asks for any free unreserved channel; with none free, nothing plays.
    mixer.PlayChannelTimed(-1, chunks[sound], 0, -1);
}

void SoundEffects::SetPaused(bool pause) {
    paused = pause;
    if (state != State::kOpen) return;
    for (Sound loop : {kThrust, kSaucerHum}) {
        if (pause) {
            mixer.Pause(ChannelOf(loop));
        } else {
            mixer.Resume(ChannelOf(loop));
        }
    }
}

bool SoundEffects::IsPaused() const { return paused; }

void SoundEffects::SetMuted(bool mute) {
    muted = mute;
    if (!mute || state != State::kOpen) return;
    mixer.HaltChannel(-1);
    playing.fill(false);
}

void SoundEffects::ToggleMute() { SetMuted(!muted); }

bool SoundEffects::IsMuted() const { return muted; }

void SoundEffects::SetVolume(int level) {
    volume = std::clamp(level, 0, kMaxVolume);
    if (state == State::kOpen) ApplyVolume();
}

int SoundEffects::Volume() const { return volume; }

void SoundEffects::ApplyVolume() { mixer.MasterVolume(volume * MIX_MAX_VOLUME / kMaxVolume); }

void SoundEffects::OnPhotonFired() { Play(kPhoton); }
void SoundEffects::OnLaserFired() { Play(kLaser); }
void SoundEffects::OnLaserCharged() { Play(kLaserCharged); }
void SoundEffects::OnLargeAsteroidBroken() { Play(kLargeAsteroid); }
void SoundEffects::OnSmallAsteroidDestroyed() { Play(kSmallAsteroid); }
void SoundEffects::OnShipDestroyed() { Play(kShip); }
void SoundEffects::OnSaucerDestroyed() { Play(kSaucer); }
void SoundEffects::OnNewWave() { Play(kNewWave); }
