#include "shell/loop/ScreenSaver.h"

#include <SDL.h>

void ScreenSaver::Allow(bool allow) {
    if (allow == allowed) return;
    allowed = allow;
    allowed ? SDL_EnableScreenSaver() : SDL_DisableScreenSaver();
}
