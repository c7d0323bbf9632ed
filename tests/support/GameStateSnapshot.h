// Everything a tick can change in a GameApp, captured as bytes, so that two
// runs can be compared tick by tick.
#pragma once

#include <cstdint>
#include <string>

class CBaseObject;
class GameApp;

namespace testing_support {

class GameStateSnapshot {
public:
    // The game's fields and every object's, its outlines (model and as last
    // drawn) included.
    explicit GameStateSnapshot(const GameApp& app);

    bool operator==(const GameStateSnapshot& other) const { return bytes == other.bytes; }
    bool operator!=(const GameStateSnapshot& other) const { return bytes != other.bytes; }

    // FNV-1a of the bytes, for runs too long to keep every snapshot.
    std::uint64_t Hash() const;

private:
    template <typename... Values>
    void Put(const Values&... values) {
        (bytes.append(reinterpret_cast<const char*>(&values), sizeof values), ...);
    }
    void Object(const CBaseObject* object);

    std::string bytes;
};

}  // namespace testing_support
