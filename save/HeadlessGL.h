// A GL context with nothing to show: for verifying replays and for tools.
#pragma once

#include <SDL.h>

#include <string>

// Starts SDL's video on the offscreen driver, whatever SDL_VIDEODRIVER says,
// and makes a GL context current on a tiny hidden window. Its projection is
// the game's (one unit a pixel of the 1024 x 768 playfield), so the game
// draws as usual and almost every pixel falls outside the surface, which
// makes drawing nearly free. Released on destruction; a GameApp using it must
// be destroyed first.
class HeadlessGL {
public:
    static constexpr int kSurfaceSize = 8;

    HeadlessGL() = default;
    ~HeadlessGL();

    HeadlessGL(const HeadlessGL&) = delete;
    HeadlessGL& operator=(const HeadlessGL&) = delete;

    // False, with a one-line reason in `error`, when SDL, the window or the
    // context cannot be had.
    bool Open(std::string& error);

private:
    bool sdlOwned = false;
    bool videoStarted = false;
    SDL_Window* window = nullptr;
    SDL_GLContext context = nullptr;
};
