#include "save/HeadlessGL.h"

#include <GL/gl.h>

#include "game/GameApp.h"

HeadlessGL::~HeadlessGL() {
    if (context != nullptr) SDL_GL_DeleteContext(context);
    if (window != nullptr) SDL_DestroyWindow(window);
    if (sdlOwned) {
        SDL_Quit();
    } else if (videoStarted) {
        SDL_QuitSubSystem(SDL_INIT_VIDEO);
    }
}

bool HeadlessGL::Open(std::string& error) {
    SDL_SetHintWithPriority(SDL_HINT_VIDEODRIVER, "offscreen", SDL_HINT_OVERRIDE);
    // Started here, so shut down here too; otherwise only the video is ours.
    sdlOwned = SDL_WasInit(0) == 0;
    if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) {
        error = std::string("cannot start SDL's offscreen video: ") + SDL_GetError();
        return false;
    }
    videoStarted = true;
    window = SDL_CreateWindow("korvessa", SDL_WINDOWPOS_UNDEFINED, SDL_WINDOWPOS_UNDEFINED,
                              kSurfaceSize, kSurfaceSize, SDL_WINDOW_OPENGL | SDL_WINDOW_HIDDEN);
    if (window == nullptr) {
        error = std::string("cannot open an offscreen window: ") + SDL_GetError();
        return false;
    }
    context = SDL_GL_CreateContext(window);
    if (context == nullptr) {
        error = std::string("cannot create an OpenGL context: ") + SDL_GetError();
        return false;
    }
    glOrtho(0, GameApp::kWindowWidth, 0, GameApp::kWindowHeight, -1, 1);
    return true;
}
