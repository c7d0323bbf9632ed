// One open game controller and the directions it holds.
#pragma once

#include <SDL.h>

#include "input/StickAxis.h"

// Owns an open SDL_GameController and closes it when destroyed. Reads the
// D-pad and the left stick as the arrow keys: left/right turn, up/down
// thrust, each bit set while held (GameApp::kInputLeft and the others).
class Gamepad {
public:
    // Takes ownership of `controller`, which must be open.
    explicit Gamepad(SDL_GameController* controller);
    ~Gamepad();

    Gamepad(const Gamepad&) = delete;
    Gamepad& operator=(const Gamepad&) = delete;

    // The joystick instance id that SDL's controller events carry in `which`.
    SDL_JoystickID Id() const;
    // False once the pad is unplugged, from the moment SDL notices, before
    // its removal event is handled.
    bool Attached() const;

    // A button of this pad went down or up; only the D-pad holds directions.
    // True for a release of a button this pad saw pressed since the last
    // Release(): only such a release is the player's click.
    bool Button(Uint8 button, bool pressed);
    // An axis of this pad moved; only the left stick holds directions.
    void Axis(Uint8 axis, Sint16 value);
    // Lets go of everything held; a direction is held again only after a new
    // press or a new stick movement, and a button clicks only when pressed
    // again.
    void Release();

    // The GameApp input bits held by the D-pad or the stick.
    unsigned HeldBits() const;

private:
    SDL_GameController* controller;
    SDL_JoystickID id;
    unsigned dpad;
    Uint32 pressedButtons;  // one bit per SDL_GameControllerButton
    StickAxis stickX;
    StickAxis stickY;
};
