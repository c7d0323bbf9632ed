#include "shell/loop/InputEvents.h"

#include "game/GameApp.h"
#include "input/Gamepads.h"
#include "shell/screens/Screen.h"
#include "shell/screens/ScreenHost.h"
#include "shell/session/PlayerSession.h"
#include "shell/session/ShellParts.h"

InputEvents::InputEvents(ScreenHost& screenHost, GameWindow* gameWindow,
                         PlayerSession& playerSession)
    : host(screenHost),
      session(playerSession),
      pads(screenHost),
      mouse(screenHost, gameWindow),
      globalKeys(screenHost, gameWindow),
      windowEvents(screenHost, gameWindow) {}

bool InputEvents::Take(const SDL_Event& event) {
    Gamepads* plugged = host.Parts().pads;
    if (plugged != nullptr && plugged->HandleEvent(event)) {
        const bool pressed = pads.Take(*plugged);
        session.CombineInput();
        if (pressed) Pressed(true);
        return true;
    }
    switch (event.type) {
        case SDL_KEYDOWN:
            if (host.Top().TakesEveryKey() || !globalKeys.Take(event.key)) {
                host.Top().KeyDown(event.key);
            }
            Pressed(false);
            return true;
        case SDL_KEYUP:
            host.Top().KeyUp(event.key);
            return true;
        case SDL_TEXTINPUT:
            host.Top().TextInput(event.text.text);
            return true;
        case SDL_MOUSEMOTION:
        case SDL_MOUSEBUTTONDOWN:
        case SDL_MOUSEWHEEL:
            mouse.Take(event);
            return true;
        case SDL_WINDOWEVENT:
            windowEvents.Take(event.window);
            return true;
        case SDL_USEREVENT:
            if (event.user.code != PadRepeat::kEventCode) return false;
            pads.Repeat(plugged, event.user);
            return true;
        default:
            return false;
    }
}

void InputEvents::Pressed(bool onPad) {
    if (onPad == padLastUsed) return;
    padLastUsed = onPad;
    // A tick draws a moving frame's hints soon enough.
    if (!host.App().quit && host.Top().FrameIsStill()) host.Redraw();
}
