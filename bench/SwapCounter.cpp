// Preloaded into the game by the idle probe: counts the frames it presents,
// without any change to the game. Every SDL_GL_SwapWindow call is counted and
// passed on to SDL's own; at exit the count, with the monotonic times of the
// first and the last swap in nanoseconds, is written as one line
// "frames first_ns last_ns" to the file named by KORVESSA_SWAP_COUNT_FILE.

#include <SDL.h>
#include <dlfcn.h>

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <ctime>

namespace {

std::atomic<unsigned long long> swaps{0};
std::atomic<long long> firstSwapNs{-1};
std::atomic<long long> lastSwapNs{-1};

long long MonotonicNs() {
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<long long>(now.tv_sec) * 1000000000LL + now.tv_nsec;
}

// Writes the count when the game exits normally; a game that is killed
// leaves no file, which the probe reports as a failure.
struct WriteAtExit {
    ~WriteAtExit() {
        const char* path = std::getenv("KORVESSA_SWAP_COUNT_FILE");
        if (path == nullptr) return;
        if (std::FILE* out = std::fopen(path, "w")) {
            std::fprintf(out, "%llu %lld %lld\n", swaps.load(), firstSwapNs.load(),
                         lastSwapNs.load());
            std::fclose(out);
        }
    }
} writeAtExit;

}  // namespace

extern "C" void SDL_GL_SwapWindow(SDL_Window* window) {
    using Swap = void (*)(SDL_Window*);
    static const Swap real = reinterpret_cast<Swap>(dlsym(RTLD_NEXT, "SDL_GL_SwapWindow"));
    // Without SDL's own there is nothing presented, and nothing is counted.
    if (real == nullptr) return;
    const long long now = MonotonicNs();
    long long unset = -1;
    firstSwapNs.compare_exchange_strong(unset, now);
    lastSwapNs.store(now);
    swaps.fetch_add(1);
    real(window);
}
