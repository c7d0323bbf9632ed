// The player's window around the game: any size, high-DPI, fullscreen.
#pragma once

#include "shell/Viewport.h"

class GameApp;

// Opens the game's window for a player and keeps the 1024 × 768 playfield
// fitted into it. A window of the default size gets exactly the GL calls of
// a bare GameApp: the letterbox is applied only when it differs from that.
class GameWindow {
public:
    explicit GameWindow(GameApp& app);

    // SDL's video, the resizable high-DPI window (1024 × 768, or the largest
    // size that fits a smaller usable display area), its GL context and the
    // projection. Refuses a headless video driver that nobody asked for, so
    // the game never runs unseen. Throws std::runtime_error with one line;
    // GameApp::Shutdown releases what was acquired.
    void Open(bool fullscreen);

    // Fits the playfield to the drawable's current size: viewport, line
    // width and point size. Cheap to call after any window event.
    void FitViewport();
    // Lines `factor` times as wide as the window's scale makes them (1 by
    // default); the stars keep their size. Takes effect at once.
    void SetLineWidth(float factor);

    void ToggleFullscreen();
    bool IsFullscreen() const;

private:
    void ShowCursorFor(bool fullscreen);
    void ApplyWidths();

    GameApp& app;
    Viewport current;  // what GL was last given
    float lineFactor = 1.0f;
};
