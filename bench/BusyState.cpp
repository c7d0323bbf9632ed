#include "bench/BusyState.h"

#include <cstdint>
#include <cstdio>
#include <cstring>

#include "game/GameApp.h"
#include "gfx/StarField.h"
#include "objects/Asteroid.h"
#include "objects/Explosion.h"
#include "objects/Laser.h"
#include "objects/Photon.h"
#include "objects/Random.h"
#include "objects/Ship.h"
#include "objects/UFO.h"

namespace busy {

namespace {

constexpr unsigned kSeed = 4021;

// Long enough for any benchmark run. Debris brightness is 8 * timer, so the
// timers stay far below INT_MAX / 8; debris then draws at full white rather
// than fading, which costs the same.
constexpr int kLongLife = 1 << 26;

// The ship, the saucer, the beam and the photons all lie within 15 units of
// y = 0. Asteroids (radius at most 40) sit in horizontal lanes at least 90
// units away, so no outline ever reaches another that it is tested against.
constexpr double kShipX = -100;
constexpr double kSaucerX = -350;
constexpr double kLaneY[kLiveAsteroids] = {330, 250, 170, 90, -90, -170, -250, -330};
// Clear of the saucer (+-15 around kSaucerX), of the ship (+-10 around
// kShipX) and of the beam, which runs 400 units ahead of the ship.
constexpr double kPhotonX[kLivePhotons] = {-480, -440, -250, -200, 360, 420};

void ArrangeShip(CShip& ship) {
    ship.x = kShipX;
    ship.y = 0;
    ship.angle = 0;  // heading +x, so the beam runs along the band
    ship.vx = 0;
    ship.vy = 0;
    ship.invulnerable = 0;
}

void ArrangeAsteroids(GameApp& app) {
    for (int i = 0; i < kLiveAsteroids; ++i) {
        CAsteroid& asteroid = *app.asteroids[i];
        asteroid.x = -448 + 128 * i;
        asteroid.y = kLaneY[i];
        // Still: every tick then draws the very frame that the replay floor
        // replays, so the two measure the same drawing. The rules do the
        // same work either way; every hit test still runs.
        asteroid.vx = 0;
        asteroid.vy = 0;
        asteroid.spin = 0;
    }
    app.asteroidsLeft = kLiveAsteroids;
}

void ArrangePhotons(GameApp& app) {
    for (double x : kPhotonX) {
        app.FirePhoton();
        CPhoton& photon = *app.photons[app.photonIndex];
        photon.x = x;
        photon.y = 0;
        photon.vx = 0;
        photon.vy = 0;
        photon.timer = kLongLife;
    }
}

void ArrangeSaucer(CUFO& saucer) {
    saucer.alive = true;
    saucer.x = kSaucerX;
    saucer.y = 0;
    saucer.vx = 0;
    saucer.vy = 0;
    // It still aims at the ship every tick, but at speed 0 never closes in.
    saucer.speed = 0;
}

void ArrangeLaser(CLaser& laser, const CShip& ship) {
    laser.Fire();
    laser.timer = kLongLife;
    // At ten charges the recharge stops, so the text keeps its length.
    laser.SetCharges(CLaser::kMaxRechargedCharges);
    laser.x = ship.x;
    laser.y = ship.y;
    laser.angle = ship.angle;
}

// Fills the debris ring from the asteroids' drawn outlines, as shots would.
void FillDebris(GameApp& app) {
    auto filled = [&app] {
        int n = 0;
        for (const CExplosion* debris : app.explosions) n += debris != nullptr && debris->alive;
        return n;
    };
    for (int i = 0; filled() < GameApp::kExplosionSlots; ++i) {
        app.SpawnExplosion(*app.asteroids[i % kLiveAsteroids]);
    }
    for (CExplosion* debris : app.explosions) {
        debris->timer = kLongLife;
        debris->vx = 0;  // held still, like the asteroids
        debris->vy = 0;
        debris->spin = 0;
    }
}

// 64-bit FNV-1a over raw bytes.
class Digest {
public:
    template <typename T>
    void Add(const T& value) {
        unsigned char bytes[sizeof(T)];
        std::memcpy(bytes, &value, sizeof(T));
        for (unsigned char byte : bytes) {
            hash_ ^= byte;
            hash_ *= 0x100000001b3ULL;
        }
    }

    void AddObject(const CBaseObject* object) {
        Add(object != nullptr);
        if (object == nullptr) return;
        Add(object->alive);
        Add(object->x);
        Add(object->y);
        Add(object->angle);
        Add(object->timer);
        for (const CPoint* p : object->model->Points()) {
            Add(p->GetX());
            Add(p->GetY());
        }
    }

    std::string Hex() const {
        char text[17];
        std::snprintf(text, sizeof text, "%016llx", static_cast<unsigned long long>(hash_));
        return text;
    }

private:
    std::uint64_t hash_ = 0xcbf29ce484222325ULL;
};

}  // namespace

void Build(GameApp& app) {
    SeedRandom(kSeed);
    app.InitGame();
    app.input = 0;
    app.score = kScore;
    app.nextSaucerScore = kScore + 650;  // owed later, and the saucer is flying anyway
    ArrangeShip(*app.ship);
    ArrangeAsteroids(app);
    ArrangePhotons(app);
    ArrangeSaucer(*app.saucer);
    ArrangeLaser(*app.laser, *app.ship);
    app.Render();
    FillDebris(app);
}

std::string Problem(const GameApp& app) {
    int asteroids = 0;
    for (const CAsteroid* asteroid : app.asteroids) {
        asteroids += asteroid != nullptr && asteroid->alive;
    }
    int photons = 0;
    for (const CPhoton* photon : app.photons) photons += photon != nullptr && photon->alive;
    int debris = 0;
    for (const CExplosion* piece : app.explosions) debris += piece != nullptr && piece->alive;

    std::string problem;
    auto require = [&problem](bool ok, const char* what) {
        if (!ok) problem += problem.empty() ? what : std::string(", ") + what;
    };
    require(asteroids == kLiveAsteroids && app.asteroidsLeft == kLiveAsteroids,
            "an asteroid was destroyed");
    require(photons == kLivePhotons, "a photon ended");
    require(debris == kLiveDebris, "debris faded");
    require(app.saucer->alive, "the saucer is gone");
    require(app.laser->alive, "the beam ended");
    require(app.ship->alive && app.ship->invulnerable <= 0, "the ship is destroyed or protected");
    require(app.score == kScore, "the score changed");
    require(app.running, "the game is over");
    return problem;
}

std::string Fingerprint(const GameApp& app) {
    Digest digest;
    for (int i = 0; i < app.starField->count; ++i) {
        digest.Add(app.starField->stars[i]->GetX());
        digest.Add(app.starField->stars[i]->GetY());
    }
    digest.AddObject(app.ship);
    digest.AddObject(app.saucer);
    digest.AddObject(app.laser);
    for (const CAsteroid* asteroid : app.asteroids) digest.AddObject(asteroid);
    for (const CPhoton* photon : app.photons) digest.AddObject(photon);
    for (const CExplosion* debris : app.explosions) digest.AddObject(debris);
    digest.Add(app.score);
    digest.Add(app.ship->GetLives());
    digest.Add(app.laser->GetCharges());
    digest.Add(app.running);
    return digest.Hex();
}

}  // namespace busy
