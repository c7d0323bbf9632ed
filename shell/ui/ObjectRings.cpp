#include "shell/ui/ObjectRings.h"

#include <GL/gl.h>

#include <cmath>

#include "game/GameApp.h"
#include "objects/Photon.h"
#include "objects/Ship.h"
#include "objects/UFO.h"

namespace {

constexpr int kRingSegments = 24;
constexpr float kWhite = 1.0f;

struct ScreenPoint {
    double x;
    double y;
};

// An object's centre in screen pixels, as its own drawing places it.
ScreenPoint Centre(const CBaseObject& object) {
    return {std::floor(object.x) + kHalfWidth, std::floor(object.y) + kHalfHeight};
}

void Vertex(double x, double y) { glVertex2f(static_cast<float>(x), static_cast<float>(y)); }

void Ring(ScreenPoint centre, double radius) {
    glBegin(GL_LINE_LOOP);
    for (int i = 0; i < kRingSegments; ++i) {
        const double angle = 2 * kPi * i / kRingSegments;
        Vertex(centre.x + radius * std::cos(angle), centre.y + radius * std::sin(angle));
    }
    glEnd();
}

void Dot(ScreenPoint centre, double halfSize) {
    glBegin(GL_POLYGON);
    Vertex(centre.x - halfSize, centre.y - halfSize);
    Vertex(centre.x + halfSize, centre.y - halfSize);
    Vertex(centre.x + halfSize, centre.y + halfSize);
    Vertex(centre.x - halfSize, centre.y + halfSize);
    glEnd();
}

}  // namespace

void ObjectRings::Draw(const GameApp& app) const {
    if (!saucer && !photons) return;
    glColor3f(kWhite, kWhite, kWhite);
    if (photons) {
        for (const CPhoton* photon : app.photons) {
            if (photon == nullptr || !photon->alive) continue;
            Dot(Centre(*photon), kPhotonDotHalfSize);
            Ring(Centre(*photon), kPhotonRadius);
        }
    }
    // The frame hides the saucer while the ship is destroyed or protected;
    // its ring must not give it away.
    const bool saucerShown = app.saucer->alive && app.ship->alive && app.ship->invulnerable <= 0;
    if (saucer && saucerShown) Ring(Centre(*app.saucer), kSaucerRadius);
}
