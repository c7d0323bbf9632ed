// The accessibility options in every frame: the stars, the rings, the line
// width, and the parts that fire or record by them.
#pragma once

#include "shell/settings/Accessibility.h"
#include "shell/ui/FaintStars.h"
#include "shell/ui/ObjectRings.h"

class CurrentGame;
class GameWindow;
struct ShellParts;

// All off until Apply(). The stars are the game's own unless dimmed or off,
// when FaintStars paints them in the game's place.
class AccessibleFrame {
public:
    explicit AccessibleFrame(CurrentGame& current) : game(current) {}
    // Takes its star painter back from the game.
    ~AccessibleFrame();

    AccessibleFrame(const AccessibleFrame&) = delete;
    AccessibleFrame& operator=(const AccessibleFrame&) = delete;

    // Puts `chosen` in force on the game, the window (null in tests) and the
    // attached pads and recorder.
    void Apply(const Accessibility& chosen, GameWindow* window, const ShellParts& parts);
    const Accessibility& Options() const { return options; }

    // The rings over the game's frame, before any screen's text.
    void DrawRings() const;

private:
    CurrentGame& game;
    Accessibility options;
    FaintStars faintStars;
    ObjectRings rings;
};
