#include "server/DayCache.h"

#include <algorithm>

#include "server/Sha256.h"

namespace {

// 128 bits are plenty to tell two bodies apart.
constexpr std::size_t kEtagDigits = 32;

// An ETag of the body's own bytes: strong, and the same from every server
// on one database, whatever order they made it in.
std::string EtagOf(const std::string& text) { return "\"" + sha256::Hex(text, kEtagDigits) + "\""; }

}  // namespace

DayCache::DayCache(BoardStore& boardStore, int size) : store(boardStore), boardSize(size) {}

std::shared_ptr<const DayCache::Body> DayCache::Get(std::uint32_t day, const std::string& variant,
                                                    const Render& render) {
    const Key key{day, variant};
    // The version first: a verdict between it and the board read below
    // leaves a newer body under an older version, which the next request
    // makes again, never the other way round.
    const std::int64_t version = store.DayVersion(day);
    {
        std::lock_guard<std::mutex> lock(mutex);
        const auto found = kept.find(key);
        if (found != kept.end() && found->second.version == version) {
            found->second.lastUsed = ++uses;
            return found->second.body;
        }
    }
    auto body = std::make_shared<Body>();
    body->text = render(store.Board(day, boardSize));
    body->etag = EtagOf(body->text);
    Keep(key, version, body);
    return body;
}

void DayCache::Keep(const Key& key, std::int64_t version, std::shared_ptr<const Body> body) {
    std::lock_guard<std::mutex> lock(mutex);
    if (kept.count(key) == 0 && kept.size() >= kMaxBodies) {
        kept.erase(std::min_element(kept.begin(), kept.end(), [](const auto& a, const auto& b) {
            return a.second.lastUsed < b.second.lastUsed;
        }));
    }
    kept[key] = Kept{version, ++uses, std::move(body)};
}
