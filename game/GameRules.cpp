// The tick and its rules.

#include <vector>

#include "game/GameApp.h"
#include "game/GameListener.h"
#include "game/Slots.h"
#include "objects/Asteroid.h"
#include "objects/Explosion.h"
#include "objects/Laser.h"
#include "objects/Photon.h"
#include "objects/Ship.h"
#include "objects/UFO.h"

namespace {

// Advances a ring index; filling takes the slot it reaches.
int NextSlot(int index, int slots) {
    index += 1;
    return index == slots ? 0 : index;
}

}  // namespace

void GameApp::Tick() {
    UpdateGame();
    Render();
}

void GameApp::UpdateGame() {
    if (input & kInputLeft) ship->Rotate(1);
    if (input & kInputRight) ship->Rotate(-1);
    if (input & kInputUp) ship->Thrust(1);
    if (input & kInputDown) ship->Thrust(-1);
    UpdateShip();
    UpdatePhotons();
    const int charges = laser->GetCharges();
    laser->Update(*ship);
    if (listener != nullptr && laser->GetCharges() > charges) listener->OnLaserCharged();
    UpdateSaucer();
    UpdateAsteroids();
    UpdateExplosions();
    // The schedule runs after the hit tests, so a saucer owed while another
    // was flying is launched in the tick in which that one leaves.
    if (running && score > nextSaucerScore && !saucer->alive) {
        nextSaucerScore += kSaucerScoreStep;
        saucer->SpeedUp();
        saucer->Launch();
        if (listener != nullptr) listener->OnSaucerLaunched();
    }
    if (asteroidsLeft <= 0) NewWave();
}

void GameApp::UpdateShip() {
    if (ship->alive) {
        ship->Move();
        if (ship->invulnerable > 0) ship->invulnerable -= 1;
        return;
    }
    if (ship->CountDown()) {
        if (ship->GetLives() > 0) {
            ship->Respawn();
        } else {
            GameOver();
        }
    }
}

void GameApp::UpdatePhotons() {
    for (CPhoton* photon : photons) {
        if (photon != nullptr && photon->alive) photon->Move();
    }
}

void GameApp::UpdateSaucer() {
    if (!saucer->alive) return;
    saucer->Aim(*ship);
    saucer->Move();

    // A photon that hits the saucer is not used up: it flies on and may still
    // destroy an asteroid in this same tick.
    bool hit = false;
    for (CPhoton* photon : photons) {
        if (photon != nullptr && photon->alive && saucer->Collides(*photon)) hit = true;
    }
    if (!hit && laser->alive && saucer->Collides(*laser)) hit = true;
    if (hit) {
        SpawnExplosion(*saucer);
        saucer->Deactivate();
        score += kSaucerPoints;
        if (listener != nullptr) listener->OnSaucerDestroyed();
    }

    // Ramming the ship destroys both; the saucer leaves no debris or points.
    if (saucer->alive && ship->alive && ship->invulnerable <= 0 && saucer->Collides(*ship)) {
        SpawnExplosion(*ship);
        ship->Die();
        saucer->Deactivate();
        if (listener != nullptr) listener->OnShipDestroyed();
    }
}

void GameApp::UpdateAsteroids() {
    for (int i = 0; i < kAsteroidSlots; ++i) {
        CAsteroid* asteroid = asteroids[i];
        if (asteroid == nullptr || !asteroid->alive) continue;
        asteroid->Move();

        // Every photon touching the asteroid is used up, not only the first.
        bool hit = false;
        for (CPhoton* photon : photons) {
            if (photon != nullptr && photon->alive && asteroid->Collides(*photon)) {
                photon->alive = false;
                hit = true;
            }
        }
        // The beam is not used up: it can destroy several objects in a tick.
        if (!hit && laser->alive && asteroid->Collides(*laser)) hit = true;

        if (hit) {
            asteroidsLeft -= 1;
            asteroid->alive = false;
            SpawnExplosion(*asteroid);
            if (asteroid->IsSmall()) {
                score += kSmallAsteroidPoints;
                if (listener != nullptr) listener->OnSmallAsteroidDestroyed();
            } else {
                score += kLargeAsteroidPoints;
                SplitAsteroid(i);  // may delete `asteroid` and refill slot i
                if (listener != nullptr) listener->OnLargeAsteroidBroken();
            }
        }

        // The ship is tested against whatever the slot holds now, which may be
        // a fresh fragment.
        CAsteroid* current = asteroids[i];
        if (ship->alive && ship->invulnerable <= 0 && current->alive && current->Collides(*ship)) {
            SpawnExplosion(*ship);
            ship->Die();
            saucer->Deactivate();
            if (listener != nullptr) listener->OnShipDestroyed();
        }
    }
}

void GameApp::UpdateExplosions() {
    for (CExplosion* debris : explosions) {
        if (debris == nullptr || !debris->alive) continue;
        debris->Move();
        if (debris->CountDown()) debris->alive = false;
    }
}

void GameApp::SplitAsteroid(int slot) {
    const int x = static_cast<int>(asteroids[slot]->x);
    const int y = static_cast<int>(asteroids[slot]->y);
    // The search always starts at slot 0, and the shot asteroid's own slot
    // is free too, so a full wave yields a single fragment.
    int placed = 0;
    for (int j = 0; j < kAsteroidSlots && placed < 2; ++j) {
        if (asteroids[j] != nullptr && asteroids[j]->alive) continue;
        Replace(asteroids[j], new CAsteroid(asteroidSpeed, x, y));
        placed += 1;
        asteroidsLeft += 1;
    }
}

void GameApp::SpawnExplosion(CBaseObject& object) {
    // One segment per edge: the count comes from the outline as drawn, the
    // ends from the unrotated model. The model never has fewer points than
    // the drawn outline, but it is never read past its end either.
    std::vector<CPoint*> ends = object.model->Points();
    int n = object.world != nullptr ? object.world->Count() : 0;
    if (n > static_cast<int>(ends.size())) n = static_cast<int>(ends.size());
    const int x = static_cast<int>(object.x);
    const int y = static_cast<int>(object.y);
    const int angle = static_cast<int>(object.angle);
    for (int k = 0; k < n; ++k) {
        explosionIndex = NextSlot(explosionIndex, kExplosionSlots);
        Replace(explosions[explosionIndex],
                new CExplosion(x, y, angle, *ends[k], *ends[(k + 1) % n]));
    }
}

void GameApp::FirePhoton() {
    // The seventh shot takes the slot of the oldest.
    photonIndex = NextSlot(photonIndex, kPhotonSlots);
    Replace(photons[photonIndex], new CPhoton(*ship));
    if (listener != nullptr) listener->OnPhotonFired();
}

void GameApp::FireLaser() {
    const int charges = laser->GetCharges();
    laser->Fire();
    if (listener != nullptr && laser->GetCharges() < charges) listener->OnLaserFired();
}

void GameApp::NewWave() {
    for (CAsteroid*& slot : asteroids) Replace(slot, new CAsteroid(asteroidSpeed));
    asteroidsLeft = kAsteroidSlots;
    if (asteroidSpeed < kTopAsteroidSpeed) asteroidSpeed += 1;
    if (listener != nullptr) listener->OnNewWave();
}

void GameApp::NewGame() {
    // The saucer's speed, the laser's recharge countdown and the held keys
    // carry over from the last game.
    photonIndex = 0;
    score = 0;
    nextSaucerScore = kSaucerScoreStep;
    asteroidSpeed = kStartAsteroidSpeed;
    ship->Reset();
    laser->SetCharges(kStartLaserCharges);
    ClearPhotons();
    NewWave();
    ClearExplosions();
    running = true;
    if (listener != nullptr) listener->OnNewGame();
}

void GameApp::GameOver() {
    running = false;
    saucer->Deactivate();
    if (listener != nullptr) listener->OnGameOver();
}

void GameApp::ClearPhotons() {
    photonIndex = 0;
    DeleteAll(photons);
}

void GameApp::ClearExplosions() {
    DeleteAll(explosions);
    explosionIndex = 0;
}
