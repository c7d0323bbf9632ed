#include "shell/loop/GlobalKeys.h"

#include "audio/SoundEffects.h"
#include "shell/screens/ScreenHost.h"
#include "shell/session/PlayerSettings.h"
#include "shell/session/ShellParts.h"
#include "shell/ui/GameWindow.h"

bool GlobalKeys::Take(const SDL_KeyboardEvent& key) {
    if (key.repeat != 0) return false;
    // A key the player bound to an action is that action's: bound by its
    // place, it may make F11 or M on a layout other than the one it was
    // bound on.
    const PlayerSettings* settings = host.Parts().settings;
    if (settings != nullptr &&
        settings->Bindings().ActionOf(key.keysym.scancode) != KeyBindings::kActionCount) {
        return false;
    }
    switch (key.keysym.sym) {
        case SDLK_F11:
            ToggleFullscreen();
            break;
        case SDLK_m:
            ToggleMute();
            break;
        default:
            return false;
    }
    // A menu showing the setting shows it changed.
    if (host.IsPaused()) host.Redraw();
    return true;
}

void GlobalKeys::ToggleFullscreen() {
    if (host.Parts().settings != nullptr) {
        host.Parts().settings->Change([](Settings& s) { s.Step(Settings::kFullscreen, +1); });
    } else if (window != nullptr) {
        window->ToggleFullscreen();
    }
}

void GlobalKeys::ToggleMute() {
    if (host.Parts().settings != nullptr) {
        host.Parts().settings->Change([](Settings& s) { s.Step(Settings::kMute, +1); });
    } else if (host.Parts().sound != nullptr) {
        host.Parts().sound->ToggleMute();
    }
}
