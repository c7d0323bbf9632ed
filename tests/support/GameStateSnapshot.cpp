#include "tests/support/GameStateSnapshot.h"

#include "game/GameApp.h"
#include "objects/Asteroid.h"
#include "objects/Explosion.h"
#include "objects/Laser.h"
#include "objects/Photon.h"
#include "objects/Ship.h"
#include "objects/UFO.h"

namespace testing_support {

GameStateSnapshot::GameStateSnapshot(const GameApp& app) {
    Put(app.score, app.asteroidSpeed, app.asteroidsLeft, app.nextSaucerScore, app.photonIndex,
        app.explosionIndex, app.running, app.input);
    Object(app.ship);
    Put(app.ship->lives, app.ship->invulnerable, app.ship->maxSpeed);
    Object(app.saucer);
    Put(app.saucer->speed);
    Object(app.laser);
    Put(app.laser->charges, app.laser->recharge);
    for (const CAsteroid* asteroid : app.asteroids) {
        Object(asteroid);
        if (asteroid != nullptr) Put(asteroid->small);
    }
    for (const CPhoton* photon : app.photons) Object(photon);
    for (const CExplosion* debris : app.explosions) Object(debris);
}

std::uint64_t GameStateSnapshot::Hash() const {
    std::uint64_t hash = 14695981039346656037ull;
    for (unsigned char byte : bytes) hash = (hash ^ byte) * 1099511628211ull;
    return hash;
}

void GameStateSnapshot::Object(const CBaseObject* object) {
    Put(object != nullptr);
    if (object == nullptr) return;
    Put(object->alive, object->angle, object->spin, object->x, object->y, object->vx, object->vy,
        object->timer);
    for (const PointList* outline : {object->model, object->world}) {
        const int count = outline != nullptr ? outline->Count() : -1;
        Put(count);
        if (outline == nullptr) continue;
        for (const CPoint* point : outline->Points()) Put(point->GetX(), point->GetY());
    }
}

}  // namespace testing_support
