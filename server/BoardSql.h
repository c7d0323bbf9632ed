// The statements both stores run, written once in PostgreSQL's notation:
// parameters are $1, $2 and so on (SqliteStore turns them into ?1, ?2).
// Every value from outside is a bound parameter, never part of the text.
#pragma once

#include <string>

namespace board_sql {

// The one table. `seqKey` and `blob` are the column types that differ: an
// auto-numbered key giving the order of arrival, and raw bytes.
inline std::string Schema(const char* seqKey, const char* blob) {
    const std::string columns =
        " id TEXT NOT NULL UNIQUE,"
        " player TEXT NOT NULL,"
        " day INTEGER NOT NULL,"
        " received_ms BIGINT NOT NULL,"
        " state TEXT NOT NULL DEFAULT 'pending',"
        " score INTEGER,"
        " ticks BIGINT,"
        " reason TEXT,"
        " lease_owner TEXT,"
        " lease_until BIGINT NOT NULL DEFAULT 0,"
        " attempts INTEGER NOT NULL DEFAULT 0,"
        " decided_ms BIGINT,";
    const std::string indexes =
        "CREATE INDEX IF NOT EXISTS submissions_queue ON submissions (seq)"
        " WHERE state = 'pending';"
        "CREATE INDEX IF NOT EXISTS submissions_day ON submissions (day, state, player);";
    return std::string("CREATE TABLE IF NOT EXISTS submissions (seq ") + seqKey + " PRIMARY KEY," +
           columns + " replay " + blob + " NOT NULL);" + indexes;
}

// Returns the new seq, or no row when the id is kept already.
constexpr const char* kAdd =
    "INSERT INTO submissions (id, player, day, received_ms, replay)"
    " VALUES ($1, $2, $3, $4, $5) ON CONFLICT (id) DO NOTHING RETURNING seq";

constexpr const char* kFind =
    "SELECT id, player, day, state, COALESCE(score, 0), COALESCE(ticks, 0),"
    " COALESCE(reason, '') FROM submissions WHERE id = $1";

constexpr const char* kReplay = "SELECT replay FROM submissions WHERE id = $1";

// $1 the worker, $2 the lease's end, $3 now. `lock` goes at the end of the
// inner select: PostgreSQL's row lock, so that processes taking jobs at the
// same moment each get another.
inline std::string Take(const char* lock) {
    return std::string(
               "UPDATE submissions SET lease_owner = $1, lease_until = $2,"
               " attempts = attempts + 1 WHERE seq = (SELECT seq FROM submissions"
               " WHERE state = 'pending' AND lease_until <= $3 ORDER BY turn, seq LIMIT 1 ") +
           lock + ") RETURNING seq, id, replay, attempts";
}

// $1 the lease's new end, $2 seq, $3 the worker.
constexpr const char* kRenew =
    "UPDATE submissions SET lease_until = $1"
    " WHERE seq = $2 AND state = 'pending' AND lease_owner = $3";

// $1 state, $2 score, $3 ticks, $4 reason, $5 now, $6 seq, $7 the worker.
constexpr const char* kFinish =
    "UPDATE submissions SET state = $1, score = $2, ticks = $3, reason = $4,"
    " decided_ms = $5, lease_owner = NULL"
    " WHERE seq = $6 AND state = 'pending' AND lease_owner = $7";

// Each player's best verified game of day $1, ties to the earlier one.
constexpr const char* kBestOfDay =
    "WITH best AS (SELECT id, player, score, ticks, seq, ROW_NUMBER() OVER"
    " (PARTITION BY player ORDER BY score DESC, seq) AS nth FROM submissions"
    " WHERE day = $1 AND state = 'verified') ";

// $1 the day, $2 how many.
inline std::string Board() {
    return std::string(kBestOfDay) +
           "SELECT id, player, score, ticks FROM best WHERE nth = 1"
           " ORDER BY score DESC, seq LIMIT $2";
}

// $1 the day, $2 the submission: the other players ahead of it, and all.
inline std::string Standing() {
    return std::string(kBestOfDay) +
           ", me AS (SELECT player, score, seq FROM submissions WHERE id = $2)"
           " SELECT (SELECT COUNT(*) FROM best, me WHERE best.nth = 1"
           " AND best.player <> me.player AND (best.score > me.score"
           " OR (best.score = me.score AND best.seq < me.seq))),"
           " (SELECT COUNT(*) FROM best WHERE nth = 1)";
}

// Columns added to the first table, each with its type: the game's digest
// once verified, the hash of the submitter's key ('' for none), the address
// it came from and its turn in the queue. A store adds those it lacks.
struct AddedColumn {
    const char* name;
    const char* type;
};
constexpr AddedColumn kAddedColumns[] = {{"digest", "TEXT"},
                                         {"key_hash", "TEXT NOT NULL DEFAULT ''"},
                                         {"address", "TEXT NOT NULL DEFAULT ''"},
                                         {"turn", "BIGINT NOT NULL DEFAULT 0"}};

// Run once the added columns are there. `names` keeps who owns each name
// (folded): the key hash of its first verified submission. The queue is
// taken by turn, copies are looked up by digest, an address's last turn by
// address.
constexpr const char* kOwnershipSchema =
    "CREATE TABLE IF NOT EXISTS names (name TEXT PRIMARY KEY, key_hash TEXT NOT NULL);"
    "CREATE INDEX IF NOT EXISTS submissions_turns ON submissions (turn, seq)"
    " WHERE state = 'pending';"
    "CREATE INDEX IF NOT EXISTS submissions_address ON submissions (address, turn)"
    " WHERE state = 'pending';"
    "CREATE INDEX IF NOT EXISTS submissions_digest ON submissions (day, digest)"
    " WHERE state = 'verified';";

// Right after kAdd, in its transaction: $1 the address, $2 the key hash, $3
// seq. Its turn is one past its address's last pending one, and never before
// the turn now being served (the lowest pending), so that a sender with a
// backlog waits behind its own games only.
constexpr const char* kQueueTurn =
    "UPDATE submissions SET address = $1, key_hash = $2, turn = (SELECT MAX(t) FROM"
    " (SELECT COALESCE(MAX(turn) + 1, 0) AS t FROM submissions"
    " WHERE state = 'pending' AND address = $1 AND seq <> $3"
    " UNION ALL SELECT COALESCE(MIN(turn), 0) FROM submissions"
    " WHERE state = 'pending' AND seq <> $3) AS turns) WHERE seq = $3";

// $1 the folded name: the key hash that owns it, or no row.
constexpr const char* kNameOwner = "SELECT key_hash FROM names WHERE name = $1";

// $1 the folded name, $2 the key hash of its first verified submission.
constexpr const char* kTakeName =
    "INSERT INTO names (name, key_hash) VALUES ($1, $2) ON CONFLICT (name) DO NOTHING";

// $1 seq: who sent it, the day and the key's hash.
constexpr const char* kClaim = "SELECT player, day, key_hash FROM submissions WHERE seq = $1";

// $1 the day, $2 a game's digest: a verified submission of that game.
constexpr const char* kCopyOf =
    "SELECT id FROM submissions WHERE day = $1 AND digest = $2 AND state = 'verified' LIMIT 1";

// $1 the digest, $2 seq.
constexpr const char* kSetDigest = "UPDATE submissions SET digest = $1 WHERE seq = $2";

}  // namespace board_sql
