#include "shell/loop/AccessibleFrame.h"

#include "game/GameApp.h"
#include "input/Gamepads.h"
#include "save/ReplayRecorder.h"
#include "shell/session/ShellParts.h"
#include "shell/ui/CurrentGame.h"
#include "shell/ui/GameWindow.h"

AccessibleFrame::~AccessibleFrame() {
    if (game->starPainter == &faintStars) game->starPainter = nullptr;
}

void AccessibleFrame::Apply(const Accessibility& chosen, GameWindow* window,
                            const ShellParts& parts) {
    options = chosen;
    faintStars.stars = chosen.stars;
    game->starPainter = chosen.stars == Accessibility::Stars::kOn ? nullptr : &faintStars;
    rings.saucer = chosen.clearSaucer;
    rings.photons = chosen.clearPhotons;
    if (window != nullptr) window->SetLineWidth(chosen.lineWidth);
    if (parts.pads != nullptr) parts.pads->SetFireOnPress(chosen.fireOnPress);
    if (parts.recorder != nullptr) parts.recorder->SetSpeed(chosen.speed);
}

void AccessibleFrame::DrawRings() const { rings.Draw(*game); }
