#include "server/ConnectionLimits.h"

ConnectionLimits::ConnectionLimits(const Caps& given) : caps(given) {}

bool ConnectionLimits::Open(const std::string& address) {
    return Take(connections, address, caps.connections, caps.connectionsPerAddress);
}

void ConnectionLimits::Close(const std::string& address) { Give(connections, address); }

bool ConnectionLimits::BeginBody(const std::string& address) {
    return Take(bodies, address, caps.bodies, caps.bodiesPerAddress);
}

void ConnectionLimits::EndBody(const std::string& address) { Give(bodies, address); }

bool ConnectionLimits::Take(Count& count, const std::string& address, std::size_t cap,
                            std::size_t perAddress) {
    const std::lock_guard<std::mutex> lock(mutex);
    if (count.total >= cap) return false;
    if (perAddress > 0) {
        std::size_t& held = count.byAddress[address];
        if (held >= perAddress) return false;
        held += 1;
    }
    count.total += 1;
    return true;
}

void ConnectionLimits::Give(Count& count, const std::string& address) {
    const std::lock_guard<std::mutex> lock(mutex);
    count.total -= 1;
    const auto held = count.byAddress.find(address);
    // Addresses holding nothing are forgotten, so that the map stays as
    // small as the connections open.
    if (held != count.byAddress.end() && --held->second == 0) count.byAddress.erase(held);
}
