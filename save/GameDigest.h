// One fingerprint for a whole game: what its rules keep after every tick,
// hashed in order, so that two files playing the same game (whatever their
// version string, their input runs or their format) digest the same.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

class CBaseObject;
class GameApp;

// Reads the game through its public members only and never touches the
// random generator's sequence: RandomState() reads where it stands without
// drawing. Left out is everything only drawing changes (the outlines as last
// drawn, the stars) and the held input itself, so the same game digests the
// same whatever GL, window or options it was played or verified under.
class GameDigest {
public:
    // SHA-256, written as 64 hex digits.
    static constexpr std::size_t kLength = 64;

    GameDigest();
    ~GameDigest();
    GameDigest(const GameDigest&) = delete;
    GameDigest& operator=(const GameDigest&) = delete;

    // Adds the state `app` is in after one tick.
    void AddTick(const GameApp& app);
    // The digest of the ticks added so far.
    std::string Hex() const;

private:
    void Put(std::uint64_t value, int bytes);
    void PutDouble(double value);
    void Object(const CBaseObject* object);

    std::string tick;  // one tick's bytes, reused
    struct Context;
    std::unique_ptr<Context> context;
};
