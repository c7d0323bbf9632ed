#include "shell/loop/PadEvents.h"

#include "game/GameApp.h"
#include "input/Gamepads.h"
#include "shell/screens/Screen.h"
#include "shell/screens/ScreenHost.h"

bool PadEvents::Take(Gamepads& pads) {
    bool pressed = false;
    // Presses first: the game-over screen must see a photon button go down
    // before the photon it fires (at once, when firing on press).
    while (const auto button = pads.NextPress()) {
        pressed = true;
        host.Top().PadPress(*button);
        if (host.IsPaused() && PadRepeat::IsDirection(*button)) repeat.Start(*button);
    }
    // Let go: no repeat, not even one already on its way.
    if (!repeat.StillHeld(pads.HeldBits())) repeat.Stop();
    while (const auto action = pads.NextAction()) {
        switch (*action) {
            case Gamepads::Action::kPause:
                host.IsPaused() ? host.Top().PadAction(*action) : host.Pause();
                break;
            case Gamepads::Action::kPadRemoved:
                if (host.App().running) host.Pause();
                break;
            default:
                host.Top().PadAction(*action);
                break;
        }
    }
    return pressed;
}

void PadEvents::Repeat(Gamepads* pads, const SDL_UserEvent& event) {
    if (!repeat.IsCurrent(event)) return;  // from a timer already stopped
    if (!host.IsPaused() || pads == nullptr || !repeat.StillHeld(pads->HeldBits())) {
        repeat.Stop();
        return;
    }
    host.Top().PadPress(repeat.Direction());
}
