#include "shell/WindowEvents.h"

#include "shell/EventLoop.h"
#include "shell/GameWindow.h"
#include "shell/PlayerSettings.h"

void WindowEvents::Take(const SDL_WindowEvent& event) {
    switch (event.event) {
        case SDL_WINDOWEVENT_FOCUS_LOST:
        case SDL_WINDOWEVENT_MINIMIZED:
        case SDL_WINDOWEVENT_HIDDEN:
            loop.Pause();
            break;
        case SDL_WINDOWEVENT_RESIZED:
            if (loop.settings != nullptr && window != nullptr && !window->IsFullscreen()) {
                loop.settings->WindowResized(event.data1, event.data2);
            }
            break;
        case SDL_WINDOWEVENT_SIZE_CHANGED:
            if (window != nullptr) window->FitViewport();
            if (loop.Top().FrameIsStill()) loop.Redraw();
            break;
        case SDL_WINDOWEVENT_EXPOSED:
            // While playing, the next tick redraws within 30 ms anyway.
            if (loop.Top().FrameIsStill()) loop.Redraw();
            break;
        default:
            break;
    }
}
