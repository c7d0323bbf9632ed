#include "shell/PadEvents.h"

#include "game/GameApp.h"
#include "input/Gamepads.h"
#include "shell/EventLoop.h"

void PadEvents::Take(Gamepads& pads) {
    // Presses first: the game-over screen must see a photon button go down
    // before the photon it fires (at once, when firing on press).
    while (const auto button = pads.NextPress()) {
        loop.Top().PadPress(*button);
        if (loop.IsPaused() && PadRepeat::IsDirection(*button)) repeat.Start(*button);
    }
    // Let go: no repeat, not even one already on its way.
    if (!repeat.StillHeld(pads.HeldBits())) repeat.Stop();
    while (const auto action = pads.NextAction()) {
        switch (*action) {
            case Gamepads::Action::kPause:
                loop.IsPaused() ? loop.Top().PadAction(*action) : loop.Pause();
                break;
            case Gamepads::Action::kPadRemoved:
                if (loop.App().running) loop.Pause();
                break;
            default:
                loop.Top().PadAction(*action);
                break;
        }
    }
}

void PadEvents::Repeat(Gamepads* pads, const SDL_UserEvent& event) {
    if (!repeat.IsCurrent(event)) return;  // from a timer already stopped
    if (!loop.IsPaused() || pads == nullptr || !repeat.StillHeld(pads->HeldBits())) {
        repeat.Stop();
        return;
    }
    loop.Top().PadPress(repeat.Direction());
}
