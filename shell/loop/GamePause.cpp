#include "shell/loop/GamePause.h"

#include "audio/SoundEffects.h"
#include "shell/session/PlayerSession.h"
#include "shell/session/TickTimer.h"

void GamePause::Begin(SoundEffects* sound) {
    timer.Hold();
    if (sound != nullptr) sound->SetPaused(true);
}

void GamePause::End(SoundEffects* sound) {
    session.ReleaseAll();
    if (sound != nullptr) sound->SetPaused(false);
    timer.Release();  // at the speed the options ask for
}
