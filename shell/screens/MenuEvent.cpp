#include "shell/screens/MenuEvent.h"

namespace {

MenuEvent Of(MenuEvent::Kind kind) {
    MenuEvent event;
    event.kind = kind;
    return event;
}

}  // namespace

std::optional<MenuEvent> MenuEvent::FromKey(const SDL_KeyboardEvent& key) {
    switch (key.keysym.sym) {
        case SDLK_UP:
            return Of(Kind::kUp);
        case SDLK_DOWN:
            return Of(Kind::kDown);
        case SDLK_LEFT:
            return Of(Kind::kLeft);
        case SDLK_RIGHT:
            return Of(Kind::kRight);
        default:
            break;
    }
    // A held Enter must not choose again and again.
    if (key.repeat != 0) return std::nullopt;
    switch (key.keysym.sym) {
        case SDLK_RETURN:
        case SDLK_KP_ENTER:
        case SDLK_SPACE:
            return Of(Kind::kChoose);
        case SDLK_ESCAPE:
        case SDLK_BACKSPACE:
            return Of(Kind::kBack);
        default:
            return std::nullopt;
    }
}

std::optional<MenuEvent> MenuEvent::FromPadPress(SDL_GameControllerButton button) {
    switch (button) {
        case SDL_CONTROLLER_BUTTON_DPAD_UP:
            return Of(Kind::kUp);
        case SDL_CONTROLLER_BUTTON_DPAD_DOWN:
            return Of(Kind::kDown);
        case SDL_CONTROLLER_BUTTON_DPAD_LEFT:
            return Of(Kind::kLeft);
        case SDL_CONTROLLER_BUTTON_DPAD_RIGHT:
            return Of(Kind::kRight);
        case SDL_CONTROLLER_BUTTON_A:
            return Of(Kind::kChoose);
        case SDL_CONTROLLER_BUTTON_B:
            return Of(Kind::kBack);
        default:
            return std::nullopt;
    }
}

std::optional<MenuEvent> MenuEvent::FromMouse(const SDL_Event& event, int x, int y) {
    MenuEvent menu;
    menu.x = x;
    menu.y = y;
    switch (event.type) {
        case SDL_MOUSEMOTION:
            menu.kind = Kind::kPoint;
            return menu;
        case SDL_MOUSEBUTTONDOWN:
            if (event.button.button != SDL_BUTTON_LEFT) return std::nullopt;
            menu.kind = Kind::kClick;
            return menu;
        case SDL_MOUSEWHEEL:
            menu.kind = Kind::kWheel;
            menu.steps =
                event.wheel.direction == SDL_MOUSEWHEEL_FLIPPED ? -event.wheel.y : event.wheel.y;
            return menu.steps != 0 ? std::optional<MenuEvent>(menu) : std::nullopt;
        default:
            return std::nullopt;
    }
}
