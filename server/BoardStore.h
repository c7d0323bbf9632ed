// The board's database: the submissions, the queue of those still to verify,
// and the day's ranking. One interface, kept in SQLite or PostgreSQL.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

enum class SubmissionState { kPending, kVerified, kRejected };

// "pending", "verified" or "rejected": the words of the API and the database.
const char* SubmissionStateName(SubmissionState state);

// The state named by one of those words; pending for any other.
SubmissionState SubmissionStateFromName(const std::string& name);

// A replay as it arrived, already checked against the day's rules.
struct NewSubmission {
    std::string id;  // made by the server from the file's bytes
    std::string player;
    std::uint32_t day = 0;  // the replay's daily seed, YYYYMMDD
    std::string replay;     // the file's bytes
    std::int64_t receivedMs = 0;
    std::string address;  // the client's, whose turns in the queue it takes
    std::string keyHash;  // ownership::KeyHash of the player's key; empty for none
};

struct Submission {
    std::string id;
    std::string player;
    std::uint32_t day = 0;
    SubmissionState state = SubmissionState::kPending;
    std::int32_t score = 0;   // verified only
    std::uint32_t ticks = 0;  // verified only
    std::string reason;       // rejected only
};

// A pending submission handed to one worker until its lease runs out.
struct Job {
    std::int64_t seq = 0;  // the order of arrival
    std::string id;
    std::string replay;
    int attempts = 0;  // takes so far, this one included
};

// How a worker found a submission.
struct Verdict {
    bool verified = false;
    std::int32_t score = 0;
    std::uint32_t ticks = 0;
    std::string reason;  // why it was rejected
    std::string digest;  // verified: the game's GameDigest
};

namespace board_store {

// One line of a day's board: a player's best verified game.
struct BoardEntry {
    int rank = 0;
    std::string id;
    std::string player;
    std::int32_t score = 0;
    std::uint32_t ticks = 0;
};

}  // namespace board_store

// Where a verified submission stands on its day's board.
struct Standing {
    int rank = 0;     // 1 + the other players ahead of it
    int players = 0;  // players on the board that day
};

// Any failure of the database; the message is one line.
class StoreError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Every operation is safe to call from any thread at any time and is atomic;
// each throws StoreError when the database fails. Times are milliseconds
// since the epoch, given by the caller.
class BoardStore {
public:
    virtual ~BoardStore() = default;

    // Keeps a new pending submission. False, changing nothing, when one with
    // the same id is kept already.
    virtual bool Add(const NewSubmission& submission) = 0;

    virtual std::optional<Submission> Find(const std::string& id) = 0;

    // The replay file of a submission.
    virtual std::optional<std::string> Replay(const std::string& id) = 0;

    // Hands the pending submission that no live lease holds and whose turn
    // comes first (its address's turns, one per pending submission) to
    // `worker` until `nowMs + leaseMs`; nothing when there is none. A job
    // whose worker died is thus taken again once its lease has run out.
    virtual std::optional<Job> Take(const std::string& worker, std::int64_t nowMs,
                                    std::int64_t leaseMs) = 0;

    // Extends the lease of a job `worker` holds to `untilMs`, so that a long
    // verification keeps its job. False, changing nothing, when the lease is
    // no longer that worker's.
    virtual bool Renew(const Job& job, const std::string& worker, std::int64_t untilMs) = 0;

    // Records the verdict on a job `worker` took. False, changing nothing,
    // when the job is no longer pending under that worker's lease (it ran out
    // and another took the job): each submission is decided once. A verified
    // game is rejected instead when a game of the same digest is verified
    // that day already (ownership::kCopy), or when its name is another key's
    // (ownership::kNameTaken); otherwise its name becomes its key's, if it
    // has one and the name no owner. Decided atomically: of two copies, or
    // two keys taking one name, finishing at once, one wins.
    virtual bool Finish(const Job& job, const std::string& worker, const Verdict& verdict,
                        std::int64_t nowMs) = 0;

    // The best verified game of each player on `day`, best first, ties to the
    // earlier submission; at most `limit` of them. Read from rows each
    // verdict keeps, not ranked anew.
    virtual std::vector<board_store::BoardEntry> Board(std::uint32_t day, int limit) = 0;

    // Where a verified submission stands on its day.
    virtual Standing StandingOf(const Submission& submission) = 0;

    // A number that changes, in the same transaction, with every verified
    // verdict of `day`, whichever process records it: what a cache of the
    // day's board asks to know whether it is still the board. 0 for a day
    // with none.
    virtual std::int64_t DayVersion(std::uint32_t day) = 0;
    // The key hash that owns `foldedName` (ownership::FoldName); nothing
    // when no one does yet.
    virtual std::optional<std::string> NameOwner(const std::string& foldedName) = 0;
};
