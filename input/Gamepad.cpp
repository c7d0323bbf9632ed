#include "input/Gamepad.h"

#include "app/GameApp.h"

namespace {

unsigned DpadBit(Uint8 button) {
    switch (button) {
        case SDL_CONTROLLER_BUTTON_DPAD_UP:
            return GameApp::kInputUp;
        case SDL_CONTROLLER_BUTTON_DPAD_DOWN:
            return GameApp::kInputDown;
        case SDL_CONTROLLER_BUTTON_DPAD_LEFT:
            return GameApp::kInputLeft;
        case SDL_CONTROLLER_BUTTON_DPAD_RIGHT:
            return GameApp::kInputRight;
        default:
            return 0;
    }
}

}  // namespace

Gamepad::Gamepad(SDL_GameController* controller)
    : controller_(controller),
      id_(SDL_JoystickInstanceID(SDL_GameControllerGetJoystick(controller))),
      dpad_(0),
      // SDL's vertical axes grow downwards: pushing the stick up thrusts.
      stickX_(GameApp::kInputLeft, GameApp::kInputRight),
      stickY_(GameApp::kInputUp, GameApp::kInputDown) {}

Gamepad::~Gamepad() {
    // SDL_Quit closes every controller itself; closing one again would touch
    // freed memory.
    if (SDL_WasInit(SDL_INIT_GAMECONTROLLER) != 0) SDL_GameControllerClose(controller_);
}

SDL_JoystickID Gamepad::Id() const { return id_; }

bool Gamepad::Attached() const { return SDL_GameControllerGetAttached(controller_) == SDL_TRUE; }

void Gamepad::Button(Uint8 button, bool pressed) {
    const unsigned bit = DpadBit(button);
    if (pressed) {
        dpad_ |= bit;
    } else {
        dpad_ &= ~bit;
    }
}

void Gamepad::Axis(Uint8 axis, Sint16 value) {
    if (axis == SDL_CONTROLLER_AXIS_LEFTX) stickX_.Move(value);
    if (axis == SDL_CONTROLLER_AXIS_LEFTY) stickY_.Move(value);
}

void Gamepad::Release() {
    dpad_ = 0;
    stickX_.Release();
    stickY_.Release();
}

unsigned Gamepad::HeldBits() const { return dpad_ | stickX_.HeldBits() | stickY_.HeldBits(); }
