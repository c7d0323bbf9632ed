// The day's board as answered, made once for each change of the day: the
// JSON and the page are bodies kept until the next verified verdict of their
// day, whichever process records it, each with a strong ETag.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <utility>
#include <vector>

#include "server/BoardStore.h"

class DayCache {
public:
    // Bodies kept at most; the least recently asked goes first. Every date
    // is a valid address, so the count is bounded, not the days.
    static constexpr std::size_t kMaxBodies = 64;

    struct Body {
        std::string text;
        std::string etag;  // "…", quotes included, as the header carries it
    };

    // Makes a body from the day's board (its top `boardSize`).
    using Render = std::function<std::string(const std::vector<board_store::BoardEntry>&)>;

    // `store` must outlive the cache.
    DayCache(BoardStore& store, int boardSize);

    // The body `variant` of `day` (e.g. "json", or a page with the date it
    // was made on, as the page's links change with the date): the one kept
    // while the day has not changed since, else rendered anew and kept.
    // Costs one DayVersion() when kept. Throws StoreError.
    std::shared_ptr<const Body> Get(std::uint32_t day, const std::string& variant,
                                    const Render& render);

private:
    struct Kept {
        std::int64_t version = 0;
        std::uint64_t lastUsed = 0;
        std::shared_ptr<const Body> body;
    };
    using Key = std::pair<std::uint32_t, std::string>;

    void Keep(const Key& key, std::int64_t version, std::shared_ptr<const Body> body);

    BoardStore& store;
    const int boardSize;
    std::mutex mutex;
    std::map<Key, Kept> kept;
    std::uint64_t uses = 0;
};
