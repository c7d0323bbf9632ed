// A GameApp that ran only InitGame(): no window, no timer, GL recorded by the
// stand-in. Real game code runs on it tick by tick.
#pragma once

#include <gtest/gtest.h>

#include <initializer_list>

#include "game/GameApp.h"
#include "objects/Asteroid.h"
#include "objects/Explosion.h"
#include "objects/Laser.h"
#include "objects/Photon.h"
#include "objects/Random.h"
#include "objects/Ship.h"
#include "objects/UFO.h"
#include "tests/gl/RecordingGL.h"

class GameAppTest : public ::testing::Test {
protected:
    void SetUp() override {
        recgl::Reset();
        SeedRandom(2026);
        app.InitGame();
        recgl::Reset();
    }

    // Puts the ship, flying unprotected, at (x, y) and draws it once so its
    // outline can be hit.
    void PlaceShip(double x, double y) {
        app.ship->x = x;
        app.ship->y = y;
        app.ship->invulnerable = 0;
        app.ship->Draw(255);
    }

    // Marks the asteroids in the given slots as shot.
    void KillAsteroids(std::initializer_list<int> slots) {
        for (int slot : slots) app.asteroids[slot]->alive = false;
        app.asteroidsLeft = LiveAsteroids();
    }

    // A live, still asteroid in `slot` at (x, y) with a drawn outline.
    CAsteroid* PlaceAsteroid(int slot, double x, double y, bool small = false) {
        CAsteroid* asteroid = small ? new CAsteroid(2, 0, 0) : new CAsteroid(2);
        delete app.asteroids[slot];
        app.asteroids[slot] = asteroid;
        asteroid->x = x;
        asteroid->y = y;
        asteroid->vx = 0;
        asteroid->vy = 0;
        asteroid->spin = 0;
        asteroid->Draw(255);
        app.asteroidsLeft = LiveAsteroids();
        return asteroid;
    }

    // A live photon in the next slot at (x, y), standing still, drawn.
    CPhoton* PlacePhoton(double x, double y) {
        app.FirePhoton();
        CPhoton* photon = app.photons[app.photonIndex];
        photon->x = x;
        photon->y = y;
        photon->vx = 0;
        photon->vy = 0;
        photon->Draw(255);
        return photon;
    }

    // The saucer alive at (x, y), drawn, not moving this tick.
    void PlaceSaucer(double x, double y) {
        app.saucer->alive = true;
        app.saucer->x = x;
        app.saucer->y = y;
        app.saucer->vx = 0;
        app.saucer->vy = 0;
        app.saucer->Draw(255);
    }

    int LiveAsteroids() const {
        int live = 0;
        for (CAsteroid* asteroid : app.asteroids) live += asteroid->alive;
        return live;
    }

    GameApp app;
};
