#include "shell/screens/WelcomeScreen.h"

#include "shell/screens/ControlsMenu.h"
#include "shell/screens/ScreenHost.h"
#include "shell/session/PlayerSettings.h"
#include "shell/session/ShellParts.h"

void WelcomeScreen::Build() {
    const KeyBindings& bindings = host.Parts().settings->Bindings();
    for (int a = 0; a < KeyBindings::kActionCount; ++a) {
        list.AddHeading(ControlsMenu::Row(bindings, static_cast<KeyBindings::Action>(a)));
    }
    list.AddHeading("f11 fullscreen, m mute; keys can be changed in settings");
    list.AddHeading("");
    list.AddHeading("enter, space, p or escape starts (a or start on a pad)");
}

void WelcomeScreen::Start() {
    host.Parts().settings->MarkSeen();
    host.Resume();
}

void WelcomeScreen::KeyDown(const SDL_KeyboardEvent& key) {
    if (key.repeat != 0) return;
    switch (key.keysym.sym) {
        case SDLK_RETURN:
        case SDLK_KP_ENTER:
        case SDLK_SPACE:
        case SDLK_p:
        case SDLK_ESCAPE:
            Start();
            break;
        default:
            break;
    }
}

void WelcomeScreen::PadAction(Gamepads::Action action) {
    if (action == Gamepads::Action::kPause) Start();
}

void WelcomeScreen::PadPress(SDL_GameControllerButton button) {
    if (button == SDL_CONTROLLER_BUTTON_A) Start();
}

void WelcomeScreen::Pointer(const MenuEvent& event) {
    if (event.kind == MenuEvent::Kind::kClick) Start();
}
