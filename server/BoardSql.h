// The statements both stores run, written once in PostgreSQL's notation:
// parameters are $1, $2 and so on (SqliteStore turns them into ?1, ?2).
// Every value from outside is a bound parameter, never part of the text.
#pragma once

#include <string>

namespace board_sql {

// The submissions. `seqKey` and `blob` are the column types that differ: an
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

// Each player's best verified game of each day, kept as a row by every
// verdict, so that ranking a day reads an index instead of every game; for
// each day a version bumped with each verified verdict (what a cache of the
// day's board asks) and the count of its players; and how many players' best
// is each score of the day, so that a rank adds up a few scores' counts
// instead of counting every player ahead.
constexpr const char* kRanksSchema =
    "CREATE TABLE IF NOT EXISTS best (day INTEGER NOT NULL, player TEXT NOT NULL,"
    " id TEXT NOT NULL, score INTEGER NOT NULL, ticks BIGINT NOT NULL,"
    " seq BIGINT NOT NULL, PRIMARY KEY (day, player));"
    "CREATE INDEX IF NOT EXISTS best_rank ON best (day, score DESC, seq);"
    "CREATE TABLE IF NOT EXISTS board_days (day INTEGER PRIMARY KEY,"
    " version BIGINT NOT NULL, players INTEGER NOT NULL);"
    "CREATE TABLE IF NOT EXISTS board_scores (day INTEGER NOT NULL, score INTEGER NOT NULL,"
    " players INTEGER NOT NULL, PRIMARY KEY (day, score));";

// Fills the new tables from the games a board of before them verified.
constexpr const char* kRanksFromSubmissions =
    "INSERT INTO best (day, player, id, score, ticks, seq)"
    " SELECT day, player, id, score, ticks, seq FROM (SELECT day, player, id, score, ticks,"
    " seq, ROW_NUMBER() OVER (PARTITION BY day, player ORDER BY score DESC, seq) AS nth"
    " FROM submissions WHERE state = 'verified') AS ranked WHERE nth = 1;"
    "INSERT INTO board_days (day, version, players)"
    " SELECT day, 1, COUNT(*) FROM best GROUP BY day;"
    "INSERT INTO board_scores (day, score, players)"
    " SELECT day, score, COUNT(*) FROM best GROUP BY day, score;";

// The steps of a verified verdict on the game with seq $1, in this order,
// in the verdict's transaction. The first locks the day's row, so
// that verdicts of one day, from any process, count its players one after
// another.
constexpr const char* kBumpDay =
    "INSERT INTO board_days (day, version, players)"
    " SELECT day, 1, 0 FROM submissions WHERE seq = $1"
    " ON CONFLICT (day) DO UPDATE SET version = board_days.version + 1";

constexpr const char* kCountNewPlayer =
    "UPDATE board_days SET players = players + 1"
    " WHERE day = (SELECT day FROM submissions WHERE seq = $1) AND NOT EXISTS"
    " (SELECT 1 FROM best, submissions AS game WHERE game.seq = $1"
    " AND best.day = game.day AND best.player = game.player)";

// A game that becomes its player's best moves them from the score of their
// former best, if any, to its own. Ties go to the earlier game.
constexpr const char* kScoreLeaves =
    "UPDATE board_scores SET players = players - 1 WHERE (day, score) IN"
    " (SELECT best.day, best.score FROM best, submissions AS game WHERE game.seq = $1"
    " AND best.day = game.day AND best.player = game.player AND (game.score > best.score"
    " OR (game.score = best.score AND game.seq < best.seq)))";

constexpr const char* kScoreJoins =
    "INSERT INTO board_scores (day, score, players)"
    " SELECT day, score, 1 FROM submissions AS game WHERE seq = $1 AND NOT EXISTS"
    " (SELECT 1 FROM best WHERE best.day = game.day AND best.player = game.player"
    " AND NOT (game.score > best.score OR (game.score = best.score AND game.seq < best.seq)))"
    " ON CONFLICT (day, score) DO UPDATE SET players = board_scores.players + 1";

constexpr const char* kKeepBest =
    "INSERT INTO best (day, player, id, score, ticks, seq)"
    " SELECT day, player, id, score, ticks, seq FROM submissions WHERE seq = $1"
    " ON CONFLICT (day, player) DO UPDATE SET id = excluded.id, score = excluded.score,"
    " ticks = excluded.ticks, seq = excluded.seq WHERE excluded.score > best.score"
    " OR (excluded.score = best.score AND excluded.seq < best.seq)";

// $1 the day; 0 for a day with no verified game.
constexpr const char* kDayVersion =
    "SELECT COALESCE((SELECT version FROM board_days WHERE day = $1), 0)";

// $1 the day, $2 how many.
inline std::string Board() {
    return "SELECT id, player, score, ticks FROM best WHERE day = $1"
           " ORDER BY score DESC, seq LIMIT $2";
}

// $1 the day, $2 the submission: the players ahead of it (those whose best
// scores more, those whose best ties and came earlier, less its player's
// own best when that is another game), and all.
inline std::string Standing() {
    return "WITH me AS (SELECT player, score, seq FROM submissions WHERE id = $2)"
           " SELECT COALESCE((SELECT SUM(players) FROM board_scores, me"
           " WHERE board_scores.day = $1 AND board_scores.score > me.score), 0)"
           " + (SELECT COUNT(*) FROM best, me WHERE best.day = $1"
           " AND best.score = me.score AND best.seq < me.seq)"
           " - (SELECT COUNT(*) FROM best, me WHERE best.day = $1 AND best.player = me.player"
           " AND best.id <> $2),"
           " COALESCE((SELECT players FROM board_days WHERE day = $1), 0)";
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
