// How fast the score server verifies: the committed replay checked again and
// again by the server's verifier (a fresh GameApp, every frame drawn into the
// GL that draws nothing), on one thread or on several side by side, as the
// server's workers run. Prints the ticks per second of each thread and of
// all together, by the clock and by the thread's own CPU time (what one
// core gives, whatever else the machine runs), and fails when a thread
// reaches another score.
//
//   korvessa_board_verify_speed [--threads N] [--repetitions N] [REPLAY]

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <string>
#include <thread>
#include <vector>

#include "save/ReplayFile.h"
#include "save/ReplayVerifier.h"

namespace {

constexpr double kTargetTicksPerSecond = 100000.0;

struct ThreadResult {
    double ticksPerSecond = 0;
    double ticksPerCpuSecond = 0;
    bool scoresHeld = true;
};

double ThreadCpuSeconds() {
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) / 1e9;
}

ThreadResult Run(const Replay& replay, int repetitions) {
    ThreadResult result;
    std::uint64_t ticks = 0;
    const auto start = std::chrono::steady_clock::now();
    const double cpuStart = ThreadCpuSeconds();
    for (int r = 0; r < repetitions; ++r) {
        const replay_verifier::Outcome outcome = replay_verifier::Check(replay);
        result.scoresHeld = result.scoresHeld && outcome.Holds();
        ticks += outcome.ticks;
    }
    const std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
    result.ticksPerSecond = static_cast<double>(ticks) / took.count();
    result.ticksPerCpuSecond = static_cast<double>(ticks) / (ThreadCpuSeconds() - cpuStart);
    return result;
}

}  // namespace

int main(int argc, char* argv[]) {
    int threads = 1;
    int repetitions = 20;
    std::string path = KORVESSA_COMMITTED_REPLAY;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--threads") == 0 && i + 1 < argc) {
            threads = std::max(1, std::atoi(argv[++i]));
        } else if (std::strcmp(argv[i], "--repetitions") == 0 && i + 1 < argc) {
            repetitions = std::max(1, std::atoi(argv[++i]));
        } else {
            path = argv[i];
        }
    }
    Replay replay;
    std::string error;
    if (!replay_file::Read(path, replay, error)) {
        std::fprintf(stderr, "korvessa_board_verify_speed: %s\n", error.c_str());
        return 2;
    }
    std::vector<ThreadResult> results(threads);
    std::vector<std::thread> running;
    for (int t = 0; t < threads; ++t) {
        running.emplace_back([&, t] { results[t] = Run(replay, repetitions); });
    }
    double total = 0;
    double perCpuSecond = 0;
    bool held = true;
    for (int t = 0; t < threads; ++t) {
        running[t].join();
        total += results[t].ticksPerSecond;
        perCpuSecond += results[t].ticksPerCpuSecond / threads;
        held = held && results[t].scoresHeld;
        std::printf("  thread %d: %.0f ticks per second, %.0f per CPU second\n", t,
                    results[t].ticksPerSecond, results[t].ticksPerCpuSecond);
    }
    std::printf(
        "board verify %s: %u ticks x %d, %d thread(s): %.0f ticks per second in all;"
        " per core %.0f (target >= %.0f)\n",
        path.c_str(), replay.tickCount, repetitions, threads, total, perCpuSecond,
        kTargetTicksPerSecond);
    if (!held) {
        std::fprintf(stderr, "korvessa_board_verify_speed: %s did not verify\n", path.c_str());
        return 1;
    }
    return 0;
}
