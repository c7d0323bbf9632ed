// The real game started as a player would start it, with the frame counter
// (SwapCounter.cpp) preloaded, for the probes that measure it from outside.
#pragma once

#include <sys/resource.h>
#include <sys/types.h>

#include <string>
#include <vector>

namespace bench {

// CLOCK_MONOTONIC, which the frame counter's times are taken from too.
double MonotonicSeconds();
void Sleep(double seconds);
// "exit status 0", "killed by Segmentation fault".
std::string DescribeStatus(int status);

// The options every probe takes about the game it starts, with their
// defaults: the game and the frame counter next to the probe, SDL's
// headless "offscreen" video driver.
struct GameOptions {
    GameOptions();
    // Takes --game, --preload or --video-driver with its value; false for
    // any other flag.
    bool Take(const std::string& flag, const char* value);

    std::string game;
    std::string preload;
    std::string videoDriver = "offscreen";
};

// What the frame counter wrote when the game exited.
struct SwapCount {
    bool written = false;
    unsigned long long frames = 0;
    double firstSeconds = -1;  // monotonic time of the first presented frame
    double lastSeconds = -1;
};

// One run of a game binary. Killed, if still running, on destruction.
class GameProcess {
public:
    static constexpr double kQuitGraceSeconds = 10.0;

    GameProcess() = default;
    ~GameProcess();
    GameProcess(const GameProcess&) = delete;
    GameProcess& operator=(const GameProcess&) = delete;

    // Starts `game` with no arguments and this process's environment, plus
    // SDL_VIDEODRIVER=`videoDriver`, the counter `preload`ed, settings seen
    // before (in a folder of its own, so the game plays at once rather than
    // opening on its first start's screen of the keys) and `extra`
    // ("NAME=value"). False, with why in `error`.
    bool Start(const std::string& game, const std::string& preload, const std::string& videoDriver,
               const std::vector<std::string>& extra, std::string& error);
    // Monotonic seconds just before it was started.
    double StartedAt() const { return started; }

    // Whether it has ended by itself; then `status` holds its wait status.
    bool Ended(int& status);
    // Asks it to quit as a window manager would and waits for it. False when
    // it had to be killed after kQuitGraceSeconds.
    bool Terminate(int& status);
    // Its CPU time and when it was reaped, once it has ended.
    const rusage& Usage() const { return usage; }
    double EndedAt() const { return ended; }

    // What the counter wrote at exit.
    SwapCount Swaps() const;

private:
    pid_t pid = 0;
    double started = 0;
    double ended = 0;
    rusage usage{};
    std::string countFile;
    std::string configFolder;  // XDG_CONFIG_HOME of the game
};

}  // namespace bench
