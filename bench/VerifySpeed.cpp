// How fast korvessa --verify replays: the committed replay played again and
// again the way the verifier plays it (a fresh GameApp over a tiny offscreen
// GL surface, every frame drawn, none presented), timed from InitGame to the
// last tick. Prints each repetition's ticks per second, their median, and
// the resident memory at the end (a GL queue growing without bound would
// show there).
//
//   korvessa_verify_speed [--repetitions N] [REPLAY]

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "game/GameApp.h"
#include "save/HeadlessGL.h"
#include "save/ReplayFile.h"
#include "save/ReplayPlayer.h"

namespace {

constexpr double kTargetTicksPerSecond = 10000.0;

long ResidentKilobytes() {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind("VmRSS:", 0) == 0) return std::strtol(line.c_str() + 6, nullptr, 10);
    }
    return -1;
}

}  // namespace

int main(int argc, char* argv[]) {
    int repetitions = 20;
    std::string path = KORVESSA_COMMITTED_REPLAY;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--repetitions") == 0 && i + 1 < argc) {
            repetitions = std::max(1, std::atoi(argv[++i]));
        } else {
            path = argv[i];
        }
    }
    Replay replay;
    std::string error;
    if (!replay_file::Read(path, replay, error)) {
        std::fprintf(stderr, "korvessa_verify_speed: %s\n", error.c_str());
        return 2;
    }
    HeadlessGL gl;
    if (!gl.Open(error)) {
        std::fprintf(stderr, "korvessa_verify_speed: %s\n", error.c_str());
        return 1;
    }
    std::vector<double> rates;
    for (int r = 0; r < repetitions; ++r) {
        auto app = std::make_unique<GameApp>();
        const auto start = std::chrono::steady_clock::now();
        const std::uint32_t ticks = ReplayPlayer::PlayAll(*app, replay);
        const std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
        if (app->score != replay.score) {
            std::fprintf(stderr, "korvessa_verify_speed: %s scored %d, not %d\n", path.c_str(),
                         app->score, replay.score);
            return 1;
        }
        rates.push_back(ticks / took.count());
    }
    std::vector<double> sorted = rates;
    std::sort(sorted.begin(), sorted.end());
    std::printf("verify %s: %u ticks, %d repetitions\n", path.c_str(), replay.tickCount,
                repetitions);
    std::printf("  ticks per second: median %.0f, slowest %.0f, fastest %.0f (target >= %.0f)\n",
                sorted[sorted.size() / 2], sorted.front(), sorted.back(), kTargetTicksPerSecond);
    std::printf("  resident memory after %lld ticks: %ld kB\n",
                static_cast<long long>(replay.tickCount) * repetitions, ResidentKilobytes());
    return 0;
}
