#include "save/GameSpeed.h"

#include <cmath>

#include "game/GameApp.h"

namespace game_speed {

bool IsChoice(int percent) {
    for (int choice : kChoices) {
        if (choice == percent) return true;
    }
    return false;
}

Uint32 TickInterval(int percent) {
    const double interval = static_cast<double>(GameApp::kTickInterval) * kFull / percent;
    return static_cast<Uint32>(std::lround(interval));
}

}  // namespace game_speed
