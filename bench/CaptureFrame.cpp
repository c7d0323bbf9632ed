// Records the GL calls of one frame of the busy benchmark state, through the
// recording stand-in, for the benchmark to replay on real GL.
//
//   korvessa_capture_frame FILE           writes the frame to FILE
//   korvessa_capture_frame --check TICKS  runs that many whole ticks and
//                                          fails unless the state stayed busy

#include <cstdio>
#include <cstdlib>
#include <exception>
#include <fstream>
#include <string>

#include "bench/BusyState.h"
#include "game/GameApp.h"
#include "gfx/BitmapFont.h"
#include "tests/gl/RecordingGL.h"

namespace {

int Usage() {
    std::fprintf(stderr, "usage: korvessa_capture_frame FILE | --check TICKS\n");
    return 2;
}

int Capture(const std::string& path) {
    GameApp app;
    busy::Build(app);
    recgl::Reset();
    app.Render();

    std::ofstream out(path);
    out << "# korvessa frame\n"
        << "# state " << busy::Fingerprint(app) << '\n'
        << "# font-texture " << app.font->texture << '\n'
        << recgl::Dump();
    out.close();
    if (!out) {
        std::fprintf(stderr, "korvessa_capture_frame: cannot write %s\n", path.c_str());
        return 1;
    }
    std::printf("captured %zu GL calls of the busy state %s into %s\n", recgl::Calls().size(),
                busy::Fingerprint(app).c_str(), path.c_str());
    return 0;
}

// The benchmark runs far more ticks than this, but nothing in the busy state
// moves and every lifetime the game knows is far shorter than a few thousand
// ticks, so that many show whether anything would ever end.
int Check(long ticks) {
    GameApp app;
    busy::Build(app);
    recgl::SetRecording(false);
    for (long t = 0; t < ticks; ++t) {
        app.Tick();
        const std::string problem = busy::Problem(app);
        if (!problem.empty()) {
            std::fprintf(stderr, "busy state decayed after %ld ticks: %s\n", t + 1,
                         problem.c_str());
            return 1;
        }
    }
    std::printf("busy state stayed busy for %ld ticks\n", ticks);
    return 0;
}

}  // namespace

int main(int argc, char* argv[]) {
    try {
        if (argc == 2 && argv[1][0] != '-') return Capture(argv[1]);
        if (argc == 3 && std::string(argv[1]) == "--check") {
            char* end = nullptr;
            const long ticks = std::strtol(argv[2], &end, 10);
            if (*end != '\0' || ticks <= 0) return Usage();
            return Check(ticks);
        }
        return Usage();
    } catch (const std::exception& error) {
        std::fprintf(stderr, "korvessa_capture_frame: %s\n", error.what());
        return 1;
    }
}
