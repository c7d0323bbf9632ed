// The daily board's HTTP API as it goes over the wire: its paths, query,
// headers, JSON field names and states. The server, the game's client, the
// tests' stand-in and client and the benchmarks all spell it from here.
#pragma once

#include <cstdint>
#include <string>

namespace board_api {

// POST with a replay file's bytes (kReplayType) and ?player=NAME: the
// submission's id and status (202).
constexpr const char* kSubmissionsPath = "/api/v1/submissions";
constexpr const char* kPlayerParam = "player";
constexpr const char* kReplayType = "application/x-korvessa-replay";
// GET + ID: a submission's status; + YYYYMMDD: a day's board as JSON.
constexpr const char* kSubmissionPrefix = "/api/v1/submissions/";
constexpr const char* kBoardPrefix = "/api/v1/boards/";
// GET + YYYYMMDD: a day's board as a web page; + ID + the replay file's
// extension: a submission's replay.
constexpr const char* kDayPagePrefix = "/daily/";
constexpr const char* kReplayPrefix = "/replays/";
// GET + ID: a submission's game played in the page; GET: today's field
// played in the page.
constexpr const char* kWatchPagePrefix = "/watch/";
constexpr const char* kPlayPagePath = "/play";
// The value of the Authorization header: the scheme, then the player's key.
constexpr const char* kAuthorizationScheme = "Bearer ";

// The fields of the answers' JSON objects.
constexpr const char* kId = "id";
constexpr const char* kStatus = "status";
constexpr const char* kPlayer = "player";
constexpr const char* kDay = "day";
constexpr const char* kScore = "score";
constexpr const char* kTicks = "ticks";
constexpr const char* kRank = "rank";
constexpr const char* kPlayers = "players";
constexpr const char* kReason = "reason";
constexpr const char* kError = "error";
constexpr const char* kEntries = "entries";
constexpr const char* kReplay = "replay";

// The values of kStatus.
constexpr const char* kPending = "pending";
constexpr const char* kVerified = "verified";
constexpr const char* kRejected = "rejected";

// The submissions' path with the player's name, which must already be
// escaped for a query.
inline std::string SubmitPath(const std::string& escapedPlayer) {
    return std::string(kSubmissionsPath) + "?" + kPlayerParam + "=" + escapedPlayer;
}

inline std::string SubmissionPath(const std::string& id) { return kSubmissionPrefix + id; }

inline std::string BoardPath(std::uint32_t day) { return kBoardPrefix + std::to_string(day); }

inline std::string DayPagePath(std::uint32_t day) { return kDayPagePrefix + std::to_string(day); }

inline std::string WatchPagePath(const std::string& id) { return kWatchPagePrefix + id; }

// With the replay file's extension, and so in korvessa_board.
std::string ReplayPath(const std::string& id);

// The Authorization header's value for `key`.
inline std::string Authorization(const std::string& key) { return kAuthorizationScheme + key; }

}  // namespace board_api
