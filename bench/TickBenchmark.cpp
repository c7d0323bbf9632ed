// One tick of a busy mid-game state, timed three ways side by side:
//   BM_TickLogic       the rules alone (UpdateGame), no drawing
//   BM_TickWithRender  the whole tick on real GL, presented and finished
//   BM_ReplayFloor     the same frame's GL calls replayed with no game code,
//                      then presented like the game's
// then a summary of how far the whole tick lies above that floor.
//
// Runs headless on SDL's offscreen driver (Mesa, 1024 x 768). Besides Google
// Benchmark's own flags: --frame=FILE, the captured frame to replay (by
// default korvessa_frame.txt next to this program; the build writes it).

#include <GL/gl.h>
#include <SDL.h>
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "bench/BusyState.h"
#include "bench/FrameReplay.h"
#include "game/GameApp.h"
#include "gfx/BitmapFont.h"

namespace {

constexpr double kLogicTargetMicros = 20.0;
constexpr double kFloorRatioTarget = 1.10;

SDL_Window* gWindow = nullptr;  // owned by main's GameApp, with the context
std::optional<RecordedFrame> gFrame;
std::string gFrameError;
bool gSkipped = false;

// The busy state on its own GameApp, presenting into main's window. A fresh
// one per benchmark run, so every run starts from the very same state.
class BusyGame {
public:
    BusyGame() {
        busy::Build(app);
        app.window = gWindow;
    }
    ~BusyGame() {
        app.window = nullptr;  // not this app's to destroy
        // GameApp leaves GL objects to the context, which outlives this run.
        glDeleteTextures(1, &app.font->texture);
    }
    BusyGame(const BusyGame&) = delete;
    BusyGame& operator=(const BusyGame&) = delete;

    GameApp app;
};

void Skip(benchmark::State& state, const std::string& why) {
    gSkipped = true;
    state.SkipWithError(why.c_str());
}

// A run whose state decayed timed less work than it claims; it must not
// pass for a measurement.
void RequireStillBusy(benchmark::State& state, const GameApp& app) {
    const std::string problem = busy::Problem(app);
    if (!problem.empty()) Skip(state, "the state did not stay busy: " + problem);
}

void BM_TickLogic(benchmark::State& state) {
    BusyGame game;
    for (auto _ : state) game.app.UpdateGame();
    RequireStillBusy(state, game.app);
}
BENCHMARK(BM_TickLogic)->Unit(benchmark::kMicrosecond)->UseRealTime();

void BM_TickWithRender(benchmark::State& state) {
    BusyGame game;
    for (auto _ : state) {
        game.app.Tick();
        glFinish();
    }
    RequireStillBusy(state, game.app);
}
BENCHMARK(BM_TickWithRender)->Unit(benchmark::kMicrosecond)->UseRealTime();

// The finished frame, read back before any swap.
std::vector<unsigned char> ReadFrame() {
    glFinish();
    std::vector<unsigned char> pixels(std::size_t{GameApp::kWindowWidth} * GameApp::kWindowHeight *
                                      4);
    glReadPixels(0, 0, GameApp::kWindowWidth, GameApp::kWindowHeight, GL_RGBA, GL_UNSIGNED_BYTE,
                 pixels.data());
    return pixels;
}

void BM_ReplayFloor(benchmark::State& state) {
    if (!gFrame) return Skip(state, gFrameError);
    BusyGame game;
    if (gFrame->StateFingerprint() != busy::Fingerprint(game.app)) {
        return Skip(state, "the captured frame is of another state; run korvessa_capture_frame");
    }
    RecordedFrame frame = *gFrame;
    frame.BindFontTexture(game.app.font->texture);

    // A floor is only a floor if it draws exactly what the game draws.
    game.app.window = nullptr;
    game.app.Render();
    game.app.window = gWindow;
    const std::vector<unsigned char> drawn = ReadFrame();
    frame.Replay();
    if (ReadFrame() != drawn) {
        return Skip(state, "the replayed frame differs from the one the game draws");
    }
    // Presented as the game presents each frame (a flush, then the swap),
    // which is driver work, not game code.
    for (auto _ : state) {
        frame.Replay();
        glFlush();
        SDL_GL_SwapWindow(gWindow);
        glFinish();
    }
}
BENCHMARK(BM_ReplayFloor)->Unit(benchmark::kMicrosecond)->UseRealTime();

// The console table, then the three medians next to each other and their
// targets.
class SummaryReporter : public benchmark::ConsoleReporter {
public:
    // Colour only on a terminal, so that a saved log stays plain text.
    SummaryReporter() : ConsoleReporter(isatty(STDOUT_FILENO) ? OO_Defaults : OO_Tabular) {}

    void ReportRuns(const std::vector<Run>& runs) override {
        for (const Run& run : runs) {
            if (run.error_occurred) continue;
            const double micros =
                run.GetAdjustedRealTime() / benchmark::GetTimeUnitMultiplier(run.time_unit) * 1e6;
            const std::string& name = run.run_name.function_name;
            if (run.run_type == Run::RT_Iteration) {
                single_[name].push_back(micros);
            } else if (run.aggregate_name == "median") {
                median_[name] = micros;
            }
        }
        ConsoleReporter::ReportRuns(runs);
    }

    void Finalize() override {
        ConsoleReporter::Finalize();
        std::FILE* out = stdout;
        std::fflush(out);
        const std::optional<double> logic = Median("BM_TickLogic");
        const std::optional<double> tick = Median("BM_TickWithRender");
        const std::optional<double> floor = Median("BM_ReplayFloor");
        std::fprintf(out, "\nmedian real time per tick:\n");
        if (logic) {
            std::fprintf(out, "  rules alone        %10.3f us  (target under %.0f us: %s)\n",
                         *logic, kLogicTargetMicros,
                         *logic < kLogicTargetMicros ? "met" : "MISSED");
        }
        if (tick) std::fprintf(out, "  whole tick         %10.3f us\n", *tick);
        if (floor) std::fprintf(out, "  replay floor       %10.3f us\n", *floor);
        if (tick && floor) {
            const double ratio = *tick / *floor;
            std::fprintf(out, "  whole tick / floor %10.3f     (target at most %.2f: %s)\n", ratio,
                         kFloorRatioTarget, ratio <= kFloorRatioTarget ? "met" : "MISSED");
        }
        std::fflush(out);
    }

private:
    // The median of repetitions when there were some, else of single runs.
    std::optional<double> Median(const std::string& name) const {
        if (auto found = median_.find(name); found != median_.end()) return found->second;
        auto found = single_.find(name);
        if (found == single_.end() || found->second.empty()) return std::nullopt;
        std::vector<double> values = found->second;
        std::sort(values.begin(), values.end());
        const std::size_t n = values.size();
        return n % 2 == 1 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
    }

    std::map<std::string, double> median_;
    std::map<std::string, std::vector<double>> single_;
};

std::string DefaultFramePath() {
    std::string path = "korvessa_frame.txt";
    if (char* base = SDL_GetBasePath()) {
        path = base + path;
        SDL_free(base);
    }
    return path;
}

}  // namespace

int main(int argc, char* argv[]) {
    benchmark::Initialize(&argc, argv);
    std::string framePath = DefaultFramePath();
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg.rfind("--frame=", 0) == 0) {
            framePath = arg.substr(8);
        } else {
            std::fprintf(stderr, "korvessa_bench: unknown option %s\n", argv[i]);
            return 2;
        }
    }

    // Always the offscreen driver: on a desktop the swap would wait for the
    // display, and figures from different drivers do not compare.
    setenv("SDL_VIDEODRIVER", "offscreen", 1);
    GameApp host;  // holds the window and the GL context for the whole run
    try {
        host.OpenWindow(GameApp::kWindowWidth, GameApp::kWindowHeight,
                        SDL_WINDOW_OPENGL | SDL_WINDOW_SHOWN);
        host.SetProjection(GameApp::kWindowWidth, GameApp::kWindowHeight);
    } catch (const std::exception& error) {
        std::fprintf(stderr, "korvessa_bench: %s\n", error.what());
        return 1;
    }
    gWindow = host.window;
    benchmark::AddCustomContext("gl_renderer",
                                reinterpret_cast<const char*>(glGetString(GL_RENDERER)));

    try {
        gFrame = RecordedFrame::Load(framePath);
        benchmark::AddCustomContext("replayed_frame",
                                    framePath + " (" + std::to_string(gFrame->CallCount()) +
                                        " GL calls, " + std::to_string(gFrame->VertexCount()) +
                                        " vertices)");
    } catch (const std::exception& error) {
        gFrameError = error.what();
    }

    SummaryReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    return gSkipped ? 1 : 0;
}
