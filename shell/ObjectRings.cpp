#include "shell/ObjectRings.h"

#include <GL/gl.h>

#include <cmath>

#include "game/GameApp.h"
#include "objects/Photon.h"
#include "objects/Ship.h"
#include "objects/UFO.h"

namespace {

constexpr int kRingSegments = 24;
constexpr float kWhite = 1.0f;

// Screen pixels of an object's centre, as its own drawing places it.
void Centre(const CBaseObject& object, double& x, double& y) {
    x = std::floor(object.x) + kHalfWidth;
    y = std::floor(object.y) + kHalfHeight;
}

void Ring(const CBaseObject& object, double radius) {
    double x = 0;
    double y = 0;
    Centre(object, x, y);
    glBegin(GL_LINE_LOOP);
    for (int i = 0; i < kRingSegments; ++i) {
        const double angle = 2 * kPi * i / kRingSegments;
        glVertex2f(static_cast<float>(x + radius * std::cos(angle)),
                   static_cast<float>(y + radius * std::sin(angle)));
    }
    glEnd();
}

void Dot(const CBaseObject& object, double halfSize) {
    double x = 0;
    double y = 0;
    Centre(object, x, y);
    glBegin(GL_POLYGON);
    glVertex2f(static_cast<float>(x - halfSize), static_cast<float>(y - halfSize));
    glVertex2f(static_cast<float>(x + halfSize), static_cast<float>(y - halfSize));
    glVertex2f(static_cast<float>(x + halfSize), static_cast<float>(y + halfSize));
    glVertex2f(static_cast<float>(x - halfSize), static_cast<float>(y + halfSize));
    glEnd();
}

}  // namespace

void ObjectRings::Draw(const GameApp& app) const {
    if (!saucer && !photons) return;
    glColor3f(kWhite, kWhite, kWhite);
    if (photons) {
        for (const CPhoton* photon : app.photons) {
            if (photon == nullptr || !photon->alive) continue;
            Dot(*photon, kPhotonDotHalfSize);
            Ring(*photon, kPhotonRadius);
        }
    }
    // The frame hides the saucer while the ship is destroyed or protected;
    // its ring must not give it away.
    const bool saucerShown = app.saucer->alive && app.ship->alive && app.ship->invulnerable <= 0;
    if (saucer && saucerShown) Ring(*app.saucer, kSaucerRadius);
}
