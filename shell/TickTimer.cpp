#include "shell/TickTimer.h"

#include <stdexcept>
#include <string>

#include "game/GameApp.h"
#include "save/GameSpeed.h"

void TickTimer::Start(int percent) {
    const Uint32 interval = game_speed::TickInterval(percent);
    if (interval == GameApp::kTickInterval) {
        app.StartTimer();
        return;
    }
    app.timerId = SDL_AddTimer(interval, TimerCallback, &app);
    if (app.timerId == 0) {
        throw std::runtime_error(std::string("cannot start the game timer: ") + SDL_GetError());
    }
}

void TickTimer::Change(int before, int after) {
    if (app.timerId == 0 || game_speed::TickInterval(before) == game_speed::TickInterval(after)) {
        return;
    }
    SDL_RemoveTimer(app.timerId);
    app.timerId = 0;
    Start(after);
}
