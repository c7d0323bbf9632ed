#include "save/GameDigest.h"

#include <openssl/evp.h>

#include <cstring>
#include <stdexcept>

#include "common/Hex.h"
#include "game/GameApp.h"
#include "objects/Asteroid.h"
#include "objects/Explosion.h"
#include "objects/Laser.h"
#include "objects/Photon.h"
#include "objects/Random.h"
#include "objects/Ship.h"
#include "objects/UFO.h"

struct GameDigest::Context {
    EVP_MD_CTX* hash = EVP_MD_CTX_new();
    ~Context() { EVP_MD_CTX_free(hash); }
};

GameDigest::GameDigest() : context(std::make_unique<Context>()) {
    if (context->hash == nullptr || EVP_DigestInit_ex(context->hash, EVP_sha256(), nullptr) != 1) {
        throw std::runtime_error("cannot set up SHA-256");
    }
}

GameDigest::~GameDigest() = default;

// Little-endian and of fixed widths, so the bytes do not depend on the
// compiler's padding or the machine's word size.
void GameDigest::Put(std::uint64_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) tick.push_back(static_cast<char>(value >> (8 * i) & 0xFF));
}

void GameDigest::PutDouble(double value) {
    std::uint64_t bits = 0;
    std::memcpy(&bits, &value, sizeof bits);
    Put(bits, sizeof bits);
}

void GameDigest::Object(const CBaseObject* object) {
    Put(object != nullptr, 1);
    if (object == nullptr) return;
    Put(object->alive, 1);
    PutDouble(object->angle);
    PutDouble(object->spin);
    PutDouble(object->x);
    PutDouble(object->y);
    PutDouble(object->vx);
    PutDouble(object->vy);
    Put(static_cast<std::uint32_t>(object->timer), 4);
}

void GameDigest::AddTick(const GameApp& app) {
    tick.clear();
    Put(RandomState(), 4);
    for (const int value : {app.score, app.asteroidSpeed, app.asteroidsLeft, app.nextSaucerScore,
                            app.photonIndex, app.explosionIndex}) {
        Put(static_cast<std::uint32_t>(value), 4);
    }
    Put(app.running, 1);
    Object(app.ship);
    Put(static_cast<std::uint32_t>(app.ship->lives), 4);
    Put(static_cast<std::uint32_t>(app.ship->invulnerable), 4);
    PutDouble(app.ship->maxSpeed);
    Object(app.saucer);
    Put(static_cast<std::uint32_t>(app.saucer->speed), 4);
    Object(app.laser);
    Put(static_cast<std::uint32_t>(app.laser->charges), 4);
    Put(static_cast<std::uint32_t>(app.laser->recharge), 4);
    for (const CAsteroid* asteroid : app.asteroids) {
        Object(asteroid);
        if (asteroid != nullptr) Put(asteroid->small, 1);
    }
    for (const CPhoton* photon : app.photons) Object(photon);
    for (const CExplosion* debris : app.explosions) Object(debris);
    EVP_DigestUpdate(context->hash, tick.data(), tick.size());
}

std::string GameDigest::Hex() const {
    // A copy is finished, so that more ticks can still be added.
    EVP_MD_CTX* copy = EVP_MD_CTX_new();
    unsigned char digest[EVP_MAX_MD_SIZE];
    unsigned int size = 0;
    const bool done = copy != nullptr && EVP_MD_CTX_copy_ex(copy, context->hash) == 1 &&
                      EVP_DigestFinal_ex(copy, digest, &size) == 1;
    EVP_MD_CTX_free(copy);
    if (!done) throw std::runtime_error("cannot finish SHA-256");
    return hex::Lower(digest, size);
}
