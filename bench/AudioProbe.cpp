// What sound costs: how long opening the device and loading the effects
// takes (the shell does it before or after its first frame), and the share
// of one core the mixer's thread uses, with the device open and silent and
// then while playing both loops and a steady run of effects. The main
// thread sleeps between calls, so the process's CPU time is the mixer's.
//
//   korvessa_audio_probe [--seconds N] [--driver NAME]
//
// The driver defaults to SDL's own choice; "dummy" and "disk" (with
// SDL_DISKAUDIOFILE) run without a sound card. Exit status 1 when sound
// cannot be opened.

#include <SDL.h>
#include <sys/resource.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <thread>

#include "audio/SoundEffects.h"

namespace {

constexpr auto kEffectInterval = std::chrono::milliseconds(250);

struct Options {
    double seconds = 3.0;
    std::string driver;
};

double CpuSeconds() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    auto seconds = [](const timeval& t) { return t.tv_sec + t.tv_usec / 1e6; };
    return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

double WallSeconds() {
    using Clock = std::chrono::steady_clock;
    return std::chrono::duration<double>(Clock::now().time_since_epoch()).count();
}

// Runs `step` every kEffectInterval for the given time; returns the share of
// one core the process used meanwhile.
template <typename Step>
double CoreShare(double seconds, Step step) {
    const double cpuStart = CpuSeconds();
    const double wallStart = WallSeconds();
    for (int i = 0; WallSeconds() - wallStart < seconds; ++i) {
        step(i);
        std::this_thread::sleep_for(kEffectInterval);
    }
    return (CpuSeconds() - cpuStart) / (WallSeconds() - wallStart);
}

bool Parse(int argc, char** argv, Options& options) {
    for (int i = 1; i < argc; ++i) {
        const bool hasValue = i + 1 < argc;
        if (std::strcmp(argv[i], "--seconds") == 0 && hasValue) {
            options.seconds = std::atof(argv[++i]);
        } else if (std::strcmp(argv[i], "--driver") == 0 && hasValue) {
            options.driver = argv[++i];
        } else {
            return false;
        }
    }
    return options.seconds > 0;
}

}  // namespace

int main(int argc, char** argv) {
    Options options;
    if (!Parse(argc, argv, options)) {
        std::fprintf(stderr, "usage: korvessa_audio_probe [--seconds N] [--driver NAME]\n");
        return 2;
    }
    if (!options.driver.empty()) setenv("SDL_AUDIODRIVER", options.driver.c_str(), 1);

    const double openStart = WallSeconds();
    SoundEffects sound;
    const bool opened = sound.Open();
    const double openMs = (WallSeconds() - openStart) * 1000.0;
    const char* driver = SDL_GetCurrentAudioDriver();
    std::printf("sound: opening the device and loading the effects took %.1f ms (driver %s)\n",
                openMs, driver != nullptr ? driver : "none");
    if (!opened) return 1;

    const double silent = CoreShare(options.seconds, [](int) {});
    std::printf("sound: device open and silent, share of one core: %.2f %%\n", silent * 100);

    const double playing = CoreShare(options.seconds, [&sound](int i) {
        sound.SetLoops(true, true);
        sound.OnPhotonFired();
        if (i % 4 == 0) sound.OnLargeAsteroidBroken();
        if (i % 8 == 0) sound.OnShipDestroyed();
    });
    std::printf("sound: playing both loops and effects, share of one core: %.2f %%\n",
                playing * 100);
    return 0;
}
