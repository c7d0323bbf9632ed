// At most so many submissions from one address a minute.
#pragma once

#include <chrono>
#include <cstddef>
#include <deque>
#include <mutex>
#include <string>
#include <unordered_map>

class RateLimiter {
public:
    using Clock = std::chrono::steady_clock;
    static constexpr std::chrono::seconds kWindow{60};

    // `perMinute` 0 lets everything through.
    explicit RateLimiter(int perMinute);

    // Counts one submission from `address` at `now` and says whether it is
    // within the limit: no more than `perMinute` in the minute before it,
    // refused ones not counted. Safe from any thread.
    bool Allow(const std::string& address, Clock::time_point now = Clock::now());

private:
    void ForgetIdle(Clock::time_point now);

    const std::size_t perMinute;
    std::mutex mutex;
    std::unordered_map<std::string, std::deque<Clock::time_point>> recent;
    Clock::time_point lastSweep{};
};
