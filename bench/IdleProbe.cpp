// Runs the real game headless for a while, as a player would leave it
// running, and reports what that costs: the share of one core it used and
// the frames it presented per second. The game must block between ticks, so
// a share near a whole core means it is spinning.
//
//   korvessa_idle_probe [--seconds N] [--max-core-share X]
//                       [--game PATH] [--preload PATH] [--video-driver NAME]
//
// The game and the frame-counting library default to the ones next to this
// program; the video driver to SDL's headless "offscreen" one. Fails (exit status 1) when the game
// does not exit with status 0 after SIGTERM, presents no frame, or uses more than X of one core.

#include <sys/time.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "bench/GameProcess.h"

namespace {

namespace fs = std::filesystem;

struct Options : bench::GameOptions {
    double seconds = 10.0;
    double maxCoreShare = -1.0;  // negative: report only
};

double Seconds(const timeval& time) {
    return static_cast<double>(time.tv_sec) + static_cast<double>(time.tv_usec) / 1e6;
}

int Usage() {
    std::fprintf(stderr,
                 "usage: korvessa_idle_probe [--seconds N] [--max-core-share X] [--game PATH] "
                 "[--preload PATH] [--video-driver NAME]\n");
    return 2;
}

int Fail(const std::string& why) {
    std::fprintf(stderr, "idle probe FAILED: %s\n", why.c_str());
    return 1;
}

bool ParseNumber(const char* text, double& value) {
    char* end = nullptr;
    value = std::strtod(text, &end);
    return end != text && *end == '\0';
}

bool ParseOptions(int argc, char* argv[], Options& options) {
    for (int i = 1; i < argc; ++i) {
        const std::string flag = argv[i];
        if (i + 1 >= argc) return false;
        const char* value = argv[++i];
        if (flag == "--seconds") {
            if (!ParseNumber(value, options.seconds) || options.seconds <= 0) return false;
        } else if (flag == "--max-core-share") {
            if (!ParseNumber(value, options.maxCoreShare) || options.maxCoreShare <= 0) {
                return false;
            }
        } else if (!options.Take(flag, value)) {
            return false;
        }
    }
    return true;
}

}  // namespace

int main(int argc, char* argv[]) {
    Options options;
    if (!ParseOptions(argc, argv, options)) return Usage();
    std::error_code error;
    const std::string game = fs::canonical(options.game, error).string();
    if (error || access(game.c_str(), X_OK) != 0) return Fail("no game binary at " + options.game);
    const std::string preload = fs::canonical(options.preload, error).string();
    if (error) return Fail("no frame-counting library at " + options.preload);

    bench::GameProcess process;
    std::string why;
    if (!process.Start(game, preload, options.videoDriver, {}, why)) return Fail(why);
    const double started = process.StartedAt();

    // Let it run, but notice at once if it ends on its own.
    int status = 0;
    while (bench::MonotonicSeconds() - started < options.seconds) {
        if (process.Ended(status)) {
            return Fail("the game ended by itself after " +
                        std::to_string(bench::MonotonicSeconds() - started) + " s (" +
                        bench::DescribeStatus(status) + ")");
        }
        bench::Sleep(0.02);
    }
    const double terminated = bench::MonotonicSeconds();
    if (!process.Terminate(status)) {
        return Fail("the game did not quit within " +
                    std::to_string(bench::GameProcess::kQuitGraceSeconds) + " s of SIGTERM");
    }

    const double lifetime = process.EndedAt() - started;
    const double user = Seconds(process.Usage().ru_utime);
    const double system = Seconds(process.Usage().ru_stime);
    const double share = (user + system) / lifetime;
    const bench::SwapCount swaps = process.Swaps();
    std::printf("idle probe: %s (video driver %s) ran %.2f s (SIGTERM after %.2f s), %s\n",
                game.c_str(), options.videoDriver.c_str(), lifetime, terminated - started,
                bench::DescribeStatus(status).c_str());
    std::printf("  cpu: %.3f s (user %.3f s, system %.3f s) = %.1f %% of one core\n", user + system,
                user, system, 100.0 * share);
    if (swaps.written && swaps.frames > 0) {
        const double firstAfter = swaps.firstSeconds - started;
        const double span = swaps.lastSeconds - swaps.firstSeconds;
        const double steady = swaps.frames > 1 ? static_cast<double>(swaps.frames - 1) / span : 0;
        std::printf(
            "  frames presented: %llu = %.1f per second of its life; %.1f per second from the "
            "first (after %.2f s) to the last\n",
            swaps.frames, static_cast<double>(swaps.frames) / lifetime, steady, firstAfter);
    }
    std::fflush(stdout);

    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
        return Fail("the game did not exit cleanly after SIGTERM (" +
                    bench::DescribeStatus(status) + ")");
    }
    if (!swaps.written) return Fail("the frame counter wrote no count; was it preloaded?");
    if (swaps.frames == 0) return Fail("the game presented no frames");
    if (options.maxCoreShare > 0 && share > options.maxCoreShare) {
        char excess[160];
        std::snprintf(excess, sizeof excess,
                      "the game used %.1f %% of one core, more than the allowed %.1f %%; is it "
                      "polling instead of waiting for events?",
                      100.0 * share, 100.0 * options.maxCoreShare);
        return Fail(excess);
    }
    return 0;
}
