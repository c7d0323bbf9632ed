#include "shell/loop/MouseEvents.h"

#include "game/GameApp.h"
#include "shell/screens/MenuEvent.h"
#include "shell/screens/Screen.h"
#include "shell/screens/ScreenHost.h"
#include "shell/ui/GameWindow.h"

void MouseEvents::Take(const SDL_Event& event) {
    if (!host.IsPaused()) return;
    int x = event.type == SDL_MOUSEMOTION ? event.motion.x : event.button.x;
    int y = event.type == SDL_MOUSEMOTION ? event.motion.y : event.button.y;
    if (event.type == SDL_MOUSEWHEEL) SDL_GetMouseState(&x, &y);
    if (window != nullptr) {
        window->ToPlayfield(x, y);
    } else {
        y = GameApp::kWindowHeight - y;
    }
    if (const auto menu = MenuEvent::FromMouse(event, x, y)) host.Top().Pointer(*menu);
}
