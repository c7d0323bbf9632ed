#include "shell/loop/WindowEvents.h"

#include "shell/screens/Screen.h"
#include "shell/screens/ScreenHost.h"
#include "shell/session/PlayerSettings.h"
#include "shell/session/ShellParts.h"
#include "shell/ui/GameWindow.h"

void WindowEvents::Take(const SDL_WindowEvent& event) {
    switch (event.event) {
        case SDL_WINDOWEVENT_FOCUS_LOST:
        case SDL_WINDOWEVENT_MINIMIZED:
        case SDL_WINDOWEVENT_HIDDEN:
            host.Pause();
            break;
        case SDL_WINDOWEVENT_RESIZED:
            if (host.Parts().settings != nullptr && window != nullptr && !window->IsFullscreen()) {
                host.Parts().settings->WindowResized(event.data1, event.data2);
            }
            break;
        case SDL_WINDOWEVENT_SIZE_CHANGED:
            if (window != nullptr) window->FitViewport();
            if (host.Top().FrameIsStill()) host.Redraw();
            break;
        case SDL_WINDOWEVENT_EXPOSED:
            // While playing, the next tick redraws within 30 ms anyway.
            if (host.Top().FrameIsStill()) host.Redraw();
            break;
        default:
            break;
    }
}
