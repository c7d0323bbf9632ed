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

#include <signal.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/types.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

extern char** environ;

namespace {

namespace fs = std::filesystem;

constexpr double kQuitGraceSeconds = 10.0;
constexpr const char* kCountVariable = "KORVESSA_SWAP_COUNT_FILE";

struct Options {
    double seconds = 10.0;
    double maxCoreShare = -1.0;  // negative: report only
    std::string game;
    std::string preload;
    std::string videoDriver = "offscreen";
};

double MonotonicSeconds() {
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) / 1e9;
}

void Sleep(double seconds) {
    timespec pause{};
    pause.tv_sec = static_cast<time_t>(seconds);
    pause.tv_nsec = static_cast<long>((seconds - static_cast<double>(pause.tv_sec)) * 1e9);
    while (nanosleep(&pause, &pause) != 0 && errno == EINTR) {
    }
}

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
    const fs::path here = fs::read_symlink("/proc/self/exe").parent_path();
    options.game = (here / "korvessa").string();
    options.preload = (here / "libkorvessa_swap_counter.so").string();
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
        } else if (flag == "--game") {
            options.game = value;
        } else if (flag == "--preload") {
            options.preload = value;
        } else if (flag == "--video-driver") {
            options.videoDriver = value;
        } else {
            return false;
        }
    }
    return true;
}

// This process's environment with the chosen video driver, the frame
// counter preloaded and the file it writes its count to.
std::vector<std::string> GameEnvironment(const Options& options, const std::string& preload,
                                         const std::string& countFile) {
    std::string preloads = preload;
    std::vector<std::string> env;
    for (char** entry = environ; *entry != nullptr; ++entry) {
        const std::string variable = *entry;
        const std::string name = variable.substr(0, variable.find('='));
        if (name == "LD_PRELOAD") {
            preloads += ":" + variable.substr(name.size() + 1);
        } else if (name != "SDL_VIDEODRIVER" && name != kCountVariable) {
            env.push_back(variable);
        }
    }
    env.push_back("SDL_VIDEODRIVER=" + options.videoDriver);
    env.push_back("LD_PRELOAD=" + preloads);
    env.push_back(std::string(kCountVariable) + "=" + countFile);
    return env;
}

struct SwapCount {
    bool written = false;
    unsigned long long frames = 0;
    long long firstNs = -1;
    long long lastNs = -1;
};

SwapCount ReadSwapCount(const std::string& path) {
    SwapCount count;
    std::ifstream in(path);
    count.written = static_cast<bool>(in >> count.frames >> count.firstNs >> count.lastNs);
    return count;
}

std::string DescribeStatus(int status) {
    if (WIFEXITED(status)) return "exit status " + std::to_string(WEXITSTATUS(status));
    if (WIFSIGNALED(status)) return std::string("killed by ") + strsignal(WTERMSIG(status));
    return "status " + std::to_string(status);
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

    std::string countFile = (fs::temp_directory_path() / "korvessa_swaps_XXXXXX").string();
    const int fd = mkstemp(countFile.data());
    if (fd < 0) return Fail("cannot create a temporary file: " + std::string(strerror(errno)));
    close(fd);
    struct RemoveAtEnd {
        std::string path;
        ~RemoveAtEnd() { std::remove(path.c_str()); }
    } removeCountFile{countFile};

    // Settings seen before, so the game plays rather than opening on its
    // first start's screen of the keys.
    std::string config = (fs::temp_directory_path() / "korvessa_config_XXXXXX").string();
    if (mkdtemp(config.data()) == nullptr) {
        return Fail("cannot create a temporary folder: " + std::string(strerror(errno)));
    }
    struct RemoveFolderAtEnd {
        std::string path;
        ~RemoveFolderAtEnd() {
            std::error_code ignored;
            fs::remove_all(path, ignored);
        }
    } removeConfig{config};
    fs::create_directories(config + "/korvessa", error);
    std::ofstream(config + "/korvessa/settings.ini") << "korvessa settings 1\n";

    std::vector<std::string> env = GameEnvironment(options, preload, countFile);
    env.push_back("XDG_CONFIG_HOME=" + config);
    std::vector<char*> envp;
    for (std::string& variable : env) envp.push_back(variable.data());
    envp.push_back(nullptr);
    std::string program = game;
    char* childArgv[] = {program.data(), nullptr};

    const double started = MonotonicSeconds();
    pid_t pid = 0;
    const int spawned = posix_spawn(&pid, game.c_str(), nullptr, nullptr, childArgv, envp.data());
    if (spawned != 0) return Fail("cannot start " + game + ": " + strerror(spawned));

    // Let it run, but notice at once if it ends on its own.
    int status = 0;
    rusage usage{};
    while (MonotonicSeconds() - started < options.seconds) {
        if (wait4(pid, &status, WNOHANG, &usage) == pid) {
            return Fail("the game ended by itself after " +
                        std::to_string(MonotonicSeconds() - started) + " s (" +
                        DescribeStatus(status) + ")");
        }
        Sleep(0.02);
    }
    const double terminated = MonotonicSeconds();
    kill(pid, SIGTERM);
    bool reaped = false;
    while (!reaped && MonotonicSeconds() - terminated < kQuitGraceSeconds) {
        reaped = wait4(pid, &status, WNOHANG, &usage) == pid;
        if (!reaped) Sleep(0.01);
    }
    if (!reaped) {
        kill(pid, SIGKILL);
        wait4(pid, &status, 0, &usage);
        return Fail("the game did not quit within " + std::to_string(kQuitGraceSeconds) +
                    " s of SIGTERM");
    }
    const double ended = MonotonicSeconds();

    const double lifetime = ended - started;
    const double user = Seconds(usage.ru_utime);
    const double system = Seconds(usage.ru_stime);
    const double share = (user + system) / lifetime;
    const SwapCount swaps = ReadSwapCount(countFile);
    std::printf("idle probe: %s (video driver %s) ran %.2f s (SIGTERM after %.2f s), %s\n",
                game.c_str(), options.videoDriver.c_str(), lifetime, terminated - started,
                DescribeStatus(status).c_str());
    std::printf("  cpu: %.3f s (user %.3f s, system %.3f s) = %.1f %% of one core\n", user + system,
                user, system, 100.0 * share);
    if (swaps.written && swaps.frames > 0) {
        const double firstAfter = static_cast<double>(swaps.firstNs) / 1e9 - started;
        const double span = static_cast<double>(swaps.lastNs - swaps.firstNs) / 1e9;
        const double steady = swaps.frames > 1 ? static_cast<double>(swaps.frames - 1) / span : 0;
        std::printf(
            "  frames presented: %llu = %.1f per second of its life; %.1f per second from the "
            "first (after %.2f s) to the last\n",
            swaps.frames, static_cast<double>(swaps.frames) / lifetime, steady, firstAfter);
    }
    std::fflush(stdout);

    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
        return Fail("the game did not exit cleanly after SIGTERM (" + DescribeStatus(status) + ")");
    }
    if (!swaps.written) return Fail("the frame counter wrote no count; was it preloaded?");
    if (swaps.frames == 0) return Fail("the game presented no frames");
    if (options.maxCoreShare > 0 && share > options.maxCoreShare) {
        char why[160];
        std::snprintf(why, sizeof why,
                      "the game used %.1f %% of one core, more than the allowed %.1f %%; is it "
                      "polling instead of waiting for events?",
                      100.0 * share, 100.0 * options.maxCoreShare);
        return Fail(why);
    }
    return 0;
}
