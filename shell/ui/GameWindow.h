// The player's window around the game: any size, high-DPI, fullscreen.
#pragma once

#include <memory>

#include "game/GameApp.h"
#include "shell/ui/CurrentGame.h"
#include "shell/ui/Viewport.h"

// Opens the game's window for a player and keeps the 1024 × 768 playfield
// fitted into it. A window of the default size gets exactly the GL calls of
// a bare GameApp: the letterbox is applied only when it differs from that.
class GameWindow {
public:
    // The window of whichever game `game` holds: one replacing another takes
    // the window over.
    explicit GameWindow(CurrentGame& game);
    // The window of `app` alone, which is never replaced.
    explicit GameWindow(GameApp& app);

    // SDL's video, the resizable high-DPI window (1024 × 768, or the largest
    // size that fits a smaller usable display area), its GL context and the
    // projection. Refuses a headless video driver that nobody asked for, so
    // the game never runs unseen. `width` × `height` is the window's size
    // when not fullscreen, made smaller if the display is. Throws
    // std::runtime_error with one line; GameApp::Shutdown releases what was
    // acquired.
    void Open(bool fullscreen, int width = GameApp::kWindowWidth,
              int height = GameApp::kWindowHeight);

    // Once the window manager has put its frame around the window (it says
    // how wide only after the window is shown): makes the window smaller,
    // and moves it, if the frame does not fit the usable display area. Not
    // in fullscreen.
    void FitFrame();

    // Fits the playfield to the drawable's current size: viewport, line
    // width and point size. Cheap to call after any window event.
    void FitViewport();
    // Lines `factor` times as wide as the window's scale makes them (1 by
    // default); the stars keep their size. Takes effect at once.
    void SetLineWidth(float factor);
    // Gives the game's star field the point size of the current fit: for a
    // star field made after the last fit.
    void SizeStars();

    void ToggleFullscreen();
    bool IsFullscreen() const;

    // The mouse pointer over the window: shown over menus, hidden in play.
    void ShowPointer(bool shown);
    // A mouse position in window points into playfield units, from the
    // playfield's lower-left corner (outside it for a point on the bars).
    void ToPlayfield(int& x, int& y) const;

private:
    void ApplyWidths();

    std::unique_ptr<CurrentGame> borrowed;  // only for a game never replaced
    CurrentGame& game;
    Viewport current;  // what GL was last given
    float lineFactor = 1.0f;
};
