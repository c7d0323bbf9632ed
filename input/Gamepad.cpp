#include "input/Gamepad.h"

#include "game/GameApp.h"

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

Gamepad::Gamepad(SDL_GameController* opened)
    : controller(opened),
      id(SDL_JoystickInstanceID(SDL_GameControllerGetJoystick(opened))),
      dpad(0),
      pressedButtons(0),
      // SDL's vertical axes grow downwards: pushing the stick up thrusts.
      stickX(GameApp::kInputLeft, GameApp::kInputRight),
      stickY(GameApp::kInputUp, GameApp::kInputDown) {}

Gamepad::~Gamepad() {
    // SDL_Quit closes every controller itself; closing one again would touch
    // freed memory.
    if (SDL_WasInit(SDL_INIT_GAMECONTROLLER) != 0) SDL_GameControllerClose(controller);
}

SDL_JoystickID Gamepad::Id() const { return id; }

bool Gamepad::Attached() const { return SDL_GameControllerGetAttached(controller) == SDL_TRUE; }

bool Gamepad::Button(Uint8 button, bool pressed) {
    const unsigned bit = DpadBit(button);
    const Uint32 buttonBit = button < 32 ? 1u << button : 0;
    const bool seenPressed = (pressedButtons & buttonBit) != 0;
    if (pressed) {
        dpad |= bit;
        pressedButtons |= buttonBit;
    } else {
        dpad &= ~bit;
        pressedButtons &= ~buttonBit;
    }
    return !pressed && seenPressed;
}

void Gamepad::Axis(Uint8 axis, Sint16 value) {
    if (axis == SDL_CONTROLLER_AXIS_LEFTX) stickX.Move(value);
    if (axis == SDL_CONTROLLER_AXIS_LEFTY) stickY.Move(value);
}

void Gamepad::Release() {
    dpad = 0;
    pressedButtons = 0;
    stickX.Release();
    stickY.Release();
}

unsigned Gamepad::HeldBits() const { return dpad | stickX.HeldBits() | stickY.HeldBits(); }
