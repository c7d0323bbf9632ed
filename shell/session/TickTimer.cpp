#include "shell/session/TickTimer.h"

#include <stdexcept>
#include <string>

#include "game/GameApp.h"
#include "save/GameSpeed.h"

TickTimer::~TickTimer() { Remove(); }

bool TickTimer::Add(int percent) {
    // The game's callback reads nothing of its parameter.
    id = SDL_AddTimer(game_speed::TickInterval(percent), TimerCallback, nullptr);
    return id != 0;
}

void TickTimer::Remove() {
    if (id == 0) return;
    SDL_RemoveTimer(id);
    id = 0;
}

void TickTimer::Start(int percent) {
    speed = percent;
    if (!Add(percent)) {
        throw std::runtime_error(std::string("cannot start the game timer: ") + SDL_GetError());
    }
}

void TickTimer::Change(int before, int after) {
    speed = after;
    if (id == 0 || game_speed::TickInterval(before) == game_speed::TickInterval(after)) return;
    Remove();
    Start(after);
}

void TickTimer::Hold() {
    if (id == 0) return;
    Remove();
    held = true;
}

void TickTimer::Release() {
    if (!held) return;
    held = false;
    Start(speed);
}

void TickTimer::Lend(int percent) {
    if (held && id == 0) Add(percent);  // no ticks of its own is no worse than a still frame
}

void TickTimer::TakeBack() {
    if (held) Remove();
}
