// How many connections, and bodies being received, each client address and
// all of them together may hold at once: what keeps one client, or a few,
// from taking every place the server has.
#pragma once

#include <cstddef>
#include <mutex>
#include <string>
#include <unordered_map>

class ConnectionLimits {
public:
    struct Caps {
        std::size_t connections = 0;            // open at once, in all
        std::size_t connectionsPerAddress = 0;  // 0: no cap per address
        std::size_t bodies = 0;                 // bodies being received, in all
        std::size_t bodiesPerAddress = 0;
    };

    explicit ConnectionLimits(const Caps& caps);

    // Takes a place for a connection from `address`; false, taking nothing,
    // when there is none left. Safe from any thread, as are the others.
    bool Open(const std::string& address);
    // Gives back a place Open() gave.
    void Close(const std::string& address);

    // The same for a request body about to be received.
    bool BeginBody(const std::string& address);
    void EndBody(const std::string& address);

private:
    struct Count {
        std::size_t total = 0;
        std::unordered_map<std::string, std::size_t> byAddress;
    };
    bool Take(Count& count, const std::string& address, std::size_t cap, std::size_t perAddress);
    void Give(Count& count, const std::string& address);

    const Caps caps;
    std::mutex mutex;
    Count connections;
    Count bodies;
};
