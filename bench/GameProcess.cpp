#include "bench/GameProcess.h"

#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <filesystem>
#include <fstream>

extern char** environ;

namespace bench {

namespace {

constexpr const char* kCountVariable = "KORVESSA_SWAP_COUNT_FILE";
// A settings file with nothing in it but its first line: seen before.
constexpr const char* kSettingsSeen = "korvessa settings 1\n";

bool IsReplaced(const std::string& name, const std::vector<std::string>& extra) {
    if (name == "SDL_VIDEODRIVER" || name == kCountVariable) return true;
    for (const std::string& variable : extra) {
        if (variable.compare(0, name.size() + 1, name + "=") == 0) return true;
    }
    return false;
}

// This process's environment with the chosen video driver, the frame
// counter preloaded, the file it writes its count to, and `extra`.
std::vector<std::string> GameEnvironment(const std::string& preload, const std::string& videoDriver,
                                         const std::string& countFile,
                                         const std::vector<std::string>& extra) {
    std::string preloads = preload;
    std::vector<std::string> env;
    for (char** entry = environ; *entry != nullptr; ++entry) {
        const std::string variable = *entry;
        const std::string name = variable.substr(0, variable.find('='));
        if (name == "LD_PRELOAD") {
            preloads += ":" + variable.substr(name.size() + 1);
        } else if (!IsReplaced(name, extra)) {
            env.push_back(variable);
        }
    }
    env.push_back("SDL_VIDEODRIVER=" + videoDriver);
    env.push_back("LD_PRELOAD=" + preloads);
    env.push_back(std::string(kCountVariable) + "=" + countFile);
    env.insert(env.end(), extra.begin(), extra.end());
    return env;
}

}  // namespace

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

std::string DescribeStatus(int status) {
    if (WIFEXITED(status)) return "exit status " + std::to_string(WEXITSTATUS(status));
    if (WIFSIGNALED(status)) return std::string("killed by ") + strsignal(WTERMSIG(status));
    return "status " + std::to_string(status);
}

GameOptions::GameOptions() {
    const std::filesystem::path here =
        std::filesystem::read_symlink("/proc/self/exe").parent_path();
    game = (here / "korvessa").string();
    preload = (here / "libkorvessa_swap_counter.so").string();
}

bool GameOptions::Take(const std::string& flag, const char* value) {
    if (flag == "--game") {
        game = value;
    } else if (flag == "--preload") {
        preload = value;
    } else if (flag == "--video-driver") {
        videoDriver = value;
    } else {
        return false;
    }
    return true;
}

GameProcess::~GameProcess() {
    if (pid > 0) {
        kill(pid, SIGKILL);
        waitpid(pid, nullptr, 0);
    }
    if (!countFile.empty()) std::remove(countFile.c_str());
    std::error_code ignored;
    if (!configFolder.empty()) std::filesystem::remove_all(configFolder, ignored);
}

bool GameProcess::Start(const std::string& game, const std::string& preload,
                        const std::string& videoDriver, const std::vector<std::string>& extra,
                        std::string& error) {
    countFile = (std::filesystem::temp_directory_path() / "korvessa_swaps_XXXXXX").string();
    const int fd = mkstemp(countFile.data());
    if (fd < 0) {
        error = std::string("cannot create a temporary file: ") + strerror(errno);
        countFile.clear();
        return false;
    }
    close(fd);
    configFolder = (std::filesystem::temp_directory_path() / "korvessa_config_XXXXXX").string();
    if (mkdtemp(configFolder.data()) == nullptr) {
        error = std::string("cannot create a temporary folder: ") + strerror(errno);
        configFolder.clear();
        return false;
    }
    std::filesystem::create_directories(configFolder + "/korvessa");
    std::ofstream(configFolder + "/korvessa/settings.ini") << kSettingsSeen;
    std::vector<std::string> settings = extra;
    settings.push_back("XDG_CONFIG_HOME=" + configFolder);
    std::vector<std::string> env = GameEnvironment(preload, videoDriver, countFile, settings);
    std::vector<char*> envp;
    for (std::string& variable : env) envp.push_back(variable.data());
    envp.push_back(nullptr);
    std::string program = game;
    char* argv[] = {program.data(), nullptr};
    started = MonotonicSeconds();
    const int spawned = posix_spawn(&pid, game.c_str(), nullptr, nullptr, argv, envp.data());
    if (spawned != 0) {
        pid = 0;
        error = "cannot start " + game + ": " + strerror(spawned);
        return false;
    }
    return true;
}

bool GameProcess::Ended(int& status) {
    if (pid <= 0 || wait4(pid, &status, WNOHANG, &usage) != pid) return false;
    pid = 0;
    ended = MonotonicSeconds();
    return true;
}

bool GameProcess::Terminate(int& status) {
    const double asked = MonotonicSeconds();
    kill(pid, SIGTERM);
    while (MonotonicSeconds() - asked < kQuitGraceSeconds) {
        if (Ended(status)) return true;
        Sleep(0.01);
    }
    kill(pid, SIGKILL);
    wait4(pid, &status, 0, &usage);
    pid = 0;
    ended = MonotonicSeconds();
    return false;
}

SwapCount GameProcess::Swaps() const {
    SwapCount count;
    std::ifstream in(countFile);
    long long firstNs = -1;
    long long lastNs = -1;
    count.written = static_cast<bool>(in >> count.frames >> firstNs >> lastNs);
    count.firstSeconds = static_cast<double>(firstNs) / 1e9;
    count.lastSeconds = static_cast<double>(lastNs) / 1e9;
    return count;
}

}  // namespace bench
