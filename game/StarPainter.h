// How the frame's background stars are drawn: a hook for the shell.
#pragma once

#include "gfx/StarField.h"

// Called by GameApp::DrawFrame right after the clear, in place of drawing the
// star field itself, when the shell attaches one. Stars have no outline, so
// however they are drawn, the game plays the same; a painter must not change
// the game or draw random numbers. By default it draws exactly as the game
// does without one.
class StarPainter {
public:
    virtual ~StarPainter() = default;

    virtual void DrawStars(CStarField& stars) { stars.Draw(); }
};
