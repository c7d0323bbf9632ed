#include "server/RateLimiter.h"

RateLimiter::RateLimiter(int limit) : perMinute(limit > 0 ? static_cast<std::size_t>(limit) : 0) {}

bool RateLimiter::Allow(const std::string& address, Clock::time_point now) {
    if (perMinute == 0) return true;
    std::lock_guard<std::mutex> lock(mutex);
    ForgetIdle(now);
    std::deque<Clock::time_point>& times = recent[address];
    while (!times.empty() && now - times.front() >= kWindow) times.pop_front();
    if (times.size() >= perMinute) return false;
    times.push_back(now);
    return true;
}

void RateLimiter::ForgetIdle(Clock::time_point now) {
    // Once a minute, drop the addresses quiet for a minute, so the map holds
    // only the last minute's senders however many came before.
    if (now - lastSweep < kWindow) return;
    lastSweep = now;
    for (auto it = recent.begin(); it != recent.end();) {
        if (it->second.empty() || now - it->second.back() >= kWindow) {
            it = recent.erase(it);
        } else {
            ++it;
        }
    }
}
