// How long the game takes from being started to its first frame presented,
// beside the bare game's (korvessa_bare_game: GameApp::Init and Run, nothing
// else). The two are started in turns, after one unmeasured start of each to
// warm the file cache, so that a change in the machine's load falls on both
// alike; the medians are reported.
//
//   korvessa_startup_probe [--runs N] [--game PATH] [--bare PATH]
//                          [--preload PATH] [--video-driver NAME]
//
// The binaries and the frame-counting library default to the ones next to
// this program, the video driver to SDL's headless "offscreen" one; sound
// goes to SDL's dummy driver and the data folder is an empty temporary one.
// Exit status 1 when a run presents no frame or does not quit cleanly.

#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "bench/GameProcess.h"

namespace {

namespace fs = std::filesystem;

// Long enough for a first frame on a busy machine; it comes after ~0.1 s.
constexpr double kRunSeconds = 1.0;
// What the shell may add to the bare game's start-up.
constexpr double kAllowedLaterMs = 3.0;

struct Options : bench::GameOptions {
    int runs = 7;
    std::string bare = (fs::path(game).parent_path() / "korvessa_bare_game").string();
};

int Usage() {
    std::fprintf(stderr,
                 "usage: korvessa_startup_probe [--runs N] [--game PATH] [--bare PATH] "
                 "[--preload PATH] [--video-driver NAME]\n");
    return 2;
}

int Fail(const std::string& why) {
    std::fprintf(stderr, "startup probe FAILED: %s\n", why.c_str());
    return 1;
}

bool ParseOptions(int argc, char* argv[], Options& options) {
    for (int i = 1; i + 1 < argc; i += 2) {
        const std::string flag = argv[i];
        const char* value = argv[i + 1];
        if (flag == "--runs") {
            options.runs = std::atoi(value);
            if (options.runs < 1) return false;
        } else if (flag == "--bare") {
            options.bare = value;
        } else if (!options.Take(flag, value)) {
            return false;
        }
    }
    return argc % 2 == 1;
}

// One start of `binary`: milliseconds from its start to its first frame,
// or a negative number with `error` set.
double FirstFrameMs(const std::string& binary, const Options& options,
                    const std::vector<std::string>& environment, std::string& error) {
    bench::GameProcess process;
    if (!process.Start(binary, options.preload, options.videoDriver, environment, error)) return -1;
    bench::Sleep(kRunSeconds);
    int status = 0;
    const bool quit = process.Terminate(status);
    if (!quit || !WIFEXITED(status) || WEXITSTATUS(status) != 0) {
        error = binary + " did not quit cleanly (" + bench::DescribeStatus(status) + ")";
        return -1;
    }
    const bench::SwapCount swaps = process.Swaps();
    if (!swaps.written || swaps.frames == 0) {
        error = binary + " presented no frame within " + std::to_string(kRunSeconds) + " s";
        return -1;
    }
    return (swaps.firstSeconds - process.StartedAt()) * 1000.0;
}

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    const std::size_t middle = values.size() / 2;
    return values.size() % 2 == 1 ? values[middle] : (values[middle - 1] + values[middle]) / 2;
}

std::string List(const std::vector<double>& values) {
    std::string text;
    char one[32];
    for (double value : values) {
        std::snprintf(one, sizeof one, "%s%.1f", text.empty() ? "" : " ", value);
        text += one;
    }
    return text;
}

}  // namespace

int main(int argc, char* argv[]) {
    Options options;
    if (!ParseOptions(argc, argv, options)) return Usage();
    for (const std::string* path : {&options.game, &options.bare, &options.preload}) {
        if (access(path->c_str(), R_OK) != 0) return Fail("nothing at " + *path);
    }
    std::string data = (fs::temp_directory_path() / "korvessa_startup_XXXXXX").string();
    if (mkdtemp(data.data()) == nullptr) return Fail("cannot create a temporary folder");
    struct RemoveAtEnd {
        std::string path;
        ~RemoveAtEnd() { fs::remove_all(path); }
    } removeData{data};
    const std::vector<std::string> environment = {"SDL_AUDIODRIVER=dummy", "XDG_DATA_HOME=" + data};

    std::vector<double> shell;
    std::vector<double> bare;
    std::string error;
    for (int run = -1; run < options.runs; ++run) {
        const double shellMs = FirstFrameMs(options.game, options, environment, error);
        if (shellMs < 0) return Fail(error);
        const double bareMs = FirstFrameMs(options.bare, options, environment, error);
        if (bareMs < 0) return Fail(error);
        if (run < 0) continue;  // the warm-up
        shell.push_back(shellMs);
        bare.push_back(bareMs);
    }
    const double later = Median(shell) - Median(bare);
    std::printf("start to first frame, median of %d (video driver %s):\n", options.runs,
                options.videoDriver.c_str());
    std::printf("  the game:      %.1f ms  (%s)\n", Median(shell), List(shell).c_str());
    std::printf("  the bare game: %.1f ms  (%s)\n", Median(bare), List(bare).c_str());
    std::printf("  the game is %.1f ms later (target: at most %.0f ms)\n", later, kAllowedLaterMs);
    return 0;
}
