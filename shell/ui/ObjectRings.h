// Rings that make the saucer and the photons easy to find.
#pragma once

class GameApp;

// Drawn over the game's frame, after GameApp::DrawFrame and before any
// screen's text: a ring around the saucer while the frame shows it, and a
// larger dot with a ring on each photon. Reads only where the objects are,
// never their outlines (which the hit tests read) nor the random generator,
// so the game plays the same with or without them. In the frame's current
// line width; with neither switched on it draws nothing at all.
class ObjectRings {
public:
    static constexpr double kSaucerRadius = 28.0;  // its outline reaches 15 from its centre
    static constexpr double kPhotonRadius = 9.0;
    static constexpr double kPhotonDotHalfSize = 3.0;  // the photon's own outline: 1

    void Draw(const GameApp& app) const;

    bool saucer = false;
    bool photons = false;
};
