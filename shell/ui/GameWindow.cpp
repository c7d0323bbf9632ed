#include "shell/ui/GameWindow.h"

#include <GL/gl.h>
#include <SDL.h>

#include <algorithm>
#include <cstring>
#include <stdexcept>
#include <string>

#include "game/GameApp.h"
#include "gfx/StarField.h"

namespace {

constexpr Uint32 kWindowFlags =
    SDL_WINDOW_OPENGL | SDL_WINDOW_SHOWN | SDL_WINDOW_RESIZABLE | SDL_WINDOW_ALLOW_HIGHDPI;
// The smallest window whose menus still read: the font's 16-pixel cells are
// drawn 10 pixels high here, and smaller they lose strokes.
constexpr int kMinimumWidth = 640;
constexpr int kMinimumHeight = 480;

std::runtime_error SdlError(const char* what) {
    return std::runtime_error(std::string(what) + ": " + SDL_GetError());
}

// SDL falls back to a driver that shows nothing when there is no display;
// the tests ask for one by name, a player never does.
bool IsHeadlessDriverNobodyAskedFor() {
    const char* driver = SDL_GetCurrentVideoDriver();
    if (driver == nullptr || SDL_GetHint(SDL_HINT_VIDEODRIVER) != nullptr) return false;
    return std::strcmp(driver, "offscreen") == 0 || std::strcmp(driver, "dummy") == 0;
}

std::string NoDisplayMessage() {
    for (const char* variable : {"WAYLAND_DISPLAY", "DISPLAY"}) {
        const char* value = SDL_getenv(variable);
        if (value != nullptr && *value != '\0') {
            return std::string("cannot connect to the display (") + variable + "=" + value + ")";
        }
    }
    return "no display to show the game on (neither DISPLAY nor WAYLAND_DISPLAY is set)";
}

// The size asked for, or as much of it as the usable display area allows.
void StartingSize(int& width, int& height) {
    SDL_Rect usable;
    if (SDL_GetDisplayUsableBounds(0, &usable) != 0) return;
    width = std::max(kMinimumWidth, std::min(width, usable.w));
    height = std::max(kMinimumHeight, std::min(height, usable.h));
}

// A window whose frame does not fit the usable area is made smaller and
// moved into it.
void FitFrameToUsableArea(SDL_Window* window) {
    int top = 0;
    int left = 0;
    int bottom = 0;
    int right = 0;
    SDL_Rect usable;
    if (SDL_GetWindowBordersSize(window, &top, &left, &bottom, &right) != 0 ||
        SDL_GetDisplayUsableBounds(SDL_GetWindowDisplayIndex(window), &usable) != 0) {
        return;  // no frame, or nothing known about it
    }
    int width = 0;
    int height = 0;
    SDL_GetWindowSize(window, &width, &height);
    const int roomWidth = usable.w - left - right;
    const int roomHeight = usable.h - top - bottom;
    if (width <= roomWidth && height <= roomHeight) return;
    width = std::max(kMinimumWidth, std::min(width, roomWidth));
    height = std::max(kMinimumHeight, std::min(height, roomHeight));
    SDL_SetWindowSize(window, width, height);
    SDL_SetWindowPosition(window, usable.x + left + (roomWidth - width) / 2,
                          usable.y + top + (roomHeight - height) / 2);
}

}  // namespace

GameWindow::GameWindow(CurrentGame& shown)
    : game(shown), current(Viewport::Fit(GameApp::kWindowWidth, GameApp::kWindowHeight)) {}

GameWindow::GameWindow(GameApp& app)
    : borrowed(std::make_unique<CurrentGame>(app)),
      game(*borrowed),
      current(Viewport::Fit(GameApp::kWindowWidth, GameApp::kWindowHeight)) {}

void GameWindow::Open(bool fullscreen, int width, int height) {
    if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) throw SdlError("cannot initialise SDL");
    game->sdlStarted = true;  // Shutdown quits SDL whatever fails next
    if (IsHeadlessDriverNobodyAskedFor()) throw std::runtime_error(NoDisplayMessage());
    StartingSize(width, height);
    game->OpenWindow(width, height,
                     kWindowFlags | (fullscreen ? SDL_WINDOW_FULLSCREEN_DESKTOP : 0));
    SDL_SetWindowMinimumSize(game->window, kMinimumWidth, kMinimumHeight);
    ShowPointer(false);  // a game is about to be played
    game->SetProjection(static_cast<float>(GameApp::kWindowWidth),
                        static_cast<float>(GameApp::kWindowHeight));
}

void GameWindow::FitFrame() {
    if (!IsFullscreen()) FitFrameToUsableArea(game->window);
}

void GameWindow::FitViewport() {
    int width = 0;
    int height = 0;
    SDL_GL_GetDrawableSize(game->window, &width, &height);
    const Viewport fit = Viewport::Fit(width, height);
    if (fit.width == 0 || fit == current) return;  // minimised, or nothing changed
    current = fit;
    glViewport(fit.x, fit.y, fit.width, fit.height);
    ApplyWidths();
}

void GameWindow::SetLineWidth(float factor) {
    if (factor == lineFactor) return;
    lineFactor = factor;
    ApplyWidths();
}

void GameWindow::ApplyWidths() {
    glLineWidth(current.LineWidth(lineFactor));
    SizeStars();
}

void GameWindow::SizeStars() {
    // Stars grow with the playfield only: larger, they would pass for photons.
    if (game->starField != nullptr) game->starField->pointSize = current.LineWidth(1.0f);
}

void GameWindow::ToggleFullscreen() {
    // Leaving desktop fullscreen gives the window back its earlier size.
    SDL_SetWindowFullscreen(game->window, IsFullscreen() ? 0 : SDL_WINDOW_FULLSCREEN_DESKTOP);
}

bool GameWindow::IsFullscreen() const {
    return (SDL_GetWindowFlags(game->window) & SDL_WINDOW_FULLSCREEN_DESKTOP) ==
           SDL_WINDOW_FULLSCREEN_DESKTOP;
}

void GameWindow::ShowPointer(bool shown) { SDL_ShowCursor(shown ? SDL_ENABLE : SDL_DISABLE); }

void GameWindow::ToPlayfield(int& x, int& y) const {
    // Mouse positions are in window points, the viewport in drawable pixels
    // from the lower left; a high-DPI drawable is larger than the window.
    int windowWidth = 0;
    int windowHeight = 0;
    int drawableWidth = 0;
    int drawableHeight = 0;
    SDL_GetWindowSize(game->window, &windowWidth, &windowHeight);
    SDL_GL_GetDrawableSize(game->window, &drawableWidth, &drawableHeight);
    if (windowWidth <= 0 || windowHeight <= 0 || current.scale <= 0) return;
    const double pixelsPerPoint = static_cast<double>(drawableWidth) / windowWidth;
    const double px = x * pixelsPerPoint;
    const double py = drawableHeight - y * pixelsPerPoint;
    x = static_cast<int>((px - current.x) / current.scale);
    y = static_cast<int>((py - current.y) / current.scale);
}
