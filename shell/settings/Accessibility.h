// The options that help more players play well.
#pragma once

#include <string>
#include <vector>

#include "save/GameSpeed.h"

// How the frame looks, how fast ticks come and when the weapons fire. None
// of them changes the game's rules or what its hit tests read: a game played
// with any of them plays the same as without.
//
// Each option has one name, both its long command-line option and its key in
// the settings file, and a text for each of its values:
//   line-width     1, 1.5, 2 or 3     a factor on the window's own line width
//   stars          on, dim or off     the star field full, at a third, or none
//   clear-saucer   on or off          a ring around the saucer while shown
//   clear-photons  on or off          photons larger, each with a ring
//   speed          100, 80, 65 or 50  per cent: the time between ticks grows
//   fire-on-press  on or off          the weapons fire on press, not release
// All are off (the first value) by default.
class Accessibility {
public:
    enum class Stars { kOn, kDim, kOff };

    // The names above, in that order.
    static const std::vector<std::string>& Names();

    // Sets the named option from its text. False, changing nothing, with a
    // line naming the option, the text and the values allowed in `error`
    // ("bad speed '90': 100, 80, 65 or 50"), or for an unknown name.
    bool Set(const std::string& name, const std::string& text, std::string& error);
    // The named option's value as text, as Set() reads it; empty for an
    // unknown name.
    std::string Get(const std::string& name) const;

    // Each value to its text and back; parsing takes exactly the texts above.
    static std::string FormatLineWidth(float factor);
    static bool ParseLineWidth(const std::string& text, float& factor);
    static std::string FormatStars(Stars stars);
    static bool ParseStars(const std::string& text, Stars& stars);
    static std::string FormatSwitch(bool on);
    static bool ParseSwitch(const std::string& text, bool& on);
    static std::string FormatSpeed(int percent);
    static bool ParseSpeed(const std::string& text, int& percent);

    bool operator==(const Accessibility& other) const;
    bool operator!=(const Accessibility& other) const { return !(*this == other); }

    float lineWidth = 1.0f;
    Stars stars = Stars::kOn;
    bool clearSaucer = false;
    bool clearPhotons = false;
    int speed = game_speed::kFull;
    bool fireOnPress = false;
};
